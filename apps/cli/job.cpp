#include "cli/job.h"

#include "calculation/grids.h"
#include "exchange/remnant_stocks.h"
#include "lists/list_files.h"
#include "localization/translate.h"
#include "printouts/print_modes.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <fcntl.h>
#include <iterator>
#include <optional>
#include <unistd.h>

namespace cli {

using localization::translate;

InputFile::InputFile(const std::string& bytes) : m_shown(QFile::decodeName(QByteArray::fromStdString(bytes)))
{
    m_path = m_shown;
    if (QFile::encodeName(m_shown).toStdString() == bytes)
        return;
    // Without blocking on a pipe: the loader refuses what is no regular file.
    m_fd = ::open(bytes.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd >= 0)
        m_path = QStringLiteral("/dev/fd/%1").arg(m_fd);
}

InputFile::~InputFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Job::Job()
    : parts(calculation::createPartsGrid()), stocks(calculation::createStocksGrid()),
      layout(calculation::createLayoutGrid())
{
}

Job::~Job() = default;

namespace {

// The workbook formats by name or, without one, by the file's extension; the list loaders number them
// from their Excel entry on.
std::optional<int> workbookFormat(const std::string& name, const QString& path, int excelFormat)
{
    static const char* const names[] = {"xls", "xlsx", "ods", "csv"};
    const std::string suffix = QFileInfo(path).suffix().toLower().toStdString();
    for (int i = 0; i < int(std::size(names)); ++i) {
        if (name == names[i] || (name.empty() && suffix == names[i]))
            return excelFormat + i;
    }
    return std::nullopt;
}

int partsFormat(const std::string& name, const QString& path)
{
    if (const std::optional<int> workbook = workbookFormat(name, path, lists::kPartsExcel))
        return *workbook;
    if (name == "text")
        return lists::kPartsText;
    if (name == "sfcad")
        return lists::kPartsSfcad;
    if (name == "mst")
        return lists::kPartsMst;
    if (name == "pipe")
        return lists::kPartsPipe;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("nbt"))
        return lists::kPartsSfcad;
    if (suffix == QLatin1String("dst"))
        return lists::kPartsPipe;
    return lists::kPartsText;
}

int stocksFormat(const std::string& name, const QString& path)
{
    if (const std::optional<int> workbook = workbookFormat(name, path, lists::kStocksExcel))
        return *workbook;
    if (name == "text")
        return lists::kStocksText;
    if (name == "pipe")
        return lists::kStocksPipe;
    return QFileInfo(path).suffix().toLower() == QLatin1String("stk") ? lists::kStocksPipe : lists::kStocksText;
}

// A file's load told: false after the message when it can't be read, its notice of unused text said.
bool loaded(const InputFile& file, const lists::FileResult& result, Output& output)
{
    if (!result.ok) {
        output.message(file.named(result.message()));
        return false;
    }
    if (!result.notice.isEmpty())
        output.message(file.named(result.notice));
    return true;
}

} // namespace

void takeProjectSettings(const document::ProjectSettings& project, Options& options)
{
    auto fromProject = [&](const char* option) { return !options.isGiven(option); };
    if (fromProject("--blade"))
        options.blade = project.blade.toStdString();
    if (fromProject("--stub"))
        options.stub = project.stub.toStdString();
    if (fromProject("--reuse"))
        options.reuse = project.reuse.toStdString();
    // Out-of-range values are shown by the window's controls at their nearest end.
    if (fromProject("--quality"))
        options.quality = std::clamp(project.quality, 1, 12);
    if (fromProject("--display"))
        options.display = std::clamp(project.display, 0, 2);
    if (fromProject("--format"))
        options.format = std::clamp(project.format, 0, 4);
    options.change = options.change || (fromProject("--change") && project.change);
    options.cost = options.cost || (fromProject("--cost") && project.cost);
    if (fromProject("--engine") && !project.exact)
        options.engine = "genetic";
}

calculation::CalcControls calcControls(const Options& options)
{
    calculation::CalcControls controls;
    controls.bladeWidth = QString::fromStdString(options.blade);
    controls.stubLength = QString::fromStdString(options.stub);
    controls.reuseLength = QString::fromStdString(options.reuse);
    controls.qualityLevel = options.quality;
    controls.changeOptimization = options.change;
    controls.costOptimization = options.cost;
    controls.displayMode = options.display;
    controls.formatIndex = options.format;
    controls.geneticSearch = options.engine != "exact";
    controls.exactSearch = options.engine != "genetic";
    controls.exactSeconds = options.timeLimit;
    return controls;
}

document::ProjectSettings projectToSave(const Job& job, const Options& options)
{
    document::ProjectSettings project = job.project;
    project.partFile = QFileInfo(project.partFile).absoluteFilePath();
    project.stockFile = QFileInfo(project.stockFile).absoluteFilePath();
    project.quality = options.quality;
    project.change = options.change;
    project.cost = options.cost;
    project.blade = QString::fromStdString(options.blade);
    project.stub = QString::fromStdString(options.stub);
    project.reuse = QString::fromStdString(options.reuse);
    project.format = options.format;
    project.display = options.display;
    project.exact = options.engine != "genetic";
    if (!options.title.empty())
        project.title = QString::fromStdString(options.title);
    if (!options.unit.empty())
        project.unit = QString::fromStdString(options.unit);
    if (!options.printMode.empty())
        project.print = int(printouts::printModeNames().indexOf(QString::fromStdString(options.printMode)));
    return project;
}

std::variant<std::unique_ptr<Job>, int> loadJob(Options& options, Output& output)
{
    auto job = std::make_unique<Job>();
    auto input = [&](const std::string& bytes) -> const InputFile& {
        return *job->inputs.emplace_back(std::make_unique<InputFile>(bytes));
    };
    const InputFile& projectFile = input(options.projectPath);
    const InputFile& partsFile = input(options.partsPath);
    const InputFile& stocksFile = input(options.stocksPath);
    // The project first; lists and options of the command line then take the place of its own.
    if (!options.projectPath.empty()) {
        // A list given here takes the place of the project's, which is then not read: it may be missing.
        const document::ProjectLists lists{options.partsPath.empty(), options.stocksPath.empty()};
        const document::ProjectLoad load =
            document::LoadProjectFile(projectFile.path(), *job->parts, *job->stocks, lists);
        if (!loaded(projectFile, load.result, output))
            return kExitUsage;
        job->project = load.settings;
        if (lists.parts)
            job->readFiles << load.settings.partFile;
        if (lists.stocks)
            job->readFiles << load.settings.stockFile;
        takeProjectSettings(load.settings, options);
    }
    if (!options.partsPath.empty()) {
        if (!loaded(
                partsFile,
                lists::LoadPartsFile(*job->parts, partsFile.path(), partsFormat(options.partsFormat, partsFile.path())),
                output))
            return kExitUsage;
        job->project.partFile = partsFile.shown();
    }
    if (!options.stocksPath.empty()) {
        if (!loaded(stocksFile,
                    lists::LoadStocksFile(*job->stocks, stocksFile.path(),
                                          stocksFormat(options.stocksFormat, stocksFile.path())),
                    output))
            return kExitUsage;
        job->project.stockFile = stocksFile.shown();
    }
    for (const std::string& path : options.importLeftPaths) {
        const InputFile& file = input(path);
        if (!loaded(file, exchange::importLeftStocks(*job->stocks, file.path()), output))
            return kExitUsage;
    }
    for (const std::unique_ptr<InputFile>& file : job->inputs)
        job->readFiles << file->path();
    job->readFiles.removeAll(QString());
    job->controls = calcControls(options);
    return job;
}

} // namespace cli
