#pragma once

#include "calculation/grid_model.h"
#include "lists/text_file.h"
#include "spreadsheet/workbook_reader.h"

#include <optional>

namespace lists {

// Source formats: the position of the file type in the open dialogs (from 1); a project's lists use 0.
inline constexpr int kPartsProject = 0;
inline constexpr int kPartsText = 1;
inline constexpr int kPartsSfcad = 2;
inline constexpr int kPartsMst = 3;
inline constexpr int kPartsPipe = 4;
inline constexpr int kPartsExcel = 5;
inline constexpr int kPartsXlsx = 6;
inline constexpr int kPartsOds = 7;
inline constexpr int kPartsCsv = 8;
inline constexpr int kStocksProject = 0;
inline constexpr int kStocksText = 1;
inline constexpr int kStocksPipe = 2;
inline constexpr int kStocksExcel = 3;
inline constexpr int kStocksXlsx = 4;
inline constexpr int kStocksOds = 5;
inline constexpr int kStocksCsv = 6;

// The workbook kind that a source format of the parts or stocks open dialog names, if it names one.
std::optional<spreadsheet::WorkbookKind> partsWorkbookKind(int format);
std::optional<spreadsheet::WorkbookKind> stocksWorkbookKind(int format);

// Fill the parts or stocks grid from a list file, or from a workbook's active sheet for the workbook
// formats (Excel, Excel 2007+, OpenDocument, CSV) and rewrite its totals row; the grid then ends with one
// empty data row. An empty path does nothing. A file that can't be opened leaves the grid untouched; a
// bad line stops the load there with the rows read so far and the totals row as it was. Only regular files
// of at most 16 MB in UTF-8 are read.
FileResult LoadPartsFile(calculation::GridModel& parts, const QString& path, int format);
FileResult LoadStocksFile(calculation::GridModel& stocks, const QString& path, int format);
// The same loads on a file's text already read; the path only names the file in messages. Text that a
// line holds beyond its layout's fields, and Priority words other than "Yes" and "No", are loaded and
// listed in the result's notice.
FileResult LoadPartsText(calculation::GridModel& parts, QStringView text, int format, const QString& path);
FileResult LoadStocksText(calculation::GridModel& stocks, QStringView text, const QString& path);

// The five texts of a stock line: label, length, quantity, cost, priority.
struct StockFields {
    QString label;
    QString length;
    QString qty;
    QString cost;
    QString priority;
};

// A stock line's fields (at least three) completed as short lines are meant: no cost is a free bar, no
// priority means "Yes".
StockFields completeStockFields(const QStringList& fields);
// A stock list line: the texts joined by TABs, an empty cost written as "0".
QString stockLine(const StockFields& stock);
// A total of lengths or costs as the lists keep it: in a 32-bit float.
float addToTotal(float total, float value, int32_t qty);

// Write one tab-separated line per data row with a label; cells are written as they stand.
FileResult SavePartsFile(const calculation::GridModel& parts, const QString& path);
FileResult SaveStocksFile(const calculation::GridModel& stocks, const QString& path);

} // namespace lists
