#pragma once

#include "grid_editing.h"

namespace mainwindow {

// Where Enter moves the focus: one cell right, or from the last column of a row (parts "Qty", stocks
// "Priority") to column 0 of the next row, adding a row when the focus was in the last one.
struct CellMove {
    int column;
    int row;
    bool addsRow;
};
CellMove nextCellOnEnter(InputGrid kind, int column, int row, int rowCount);

// The text a cell keeps while it is being typed into: in the number columns that must hold integers
// (parts "Qty"; stocks "Length", "Qty", "Cost") a text that isn't one is removed at once.
QString acceptTypedText(InputGrid kind, int column, int row, const QString& text);
// Why acceptTypedText() removed a text, briefly, for the status bar ("Qty takes whole numbers"); empty when
// the text stands.
QString typedTextRefusal(InputGrid kind, int column, int row, const QString& text);

// Pastes rows copied from a spreadsheet: TAB-separated fields, at least two lines. Lines go into the
// first data row without a label and then into rows added at the end; a line with too many fields is
// ignored. Number cells take only positive integers. The totals row is not touched. Returns the number
// of lines pasted.
int pasteRows(calculation::GridModel& grid, InputGrid kind, const QString& clipboardText);

} // namespace mainwindow
