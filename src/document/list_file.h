#pragma once

#include "calculation/file_result.h"
#include "calculation/grid_model.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace spreadsheet {
class SheetCells;
}

namespace document {

enum class ListKind { Parts, Stocks };

// The file a list was read from or saved to: its path, the source format it was read with (that of the
// open dialogs; 0 for the text layout), and the lines of the grid as it stood then, as the list saver
// writes them. No path: a list typed by hand.
struct ListFile {
    QString path;
    int format = 0;
    QStringList image;

    bool operator==(const ListFile&) const = default;
};

// The lines a list file holds of a grid: one per data row with a label, as the list savers write them. Two
// grids with the same image are the same list.
QStringList listImage(const calculation::GridModel& grid, ListKind kind);

// The source format that a file's name calls for: a workbook by its extension, SFCAD by ".nbt", any other
// name the text layout.
int formatForPath(ListKind kind, const QString& path);
// Whether reading the file by its name (as a project does) reads it the way it was read.
bool readsBackByName(ListKind kind, const ListFile& file);
// Whether Save may write the list over its file: only a list read in the text layout; a workbook or a
// foreign layout is never overwritten with a text list.
bool savesInPlace(ListKind kind, const ListFile& file);

// Fills the grid from a list file in the given source format, or does nothing: a file that can't be read
// or has a bad line leaves rows, totals and all as they were.
calculation::FileResult readList(calculation::GridModel& grid, ListKind kind, const QString& path, int format);
// How a command reads a list into a grid, as readList does; the window passes one that takes the workbooks
// it has already read off the user-interface thread.
using ListReader =
    std::function<calculation::FileResult(calculation::GridModel&, ListKind, const QString& path, int format)>;
// Fills the grid from a workbook's sheet already read, or does nothing when the sheet is refused.
calculation::FileResult importSheet(calculation::GridModel& grid, ListKind kind, const spreadsheet::SheetCells& sheet,
                                    const QString& path);
// A list file as the program would read it in the given source format (the text layout by default); an
// image that is empty when the file can't be read.
ListFile readListFile(ListKind kind, const QString& path, int format = 0);
// Writes the grid as a text list; the file is replaced only when it was written whole.
calculation::FileResult saveList(const calculation::GridModel& grid, ListKind kind, const QString& path);

// The totals row as the rows add up: total length, quantity and (stocks) cost of the rows with a quantity,
// summed in 32-bit floats as a calculation does; a text that is no number counts as 0. Without such a row
// the totals are empty.
void writeListTotals(calculation::GridModel& grid, ListKind kind);

} // namespace document
