#include "plan_scoring.h"

#include <algorithm>

namespace optimizer {

int32_t scaleFor(float maxStockLength)
{
    if (maxStockLength < 10)
        return 10000;
    if (maxStockLength < 100)
        return 1000;
    if (maxStockLength < 1000)
        return 100;
    if (maxStockLength < 10000)
        return 10;
    return 1;
}

long double patternCharge(const strPattern& pattern, const std::vector<strStock>& stocks, const CutSettings& settings,
                          int32_t scale)
{
    long double charge = (long double)pattern.times * pattern.waste * scale;
    if (settings.costOptimization)
        charge += (long double)pattern.times * stocks[size_t(pattern.stock)].cost * 100;
    return charge;
}

float finishPlan(strGroup& plan, float total, float lastWaste, const CutSettings& settings)
{
    for (int32_t left : plan.partLeft) {
        if (left > 0) {
            plan.patternCount = 0;
            return plan.score;
        }
    }
    // A long remnant on the last bar lowers the score; a last bar without remnant raises it.
    const long double bonus = lastWaste != 0 ? 20000.0L / lastWaste : 20000.0L;
    plan.score = float(total + bonus);
    const auto count = int32_t(plan.patterns.size());
    if (settings.changeOptimization)
        plan.score = float((long double)plan.score * count);
    plan.patternCount = count;
    return plan.score;
}

void finishResult(strGroup& plan, const std::vector<strStock>& stocks)
{
    std::stable_sort(plan.patterns.begin(), plan.patterns.end(),
                     [](const strPattern& a, const strPattern& b) { return a.waste < b.waste; });
    float total = 0;
    float wasteTotal = 0;
    for (const strPattern& pattern : plan.patterns) {
        total = float(total + (long double)pattern.times * stocks[size_t(pattern.stock)].length);
        wasteTotal = float(wasteTotal + (long double)pattern.times * pattern.waste);
    }
    if (total > 0)
        plan.ratio = float(((long double)total - wasteTotal) / total * 100);
}

} // namespace optimizer
