#include "grid_editing.h"

#include "calculation/grids.h"
#include "calculation/number_text.h"
#include "localization/translate.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>

namespace mainwindow {

using calculation::GridModel;
using calculation::kCostColumn;
using calculation::kLabelColumn;
using calculation::kLengthColumn;
using calculation::kPriorityColumn;
using calculation::kQtyColumn;

namespace {

constexpr int kTotals = GridModel::kTotalsRow;

std::optional<int32_t> checkedProduct(int64_t a, int64_t b)
{
    const int64_t product = a * b;
    if (product < std::numeric_limits<int32_t>::min() || product > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return int32_t(product);
}

// New total = old total - value of the row × q, rounded to a float like every total.
std::optional<float> reducedTotal(const GridModel& grid, int column, int row, int32_t qty)
{
    const std::optional<float> total = calculation::parseNumber(grid.cell(column, kTotals));
    const std::optional<float> value = calculation::parseNumber(grid.cell(column, row));
    if (!total || !value)
        return std::nullopt;
    return float(double(*total) - double(*value) * qty);
}

void correctTotals(GridModel& grid, InputGrid kind, int row)
{
    const QString qtyText = grid.cell(kQtyColumn, row);
    if (qtyText.isEmpty())
        return;
    const std::optional<int32_t> qty = calculation::parseInteger(qtyText);
    const std::optional<int32_t> totalQty = calculation::parseInteger(grid.cell(kQtyColumn, kTotals));
    if (!qty || !totalQty)
        return;
    const bool stocks = kind == InputGrid::Stocks;
    const std::optional<float> length = reducedTotal(grid, kLengthColumn, row, *qty);
    const std::optional<float> cost = stocks ? reducedTotal(grid, kCostColumn, row, *qty) : 0.0f;
    if (!length || !cost)
        return;
    grid.setCell(kLengthColumn, kTotals, calculation::formatTotal(*length));
    grid.setCell(kQtyColumn, kTotals, QString::number(int64_t(*totalQty) - *qty));
    if (stocks)
        grid.setCell(kCostColumn, kTotals, calculation::formatTotal(*cost));
}

} // namespace

void addRow(GridModel& grid, InputGrid kind)
{
    const int row = grid.rows();
    grid.setRows(row + 1);
    if (kind == InputGrid::Stocks)
        grid.setCell(kPriorityColumn, row, localization::translate("Yes"));
}

bool deleteRow(GridModel& grid, InputGrid kind, int row)
{
    if (grid.rows() <= GridModel::kFirstDataRow || row < GridModel::kFirstDataRow || row >= grid.rows())
        return false;
    correctTotals(grid, kind, row);
    return grid.removeRows(row, 1);
}

int deleteRows(GridModel& grid, InputGrid kind, QList<int> rows)
{
    // From the bottom up, so that the rows still to go keep their numbers.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    int removed = 0;
    for (int row : rows)
        removed += deleteRow(grid, kind, row) ? 1 : 0;
    return removed;
}

void clearCells(GridModel& grid, const QModelIndexList& cells)
{
    for (const QModelIndex& cell : cells)
        if (cell.row() >= GridModel::kFirstDataRow && (grid.flags(cell) & Qt::ItemIsEditable))
            grid.setCell(cell.column(), cell.row(), QString());
}

QString cellsText(const GridModel& grid, const QModelIndexList& cells)
{
    if (cells.isEmpty())
        return QString();
    int top = cells.first().row();
    int bottom = top;
    int left = cells.first().column();
    int right = left;
    for (const QModelIndex& cell : cells) {
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        QStringList line;
        for (int column = left; column <= right; ++column)
            line.append(grid.cell(column, row));
        text += line.join(u'\t') + u'\n';
    }
    return text;
}

void deleteAll(GridModel& grid, InputGrid kind)
{
    const int lastColumn = kind == InputGrid::Parts ? kQtyColumn : kPriorityColumn;
    grid.setRows(GridModel::kFirstDataRow + 1);
    grid.clearCells(GridModel::kFirstDataRow, kLabelColumn, lastColumn);
    grid.clearCells(kTotals, kLengthColumn, kind == InputGrid::Parts ? kQtyColumn : kCostColumn);
}

void multiplyQuantities(GridModel& parts, const QString& multiplier)
{
    // 1 - the multiplier, taken as it is (0 and negative numbers included)
    const std::optional<int32_t> k = calculation::parseInteger(multiplier);
    if (!k)
        return;
    // 2 - every quantity that is filled in
    for (int row = GridModel::kFirstDataRow; row < parts.rows(); ++row) {
        const QString text = parts.cell(kQtyColumn, row);
        if (text.isEmpty())
            continue;
        const std::optional<int32_t> qty = calculation::parseInteger(text);
        const std::optional<int32_t> product = qty ? checkedProduct(*qty, *k) : std::nullopt;
        if (!product)
            return;
        parts.setCell(kQtyColumn, row, QString::number(*product));
    }
    // 3 - total length, in double precision
    const std::optional<float> totalLength = calculation::parseNumber(parts.cell(kLengthColumn, kTotals));
    if (!totalLength)
        return;
    parts.setCell(kLengthColumn, kTotals, calculation::formatTotal(double(*totalLength) * *k));
    // 4 - total quantity
    const std::optional<int32_t> totalQty = calculation::parseInteger(parts.cell(kQtyColumn, kTotals));
    const std::optional<int32_t> product = totalQty ? checkedProduct(*totalQty, *k) : std::nullopt;
    if (product)
        parts.setCell(kQtyColumn, kTotals, QString::number(*product));
}

void retranslatePriorities(GridModel& stocks, const QString& oldYes, const QString& oldNo, const QString& newYes,
                           const QString& newNo)
{
    for (int row = GridModel::kFirstDataRow; row < stocks.rows(); ++row) {
        const QString word = stocks.cell(kPriorityColumn, row);
        if (word.isEmpty())
            continue;
        if (word == oldYes)
            stocks.setCell(kPriorityColumn, row, newYes);
        else if (word == oldNo)
            stocks.setCell(kPriorityColumn, row, newNo);
    }
}

} // namespace mainwindow
