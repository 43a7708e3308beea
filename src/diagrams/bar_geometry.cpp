#include "bar_geometry.h"

#include "palette.h"

#include "calculation/number_text.h"
#include "localization/translate.h"

#include <algorithm>

namespace diagrams {

using localization::translate;

namespace {

QString lengthText(const PlanDiagrams& plan, double value)
{
    return calculation::formatLength(value, plan.formatIndex);
}

BarDiagram barOf(const DiagramSource& source, const optimizer::strPattern& pattern)
{
    const optimizer::strStock& stock = source.stocks[size_t(pattern.stock)];
    BarDiagram bar;
    bar.times = pattern.times;
    bar.stockLabel = QString::fromStdString(stock.label);
    bar.stockLengthText = QString::fromStdString(stock.lengthText);
    bar.barLength = stock.length;

    // 1 - pieces from the bar's start, a blade width between each two
    double position = 0;
    for (int32_t e = 0; e < pattern.entries; ++e) {
        const double length = source.parts[size_t(pattern.part[e])].length;
        for (int32_t n = 0; n < pattern.count[e]; ++n) {
            if (!bar.segments.empty()) {
                bar.segments.push_back({SegmentKind::Cut, position, source.bladeWidth, -1});
                position += source.bladeWidth;
            }
            bar.segments.push_back({SegmentKind::Piece, position, length, pattern.part[e]});
            position += length;
        }
    }
    // 2 - the left-over and the stub take the rest; a waste rounded to 0 for a remainder below one unit
    // still leaves that remainder on the bar
    const double rest = std::max(0.0, bar.barLength - position);
    const double stub = std::min(rest, double(source.stubLength));
    bar.segments.push_back({SegmentKind::LeftOver, position, rest - stub, -1});
    bar.segments.push_back({SegmentKind::Stub, position + rest - stub, stub, -1});
    bar.leftText = calculation::formatLength(pattern.waste, source.formatIndex);
    return bar;
}

} // namespace

PlanDiagrams buildDiagrams(const DiagramSource& source, const QString& reuseText,
                           const std::vector<QString>& remnantLabels)
{
    PlanDiagrams plan;
    plan.formatIndex = source.formatIndex;
    for (const optimizer::strPart& part : source.parts)
        plan.parts.push_back({QString::fromStdString(part.label), QString::fromStdString(part.lengthText)});
    std::vector<bool> used(source.parts.size(), false);
    for (size_t k = 0; k < source.plan.patterns.size(); ++k) {
        const optimizer::strPattern& pattern = source.plan.patterns[k];
        BarDiagram bar = barOf(source, pattern);
        bar.number = int(k) + 1;
        if (!calculation::leftLenShade(bar.leftText, reuseText, bar.leftShade))
            bar.leftShade = calculation::LeftLenShade::Grey;
        if (k < remnantLabels.size())
            bar.remnantLabel = remnantLabels[k];
        plan.longestBar = std::max(plan.longestBar, bar.barLength);
        if (bar.stockLengthText.size() > plan.longestLengthText.size())
            plan.longestLengthText = bar.stockLengthText;
        for (int32_t e = 0; e < pattern.entries; ++e)
            if (pattern.count[e] > 0)
                used[size_t(pattern.part[e])] = true;
        plan.bars.push_back(std::move(bar));
    }
    for (size_t kind = 0; kind < used.size(); ++kind)
        if (used[kind])
            plan.legendKinds.push_back(int32_t(kind));
    if (!plan.legendKinds.empty() && plan.legendKinds.back() >= kDistinctStyles)
        plan.legendKinds.clear();
    return plan;
}

PlanDiagrams diagramsOfTable(const DiagramSource& source, const calculation::GridModel& layout,
                             const QString& reuseText)
{
    std::vector<QString> labels;
    for (size_t k = 0; k < source.plan.patterns.size(); ++k)
        labels.push_back(
            layout.cell(calculation::kLayoutLeftLabelColumn, calculation::GridModel::kFirstDataRow + int(k)));
    return buildDiagrams(source, reuseText, labels);
}

std::vector<CutStep> cutList(const BarDiagram& bar)
{
    std::vector<CutStep> cuts;
    double beyond = 0;
    for (const Segment& segment : bar.segments) {
        if (segment.kind == SegmentKind::Piece)
            cuts.push_back({segment.start + segment.length, segment.partKind});
        else if (segment.kind == SegmentKind::LeftOver || segment.kind == SegmentKind::Stub)
            beyond += segment.length;
    }
    if (!cuts.empty() && beyond <= 0)
        cuts.pop_back();
    return cuts;
}

QString cutListText(const PlanDiagrams& plan, const BarDiagram& bar)
{
    QStringList cuts;
    for (const CutStep& cut : cutList(bar))
        cuts << lengthText(plan, cut.position) + u' ' + plan.parts[size_t(cut.partKind)].label;
    return translate("Cuts at: %1").arg(cuts.join(QStringLiteral(", ")));
}

QString segmentTip(const PlanDiagrams& plan, const BarDiagram& bar, const Segment& segment)
{
    switch (segment.kind) {
    case SegmentKind::Piece: {
        const PartKey& part = plan.parts[size_t(segment.partKind)];
        return translate("%1, length %2, from %3 to %4")
            .arg(part.label, part.lengthText, lengthText(plan, segment.start),
                 lengthText(plan, segment.start + segment.length));
    }
    case SegmentKind::Cut:
        return translate("Saw cut at %1").arg(lengthText(plan, segment.start));
    case SegmentKind::LeftOver:
        return bar.remnantLabel.isEmpty() ? translate("Left over %1").arg(bar.leftText)
                                          : translate("Remnant %1, length %2").arg(bar.remnantLabel, bar.leftText);
    case SegmentKind::Stub:
        return translate("Stub %1").arg(lengthText(plan, segment.length));
    }
    return {};
}

} // namespace diagrams
