#pragma once

#include "calculation/file_result.h"
#include "sheet_cells.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace spreadsheet {

enum class WorkbookKind { Xls, Xlsx, Ods, Csv };

// The kind that a file name's extension names, if any (case ignored).
std::optional<WorkbookKind> kindFromPath(const QString& path);

// The cell texts of a workbook's active sheet (the one the workbook marks as active, else the first;
// .xls workbooks always give their first sheet, as FreeXL does not tell the active one). Numbers become
// their decimal text (numberText), texts stay as they are, formulas give their stored result, dates,
// booleans and error values give texts such as "2024-01-31", "TRUE" and "#DIV/0!". The bytes are
// untrusted: anything that is no readable workbook of the kind fails with "Cant start Excel" and the
// reader's reason, and leaves the sheet empty. The libraries read in a child process, so a crash or a hang
// of theirs (stopped after 30 s) is such a failure too.
calculation::FileResult readWorkbook(QByteArrayView bytes, WorkbookKind kind, SheetCells& sheet);
// The same for a file; a file that can't be read fails as the list loaders fail ("Cannot open file %1").
calculation::FileResult readWorkbookFile(const QString& path, WorkbookKind kind, SheetCells& sheet);

// The largest workbook that is read.
inline constexpr qint64 kMaxWorkbookBytes = 64 * 1024 * 1024;

} // namespace spreadsheet
