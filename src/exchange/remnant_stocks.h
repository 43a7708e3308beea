#pragma once

#include "calculation/grid_model.h"
#include "lists/text_file.h"

#include <QStringList>
#include <QStringView>

namespace exchange {

// A remnant list written to a file: how it went and how many lines it holds, for the count message.
struct RemnantSave {
    lists::FileResult result;
    int count = 0;
};

// "Save Left": one stock line for every stock row whose "Left Qty" is neither blank nor "0", with that
// many bars; before a calculation there are none.
QStringList leftStockLines(const calculation::GridModel& stocks);
// "Exp Left": one stock line for each run of layout rows with the same remnant label: the label, the
// run's first "Left Len", the sum of its quantities, cost 0 and priority "Yes", to be cut first next time.
QStringList remnantStockLines(const calculation::GridModel& layout);

// The lists above written whole, replacing the file only when everything was written.
RemnantSave saveLeftStocks(const calculation::GridModel& stocks, const QString& path);
RemnantSave exportRemnants(const calculation::GridModel& layout, const QString& path);

// "Imp Left": appends the stock lines of a file below the last row with a length and adds them to the
// totals row; the grid still ends with a blank row. Every line is checked first, so a bad line appends
// nothing and the grid and its totals stay as they were.
lists::FileResult importLeftStocks(calculation::GridModel& stocks, const QString& path);
lists::FileResult appendStockText(calculation::GridModel& stocks, QStringView text, const QString& path);

} // namespace exchange
