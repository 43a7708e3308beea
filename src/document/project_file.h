#pragma once

#include "calculation/grid_model.h"
#include "document/list_file.h"
#include "lists/text_file.h"

#include <QString>
#include <QStringList>

namespace document {

// What a project keeps of a job, as the window's controls hold it; the defaults are a fresh window's.
struct ProjectSettings {
    QString partFile;
    QString stockFile;
    int quality = 5;
    bool change = false;
    bool cost = false;
    QString blade = QStringLiteral("0");
    QString stub = QStringLiteral("0");
    QString reuse = QStringLiteral("15");
    int format = 0;
    QString unit = QStringLiteral("mm");
    QString title = QStringLiteral("Barvik pipe cuting project");
    int display = 2;
    int print = 1;
    QString times = QStringLiteral("2");
    // "Exact Search"; projects written before it was kept have 14 lines and leave it ticked.
    bool exact = true;
};

// The steps of opening a project, in the order they are restored; each needs the ones before it.
enum class ProjectStep {
    PartsList,
    StocksList,
    Quality,
    Change,
    Cost,
    Lengths,
    Format,
    Texts,
    Choices,
    Times,
    Exact,
    Done
};

// An opened project: the settings of every step before `reached`, the first step that was not restored
// (Done when all were). A step that failed is told in the result with the project's line. A list's path
// is set once its step has begun, so a list that can't be read is still named.
struct ProjectLoad {
    ProjectSettings settings;
    ProjectStep reached = ProjectStep::PartsList;
    lists::FileResult result;

    bool restored(ProjectStep step) const { return step < reached; }
};

// The 15 lines of a project file.
QStringList projectLines(const ProjectSettings& settings);
// The refusal to save a project one of whose values holds a line break; ok when none does.
lists::FileResult projectLineBreak(const ProjectSettings& settings, const QString& path);
// Replaces the file only when everything was written; refuses as projectLineBreak does, keeping the old file.
lists::FileResult SaveProjectFile(const ProjectSettings& settings, const QString& path);

// Which of a project's lists are loaded. One that the caller takes from elsewhere is not read at all: its
// grid stays as it is, its path as written, and a file that is missing does not stop the project.
struct ProjectLists {
    bool parts = true;
    bool stocks = true;
};

// Reads a project and loads its two lists into the grids, each with the reader its file's name calls for
// (formatForPath), through read; then the settings, in order, up to the first step that fails. A list that
// can't be read leaves its grid as it was. The list paths in the settings are those opened (see
// resolveListPath).
ProjectLoad LoadProjectFile(const QString& path, calculation::GridModel& parts, calculation::GridModel& stocks,
                            ProjectLists lists = {}, const ListReader& read = readList);
// The paths of the parts and stocks lists that opening the project would read (resolved as it resolves
// them); none when the project can't be read.
QStringList projectListPaths(const QString& path);

// A project's list path: as written when a file is there, else a file of the same name beside the
// project file when there is one (a job's folder copied to another machine), else as written.
QString resolveListPath(const QString& listPath, const QString& projectPath);

} // namespace document
