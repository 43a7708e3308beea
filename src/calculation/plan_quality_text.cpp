#include "plan_quality_text.h"

#include "number_text.h"

#include "localization/translate.h"

#include <cmath>

namespace calculation {

using localization::translate;

QString planQualityText(const exact::PlanQuality& quality)
{
    if (!quality.boundKnown)
        return QString();
    if (quality.optimal || (quality.barsMeasure && quality.excess < 0.5)) {
        if (quality.barsMeasure)
            return translate("Optimal: no plan uses fewer bars.");
        if (quality.costMeasure)
            return translate("Optimal: no plan costs less.");
        return translate("Optimal: no plan leaves less waste.");
    }
    const QString percent = QString::number(quality.excessPercent, 'f', 1);
    if (quality.barsMeasure) {
        const auto bars = int64_t(std::llround(quality.excess));
        if (bars == 1)
            return translate("At most 1 bar (%1 %) more than the best possible plan.").arg(percent);
        return translate("At most %1 bars (%2 %) more than the best possible plan.")
            .arg(QString::number(bars), percent);
    }
    if (quality.costMeasure)
        return translate("At most %1 % more cost than the best possible plan.").arg(percent);
    return translate("At most %1 more waste (%2 % of the material) than the best possible plan.")
        .arg(formatTotal(float(quality.excess)), percent);
}

} // namespace calculation
