#include "plan_choice.h"

#include "optimizer/plan_scoring.h"

#include <algorithm>

namespace exact {

long double chargeTotal(const optimizer::strGroup& plan, const std::vector<optimizer::strStock>& stocks,
                        const optimizer::CutSettings& settings)
{
    float longest = 0;
    for (const optimizer::strStock& stock : stocks)
        longest = std::max(longest, stock.length);
    const int32_t scale = optimizer::scaleFor(longest);
    long double total = 0;
    for (const optimizer::strPattern& pattern : plan.patterns) {
        total += (long double)pattern.times * pattern.waste * scale;
        if (settings.costOptimization)
            total += (long double)pattern.times * stocks[size_t(pattern.stock)].cost * 100;
    }
    return total;
}

bool secondIsBetter(const optimizer::strGroup& first, const optimizer::strGroup& second,
                    const std::vector<optimizer::strStock>& stocks, const optimizer::CutSettings& settings)
{
    if (second.patternCount <= 0)
        return false;
    if (first.patternCount <= 0)
        return true;
    if (!settings.costOptimization && !settings.changeOptimization)
        return second.ratio > first.ratio;
    auto weighed = [&](const optimizer::strGroup& plan) {
        long double total = chargeTotal(plan, stocks, settings);
        if (settings.changeOptimization)
            total *= (long double)plan.patterns.size();
        return total;
    };
    return weighed(second) < weighed(first);
}

} // namespace exact
