#include "grid_input.h"

#include "calculation/grids.h"
#include "calculation/number_text.h"
#include "lists/split_fields.h"
#include "localization/translate.h"

namespace mainwindow {

using calculation::GridModel;
using calculation::kCostColumn;
using calculation::kLabelColumn;
using calculation::kLengthColumn;
using calculation::kPriorityColumn;
using calculation::kQtyColumn;
using lists::splitLines;
using lists::trimBlanks;

namespace {

bool isPositiveInteger(const QString& text)
{
    const std::optional<int32_t> value = calculation::parseInteger(text);
    return value && *value > 0;
}

// Spreadsheet cells come separated by TABs only; empty cells between two TABs disappear.
QStringList tabFields(const QString& line)
{
    QStringList fields;
    QString rest = trimBlanks(line);
    for (qsizetype at = rest.indexOf(u'\t'); at >= 0; at = rest.indexOf(u'\t')) {
        fields.append(trimBlanks(rest.left(at)));
        rest = trimBlanks(rest.mid(at + 1));
    }
    fields.append(rest);
    return fields;
}

int appendEmptyRow(GridModel& grid)
{
    grid.setRows(grid.rows() + 1);
    return grid.rows() - 1;
}

int firstUnlabelledRow(const GridModel& grid)
{
    for (int row = GridModel::kFirstDataRow; row < grid.rows(); ++row)
        if (grid.cell(kLabelColumn, row).isEmpty())
            return row;
    return -1;
}

} // namespace

CellMove nextCellOnEnter(InputGrid kind, int column, int row, int rowCount)
{
    const int lastColumn = kind == InputGrid::Parts ? kQtyColumn : kPriorityColumn;
    if (column < lastColumn)
        return {column + 1, row, false};
    return {kLabelColumn, row + 1, row >= rowCount - 1};
}

namespace {

bool refusesTypedText(InputGrid kind, int column, int row, const QString& text)
{
    if (row < GridModel::kFirstDataRow || text.isEmpty())
        return false;
    const bool integerColumn = kind == InputGrid::Parts
                                   ? column == kQtyColumn
                                   : column == kLengthColumn || column == kQtyColumn || column == kCostColumn;
    return integerColumn && !calculation::parseInteger(text);
}

} // namespace

QString acceptTypedText(InputGrid kind, int column, int row, const QString& text)
{
    return refusesTypedText(kind, column, row, text) ? QString() : text;
}

QString typedTextRefusal(InputGrid kind, int column, int row, const QString& text)
{
    if (!refusesTypedText(kind, column, row, text))
        return QString();
    // The column by its header word, as the grid shows it.
    using localization::translatable;
    const char* const headers[] = {translatable("Label"), translatable("Length"), translatable("Qty"),
                                   translatable("Cost")};
    return localization::translate("%1 takes whole numbers").arg(localization::translate(headers[column]));
}

int pasteRows(GridModel& grid, InputGrid kind, const QString& clipboardText)
{
    const QStringList lines = splitLines(clipboardText);
    if (lines.size() < 2)
        return 0;
    int target = firstUnlabelledRow(grid);
    if (target < 0)
        target = appendEmptyRow(grid);
    const qsizetype maxFields = kind == InputGrid::Parts ? 3 : 4;
    int pasted = 0;
    for (const QString& line : lines) {
        const QStringList fields = tabFields(line);
        if (fields.size() > maxFields)
            continue;
        // Field i belongs in column i: label, length, quantity, cost.
        grid.setCell(kLabelColumn, target, fields[0]);
        for (int column = kLengthColumn; column < fields.size(); ++column)
            if (isPositiveInteger(fields[column]))
                grid.setCell(column, target, fields[column]);
        if (kind == InputGrid::Stocks) {
            if (fields.size() <= kCostColumn)
                grid.setCell(kCostColumn, target, QStringLiteral("0"));
            grid.setCell(kPriorityColumn, target, localization::translate("Yes"));
        }
        target = appendEmptyRow(grid);
        ++pasted;
    }
    return pasted;
}

} // namespace mainwindow
