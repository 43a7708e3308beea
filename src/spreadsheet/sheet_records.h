#pragma once

#include "sheet_cells.h"
#include "workbook_reader.h"

#include <string>

namespace spreadsheet::detail {

// A sheet read by the reader program comes back as records: a kind byte, then its fields in host byte
// order. 'F' u8: the workbook can't be read, for this ReadFailure; 'N' u32: the row count; 'S' u32 sheets,
// text: the first of that many sheets was read; 'C' u32 row, u8 column, u8 CellKind, text: one cell that is
// not empty, rows and columns from 1. A text is a u32 length and UTF-8.
std::string encodeSheet(ReadFailure read, const SheetCells& sheet);
// Records that don't add up (a reader that died while writing) fail as a damaged workbook.
ReadFailure decodeSheet(const std::string& records, SheetCells& sheet);

} // namespace spreadsheet::detail
