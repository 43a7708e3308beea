#pragma once

#include "cli/options.h"
#include "cli/output.h"

#include "calculation/calculation_run.h"
#include "calculation/grid_model.h"
#include "document/project_file.h"

#include <QString>

#include <memory>
#include <variant>
#include <vector>

namespace cli {

// A file named on the command line, as Qt can reach it. Qt reads file names as UTF-8, and a name that is not
// valid UTF-8 does not survive that: such a file is opened here by its bytes and reached through /dev/fd.
class InputFile {
public:
    explicit InputFile(const std::string& bytes);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const QString& path() const { return m_path; }
    const QString& shown() const { return m_shown; }
    // A message about the file, naming it as the user wrote it.
    QString named(QString message) const { return message.replace(m_path, m_shown); }

private:
    QString m_shown;
    QString m_path;
    int m_fd = -1;
};

// A job as the command line and its project give it: the loaded grids, the settings in effect and the
// files it was read from.
struct Job {
    Job();
    ~Job();

    std::unique_ptr<calculation::GridModel> parts;
    std::unique_ptr<calculation::GridModel> stocks;
    std::unique_ptr<calculation::GridModel> layout;
    // The project read, its lists and settings replaced by those of the command line.
    document::ProjectSettings project;
    calculation::CalcControls controls;
    std::vector<std::unique_ptr<InputFile>> inputs;
    // Every file the job was read from, the project's lists included: none of them may be written.
    QStringList readFiles;
};

// The options with what the project gives for those the command line does not name.
void takeProjectSettings(const document::ProjectSettings& project, Options& options);
// The run's controls from the options in effect.
calculation::CalcControls calcControls(const Options& options);
// The project of the job as --save-project writes it: the lists as absolute paths, the settings in effect.
document::ProjectSettings projectToSave(const Job& job, const Options& options);

// Loads the project, the lists and the remnant imports that the options name (the options then hold the
// settings in effect), or the exit status after a message on the output.
std::variant<std::unique_ptr<Job>, int> loadJob(Options& options, Output& output);

} // namespace cli
