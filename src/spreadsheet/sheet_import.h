#pragma once

#include "calculation/file_result.h"
#include "calculation/grid_model.h"
#include "sheet_cells.h"
#include "workbook_reader.h"

namespace spreadsheet {

// Replace the parts grid (label, length, quantity from sheet columns 1 to 3) or the stocks grid (and the
// cost from column 4, the priority from column 5) with the rows of a sheet, from row 1 down to its last
// row, and rewrite the totals; the grid then ends with one blank data row. Only wholly empty rows are
// skipped. Every row is checked first: a blank, error or unreadable label, length, quantity or cost, a
// formula without a stored result, a quantity that is no whole number or a length or cost that is no
// number refuses the whole sheet, and the message names the file and the sheet row. A priority "Yes" or
// "No" (translated) is taken, an empty one counts as "Yes". Control characters in labels become spaces;
// the result's notice tells that, other priority words, and a first sheet read in place of the active
// one. path names the file in messages.
calculation::FileResult ImportPartsSheet(calculation::GridModel& parts, const SheetCells& sheet, const QString& path);
calculation::FileResult ImportStocksSheet(calculation::GridModel& stocks, const SheetCells& sheet, const QString& path);

// The imports of a workbook file's active sheet; a workbook that can't be read leaves the grid as it was.
calculation::FileResult ImportPartsWorkbook(calculation::GridModel& parts, const QString& path, WorkbookKind kind);
calculation::FileResult ImportStocksWorkbook(calculation::GridModel& stocks, const QString& path, WorkbookKind kind);

// Replaces TAB, CR, LF and the other C0 control characters (and DEL) by spaces; true when any was there.
bool replaceControlCharacters(QString& text);

} // namespace spreadsheet
