#include "cut_list.h"

#include "calculation/number_text.h"
#include "calculation/tab_fields.h"
#include "localization/translate.h"

namespace diagrams {

using localization::translate;

std::vector<CutListEntry> cutListEntries(const PlanDiagrams& plan, const BarDiagram& bar)
{
    std::vector<CutListEntry> entries;
    for (const CutStep& cut : cutList(bar)) {
        const PartKey& part = plan.parts[size_t(cut.partKind)];
        entries.push_back({int(entries.size()) + 1, calculation::formatLength(cut.position, plan.formatIndex),
                           part.label, part.lengthText});
    }
    return entries;
}

QString cutListHeading(const BarDiagram& bar)
{
    QString heading = QStringLiteral("%1   %2  %3   × %4   %5 %6")
                          .arg(bar.number)
                          .arg(bar.stockLabel, bar.stockLengthText)
                          .arg(bar.times)
                          .arg(translate("Left Len"), bar.leftText);
    if (!bar.remnantLabel.isEmpty())
        heading += QStringLiteral("  ") + bar.remnantLabel;
    return heading;
}

QStringList cutListLines(const PlanDiagrams& plan)
{
    QStringList lines{
        calculation::tabLine({translate("No."), translate("Qty"), translate("Label"), translate("Length"),
                              translate("Cut"), translate("Position"), translate("Piece"), translate("Length")})};
    for (const BarDiagram& bar : plan.bars) {
        const QStringList pattern{QString::number(bar.number), QString::number(bar.times), bar.stockLabel,
                                  bar.stockLengthText};
        for (const CutListEntry& cut : cutListEntries(plan, bar))
            lines << calculation::tabLine(
                pattern + QStringList{QString::number(cut.number), cut.position, cut.piece, cut.pieceLength});
    }
    return lines;
}

} // namespace diagrams
