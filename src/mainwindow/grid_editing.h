#pragma once

#include "calculation/grid_model.h"

#include <QString>

namespace mainwindow {

enum class InputGrid { Parts, Stocks };

// "+": one row at the end; a new stock row starts with the translated "Yes" as its priority.
void addRow(calculation::GridModel& grid, InputGrid kind);

// "-": removes a data row and takes its length, quantity and cost out of the totals row. The totals
// stay as they are when any number involved doesn't convert. Returns false when nothing was removed.
bool deleteRow(calculation::GridModel& grid, InputGrid kind, int row);

// "-" and Delete Rows with several rows selected: removes each of them, as deleteRow does. Returns the number
// of rows removed.
int deleteRows(calculation::GridModel& grid, InputGrid kind, QList<int> rows);

// Delete: empties the cells given that the user may edit (data rows, not "Left Qty").
void clearCells(calculation::GridModel& grid, const QModelIndexList& cells);

// Copy: the rectangle of cells around those given, as a spreadsheet pastes them: TAB between cells, a line
// feed after each row.
QString cellsText(const calculation::GridModel& grid, const QModelIndexList& cells);

// "X": one empty data row and empty totals. The stocks grid keeps its "Left Qty" cells.
void deleteAll(calculation::GridModel& grid, InputGrid kind);

// Multiplies every part quantity and both totals by the multiplier text. Stops silently at the first
// text that doesn't convert (or a product that no longer fits a quantity), keeping what was changed.
void multiplyQuantities(calculation::GridModel& parts, const QString& multiplier);

// After a language change: Priority cells holding the old words get the new ones, so the calculation
// still reads them as "Yes" and "No".
void retranslatePriorities(calculation::GridModel& stocks, const QString& oldYes, const QString& oldNo,
                           const QString& newYes, const QString& newNo);

} // namespace mainwindow
