#pragma once

#include "calculation/file_result.h"
#include "sheet_cells.h"

#include <string>

namespace spreadsheet::detail {

// A sheet read in a child process comes back as records: a kind byte, then its fields in host byte
// order. 'F' text: the workbook can't be read, for this reason; 'N' u32: the row count; 'T' u32 row,
// u16 column, text: one non-empty cell, rows and columns from 1. A text is a u32 length and UTF-8.
std::string encodeSheet(const calculation::FileResult& read, const SheetCells& sheet);
// Records that don't add up (a reader that died while writing) fail as a damaged workbook.
calculation::FileResult decodeSheet(const std::string& records, SheetCells& sheet);

} // namespace spreadsheet::detail
