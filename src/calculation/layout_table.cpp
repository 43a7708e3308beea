#include "layout_table.h"

#include "grids.h"
#include "number_text.h"

#include "localization/translate.h"

#include <cmath>

namespace calculation {

using localization::translate;

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

// The pieces of one bar, written the way the display mode asks: "A(1200) x 3 B(800)", "1200 x 3 800" or
// "A x 3 B".
QString layoutText(const optimizer::strPattern& pattern, const std::vector<optimizer::strPart>& partList,
                   int displayMode)
{
    QStringList pieces;
    for (int32_t e = 0; e < pattern.entries; ++e) {
        if (pattern.count[e] == 0)
            continue;
        const optimizer::strPart& part = partList[size_t(pattern.part[e])];
        QString piece;
        if (displayMode == 0)
            piece = fromStd(part.label) + u'(' + fromStd(part.lengthText) + u')';
        else if (displayMode == 1)
            piece = fromStd(part.lengthText);
        else
            piece = fromStd(part.label);
        if (pattern.count[e] > 1)
            piece += QStringLiteral(" x ") + QString::number(pattern.count[e]);
        pieces << piece;
    }
    return pieces.join(u' ');
}

void advance(ProgressSink* progress)
{
    if (progress)
        progress->step();
}

} // namespace

LayoutTotals layoutTotals(const optimizer::strGroup& plan, const std::vector<optimizer::strStock>& stockList)
{
    LayoutTotals totals;
    for (const optimizer::strPattern& pattern : plan.patterns) {
        const optimizer::strStock& stock = stockList[size_t(pattern.stock)];
        totals.usedLength = float(totals.usedLength + (long double)pattern.times * stock.length);
        totals.cost = float(totals.cost + (long double)pattern.times * stock.cost);
        totals.leftLength = float(totals.leftLength + (long double)pattern.times * pattern.waste);
        totals.bars += pattern.times;
    }
    if (totals.usedLength != 0)
        totals.ratio = (double(totals.usedLength) - totals.leftLength) / totals.usedLength * 100;
    return totals;
}

QString remnantPrefix(const QDateTime& when)
{
    return when.toString(QStringLiteral("ddHHmm")) + QStringLiteral("YL");
}

void fillLayoutTable(const optimizer::strGroup& plan, const std::vector<optimizer::strPart>& partList,
                     const std::vector<optimizer::strStock>& stockList, float reuseLength, const QString& prefix,
                     const LayoutStyle& style, GridModel& layout, GridModel& stocks, ProgressSink* progress)
{
    // 1 - picture and counters
    const QString picture = lengthPicture(style.formatIndex);
    int label = 1;
    int row = 0;

    // 2 - one row per pattern, in plan order
    for (const optimizer::strPattern& pattern : plan.patterns) {
        const optimizer::strStock& stock = stockList[size_t(pattern.stock)];
        ++row;
        const int r = row + 1;
        layout.setRows(row + 2);
        layout.setCell(kLayoutNoColumn, r, QString::number(row));
        layout.setCell(kLayoutLabelColumn, r, fromStd(stock.label));
        layout.setCell(kLayoutLengthColumn, r, fromStd(stock.lengthText));
        layout.setCell(kLayoutQtyColumn, r, QString::number(pattern.times));
        layout.setCell(kLayoutLeftLenColumn, r, formatPicture(pattern.waste, picture));
        layout.setCell(kLayoutPiecesColumn, r, layoutText(pattern, partList, style.displayMode));
        if (pattern.waste >= reuseLength) {
            // Neighbouring remnants of one stock kind with the same length share one label.
            const bool sameAsAbove = label > 1 && r > GridModel::kFirstDataRow &&
                                     layout.cell(kLayoutLeftLenColumn, r) == layout.cell(kLayoutLeftLenColumn, r - 1) &&
                                     layout.cell(kLayoutLabelColumn, r) == layout.cell(kLayoutLabelColumn, r - 1);
            if (sameAsAbove) {
                layout.setCell(kLayoutLeftLabelColumn, r, layout.cell(kLayoutLeftLabelColumn, r - 1));
            } else {
                layout.setCell(kLayoutLeftLabelColumn, r, prefix + QString::number(label));
                ++label;
            }
        } else {
            layout.setCell(kLayoutLeftLabelColumn, r, QString());
        }
    }
    advance(progress);

    // 4, 5 - the totals row; a plan that uses no length has no ratio to divide out
    const LayoutTotals totals = layoutTotals(plan, stockList);
    layout.setCell(kLayoutLengthColumn, GridModel::kTotalsRow, formatPicture(totals.usedLength, picture));
    layout.setCell(kLayoutQtyColumn, GridModel::kTotalsRow, QString::number(totals.bars));
    layout.setCell(kLayoutLeftLenColumn, GridModel::kTotalsRow, formatPicture(totals.leftLength, picture));
    // The translated words become part of the pictures, as the totals text has always been made.
    const QString costText = formatPicture(totals.cost, translate("Total cost= ") + picture + QStringLiteral("  "));
    const QString ratioText = formatPicture(totals.ratio, translate("Ratio") + QStringLiteral("= ##0.00##%"));
    layout.setCell(kLayoutPiecesColumn, GridModel::kTotalsRow, costText + ratioText);
    advance(progress);

    // 7 - whole bars left, beside the stock rows the run read
    int64_t leftBars = 0;
    for (size_t s = 0; s < stockList.size(); ++s) {
        advance(progress);
        const int32_t count = s < plan.stockLeft.size() ? plan.stockLeft[s] : 0;
        stocks.setCell(kLeftQtyColumn, stockList[s].row, QString::number(count));
        leftBars += count;
    }
    stocks.setCell(kLeftQtyColumn, GridModel::kTotalsRow, QString::number(leftBars));
    advance(progress);
}

void clearLayoutResult(GridModel& layout, GridModel& stocks, const std::vector<optimizer::strStock>& stockList)
{
    layout.setRows(GridModel::kFirstDataRow + 1);
    layout.clearCells(GridModel::kFirstDataRow, 0, kLayoutColumns - 1);
    for (int column = kLayoutLengthColumn; column <= kLayoutPiecesColumn; ++column)
        layout.setCell(column, GridModel::kTotalsRow, QString());
    for (const optimizer::strStock& stock : stockList)
        stocks.setCell(kLeftQtyColumn, stock.row, QString());
    stocks.setCell(kLeftQtyColumn, GridModel::kTotalsRow, QString());
}

bool leftLenShade(const QString& cellText, const QString& reuseText, LeftLenShade& shade)
{
    shade = LeftLenShade::Grey;
    if (cellText.isEmpty())
        return true;
    const std::optional<float> value = parseNumber(cellText);
    if (!value)
        return false;
    if (*value < 0.001f) {
        shade = LeftLenShade::Cream;
        return true;
    }
    const std::optional<int32_t> reuse = parseInteger(reuseText);
    if (!reuse)
        return false;
    if (*value >= *reuse)
        shade = LeftLenShade::Green;
    return true;
}

} // namespace calculation
