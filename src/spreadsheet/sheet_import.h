#pragma once

#include "calculation/file_result.h"
#include "calculation/grid_model.h"
#include "sheet_cells.h"
#include "workbook_reader.h"

namespace spreadsheet {

// Replace the parts grid (label, length, quantity from sheet columns 1 to 3) or the stocks grid (and the
// cost from column 4) with the rows of a sheet, from row 1 down to its last row, and rewrite the totals;
// the grid then ends with one blank data row. A row whose label, length or quantity is empty is skipped.
// Every row is checked first: on a quantity that is no whole number, or a length or cost that is no
// number (a stock's empty cost included), nothing is imported and the message names the sheet row.
calculation::FileResult ImportPartsSheet(calculation::GridModel& parts, const SheetCells& sheet);
calculation::FileResult ImportStocksSheet(calculation::GridModel& stocks, const SheetCells& sheet);

// The imports of a workbook file's active sheet; a workbook that can't be read leaves the grid as it was.
calculation::FileResult ImportPartsWorkbook(calculation::GridModel& parts, const QString& path, WorkbookKind kind);
calculation::FileResult ImportStocksWorkbook(calculation::GridModel& stocks, const QString& path, WorkbookKind kind);

} // namespace spreadsheet
