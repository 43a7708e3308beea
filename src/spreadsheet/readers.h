#pragma once

// The readers behind readWorkbook, one per library; each fills the sheet or fails with the reason for the
// user, and never throws.

#include "calculation/file_result.h"
#include "sheet_cells.h"

#include <QByteArrayView>
#include <QString>

namespace spreadsheet::detail {

// "Cant start Excel" with the reason the workbook library gave.
calculation::FileResult cantStart(const QString& reason);

calculation::FileResult readXlsFile(const QString& path, SheetCells& sheet);
// Orcus reads .xlsx (ods false) and .ods (ods true).
calculation::FileResult readOrcusWorkbook(QByteArrayView bytes, bool ods, SheetCells& sheet);
calculation::FileResult readCsv(QByteArrayView bytes, SheetCells& sheet);

} // namespace spreadsheet::detail
