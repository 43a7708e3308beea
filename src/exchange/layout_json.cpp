#include "layout_json.h"

#include "calculation/layout_table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <numeric>

namespace exchange {

using calculation::GridModel;

namespace {

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

} // namespace

QByteArray layoutJson(const optimizer::strGroup& plan, const std::vector<optimizer::strPart>& partList,
                      const std::vector<optimizer::strStock>& stockList, const GridModel& layout, double seconds,
                      const QJsonObject& extra)
{
    QJsonArray patterns;
    for (size_t k = 0; k < plan.patterns.size(); ++k) {
        const optimizer::strPattern& pattern = plan.patterns[k];
        const optimizer::strStock& stock = stockList[size_t(pattern.stock)];
        const int row = GridModel::kFirstDataRow + int(k);
        QJsonArray pieces;
        for (int32_t e = 0; e < pattern.entries; ++e) {
            const optimizer::strPart& part = partList[size_t(pattern.part[e])];
            pieces.append(QJsonObject{{QStringLiteral("label"), text(part.label)},
                                      {QStringLiteral("lengthText"), text(part.lengthText)},
                                      {QStringLiteral("count"), pattern.count[e]}});
        }
        patterns.append(QJsonObject{
            {QStringLiteral("no"), int(k) + 1},
            {QStringLiteral("stockLabel"), text(stock.label)},
            {QStringLiteral("stockLength"), double(stock.length)},
            {QStringLiteral("qty"), pattern.times},
            {QStringLiteral("leftLen"), double(pattern.waste)},
            {QStringLiteral("layout"), layout.cell(calculation::kLayoutPiecesColumn, row)},
            {QStringLiteral("leftLabel"), layout.cell(calculation::kLayoutLeftLabelColumn, row)},
            {QStringLiteral("pieces"), pieces},
        });
    }
    const calculation::LayoutTotals totals = calculation::layoutTotals(plan, stockList);
    const QJsonObject totalsObject{
        {QStringLiteral("usedLength"), double(totals.usedLength)},
        {QStringLiteral("bars"), double(totals.bars)},
        {QStringLiteral("leftLength"), double(totals.leftLength)},
        {QStringLiteral("cost"), double(totals.cost)},
        {QStringLiteral("ratio"), totals.ratio},
    };
    // Stock rows in the order of the grid, not of the optimizer's longest-first list.
    std::vector<size_t> order(stockList.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return stockList[a].row < stockList[b].row; });
    QJsonArray stocks;
    for (size_t s : order)
        stocks.append(QJsonObject{{QStringLiteral("label"), text(stockList[s].label)},
                                  {QStringLiteral("leftQty"), s < plan.stockLeft.size() ? plan.stockLeft[s] : 0}});
    QJsonObject root{{QStringLiteral("patterns"), patterns},
                     {QStringLiteral("totals"), totalsObject},
                     {QStringLiteral("stocks"), stocks},
                     {QStringLiteral("seconds"), seconds}};
    for (auto member = extra.begin(); member != extra.end(); ++member)
        root.insert(member.key(), member.value());
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace exchange
