#include "remnant_stocks.h"

#include "calculation/grids.h"
#include "calculation/layout_table.h"
#include "calculation/number_text.h"
#include "lists/ignored_text.h"
#include "lists/list_files.h"
#include "lists/split_fields.h"
#include "localization/translate.h"

#include <optional>
#include <vector>

namespace exchange {

using calculation::GridModel;
using calculation::kCostColumn;
using calculation::kLabelColumn;
using calculation::kLeftQtyColumn;
using calculation::kLengthColumn;
using calculation::kPriorityColumn;
using calculation::kQtyColumn;
using lists::FileResult;
using localization::translate;

namespace {

// A line of an imported list that passed every check.
struct ImportedStock {
    lists::StockFields texts;
    int32_t qty;
    float length;
    float cost;
};

RemnantSave writeRemnants(const QStringList& lines, const QString& path)
{
    return {lists::writeTextLines(path, lines), int(lines.size())};
}

} // namespace

QStringList leftStockLines(const GridModel& stocks)
{
    QStringList lines;
    for (int row = GridModel::kFirstDataRow; row < stocks.rows(); ++row) {
        const QString left = stocks.cell(kLeftQtyColumn, row);
        const QString trimmed = lists::trimBlanks(left);
        if (trimmed.isEmpty() || trimmed == QLatin1String("0"))
            continue;
        lines.append(lists::stockLine({stocks.cell(kLabelColumn, row), stocks.cell(kLengthColumn, row), left,
                                       stocks.cell(kCostColumn, row), stocks.cell(kPriorityColumn, row)}));
    }
    return lines;
}

QStringList remnantStockLines(const GridModel& layout)
{
    QStringList lines;
    const QString yes = translate("Yes");
    QString runLabel;
    QString runLength;
    qint64 runQty = 0;
    auto endRun = [&] {
        if (!runLabel.isEmpty())
            lines.append(lists::stockLine({runLabel, runLength, QString::number(runQty), QString(), yes}));
    };
    for (int row = GridModel::kFirstDataRow; row < layout.rows(); ++row) {
        const QString label = layout.cell(calculation::kLayoutLeftLabelColumn, row);
        if (label.isEmpty())
            continue;
        const int32_t qty = calculation::parseInteger(layout.cell(calculation::kLayoutQtyColumn, row)).value_or(0);
        if (label == runLabel) {
            runQty += qty;
            continue;
        }
        endRun();
        runLabel = label;
        runLength = layout.cell(calculation::kLayoutLeftLenColumn, row);
        runQty = qty;
    }
    endRun();
    return lines;
}

RemnantSave saveLeftStocks(const GridModel& stocks, const QString& path)
{
    return writeRemnants(leftStockLines(stocks), path);
}

RemnantSave exportRemnants(const GridModel& layout, const QString& path)
{
    return writeRemnants(remnantStockLines(layout), path);
}

FileResult importLeftStocks(GridModel& stocks, const QString& path)
{
    QString text;
    if (const FileResult read = lists::readTextFile(path, text); !read.ok)
        return read;
    return appendStockText(stocks, text, path);
}

FileResult appendStockText(GridModel& stocks, QStringView text, const QString& path)
{
    // 1 - every line checked before the grid changes.
    std::vector<ImportedStock> imported;
    lists::IgnoredText ignored;
    const QString yes = translate("Yes");
    const QString no = translate("No");
    lists::LineWalker lines(text);
    QStringView lineText;
    for (int lineNumber = 1; lines.next(lineText); ++lineNumber) {
        const QStringList fields = lists::SplitFields(lineText);
        if (fields.isEmpty())
            continue;
        auto refuse = [&](const QString& message) { return lists::fileFailure(message, path, lineNumber); };
        if (fields.size() <= kQtyColumn)
            return refuse(translate("the line holds %1 field(s), but a stock needs a label, a length and a quantity")
                              .arg(fields.size()));
        const lists::StockFields texts = lists::completeStockFields(fields);
        const std::optional<int32_t> qty = calculation::parseInteger(texts.qty);
        if (!qty)
            return refuse(translate("the quantity \"%1\" is not a whole number").arg(calculation::excerpt(texts.qty)));
        const std::optional<float> length = calculation::parseNumber(texts.length);
        if (!length)
            return refuse(translate("the length \"%1\" is not a number").arg(calculation::excerpt(texts.length)));
        const std::optional<float> cost = calculation::parseNumber(texts.cost);
        if (!cost)
            return refuse(translate("the cost \"%1\" is not a number").arg(calculation::excerpt(texts.cost)));
        if (texts.priority != yes && texts.priority != no)
            ignored.addPriority(lineNumber, texts.priority);
        if (fields.size() > kPriorityColumn + 1)
            ignored.addExtraFields(lineNumber, fields.mid(kPriorityColumn + 1));
        imported.push_back({texts, *qty, *length, *cost});
    }

    // 2 - below the last row with a length; the blank rows after it stay at the end, at least one.
    int lastUsed = stocks.rows() - 1;
    while (lastUsed > GridModel::kHeaderRow && stocks.cell(kLengthColumn, lastUsed).isEmpty())
        --lastUsed;
    const int blankRows = std::max(1, stocks.rows() - 1 - lastUsed);
    stocks.setRows(lastUsed + 1 + int(imported.size()) + blankRows);

    float totalLength = calculation::parseNumber(stocks.cell(kLengthColumn, GridModel::kTotalsRow)).value_or(0);
    qint64 totalQty = calculation::parseInteger(stocks.cell(kQtyColumn, GridModel::kTotalsRow)).value_or(0);
    float totalCost = calculation::parseNumber(stocks.cell(kCostColumn, GridModel::kTotalsRow)).value_or(0);
    int row = lastUsed + 1;
    for (const ImportedStock& stock : imported) {
        stocks.setCell(kLabelColumn, row, stock.texts.label);
        stocks.setCell(kLengthColumn, row, stock.texts.length);
        stocks.setCell(kQtyColumn, row, stock.texts.qty);
        stocks.setCell(kCostColumn, row, stock.texts.cost);
        stocks.setCell(kPriorityColumn, row, stock.texts.priority);
        totalLength = lists::addToTotal(totalLength, stock.length, stock.qty);
        totalCost = lists::addToTotal(totalCost, stock.cost, stock.qty);
        totalQty += stock.qty;
        ++row;
    }
    stocks.setCell(kLengthColumn, GridModel::kTotalsRow, calculation::formatTotal(totalLength));
    stocks.setCell(kQtyColumn, GridModel::kTotalsRow, QString::number(totalQty));
    stocks.setCell(kCostColumn, GridModel::kTotalsRow, calculation::formatTotal(totalCost));
    stocks.clearCells(stocks.rows() - 1, kLabelColumn, kPriorityColumn);
    return {true, QString(), ignored.message(path), path, 0, 0, 0};
}

} // namespace exchange
