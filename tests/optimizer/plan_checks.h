#pragma once

#include "optimizer/rpcut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <set>
#include <string>

namespace optimizer::testing {

// One bar of a pattern against the fit rule of the job: the stub, the pieces and the blade widths between them
// never exceed the bar, and the waste is what is left, to within the rounding of the waste to a float.
inline ::testing::AssertionResult fitsBar(const rpCut& cut, const strPattern& p)
{
    const CutSettings& settings = cut.settings();
    if (!(p.waste >= 0))
        return ::testing::AssertionFailure() << "waste " << p.waste;
    const FitRule rule(cut.parts, cut.stocks, settings.bladeWidth, settings.stubLength);
    const long double rest = rule.left(p) / rule.unitsPerLength();
    const long double length = cut.stocks[size_t(p.stock)].length;
    // Two steps of a float at the bar's length, for the waste rounded to a float.
    const long double slack = length * 0x1p-22L + 1e-12L;
    if (rest < 0 || std::fabs(double(rest - p.waste)) > double(slack))
        return ::testing::AssertionFailure() << std::setprecision(20) << "left by the fit rule " << double(rest)
                                             << ", waste " << p.waste << ", bar " << double(length);
    return ::testing::AssertionSuccess();
}

// Checks the bookkeeping of a plan against the optimizer's lists: quantities left, no identical patterns,
// and every bar by fitsBar.
inline ::testing::AssertionResult planConsistent(const rpCut& cut, const strGroup& plan, bool mustBeComplete)
{
    std::vector<int64_t> partUsed(size_t(cut.partCount), 0);
    std::vector<int64_t> stockUsed(size_t(cut.stockCount), 0);
    for (size_t k = 0; k < plan.patterns.size(); ++k) {
        const strPattern& p = plan.patterns[k];
        if (p.entries < 1 || p.entries > kMaxPatternEntries || p.entries != p.part.size())
            return ::testing::AssertionFailure() << "pattern " << k << " has " << p.entries << " entries";
        if (p.times < 1 || p.stock < 0 || p.stock >= cut.stockCount)
            return ::testing::AssertionFailure() << "pattern " << k << " times " << p.times << " stock " << p.stock;
        std::set<int32_t> kinds;
        for (int32_t e = 0; e < p.entries; ++e) {
            if (p.count[e] < 1 || p.part[e] < 0 || p.part[e] >= cut.partCount || !kinds.insert(p.part[e]).second)
                return ::testing::AssertionFailure() << "pattern " << k << " entry " << e << " is malformed";
            partUsed[size_t(p.part[e])] += int64_t(p.count[e]) * p.times;
        }
        if (::testing::AssertionResult fits = fitsBar(cut, p); !fits)
            return ::testing::AssertionFailure() << "pattern " << k << ": " << fits.message();
        stockUsed[size_t(p.stock)] += p.times;
        for (size_t other = 0; other < k; ++other) {
            strPattern a = p;
            strPattern b = plan.patterns[other];
            if (samePattern(a, b))
                return ::testing::AssertionFailure() << "patterns " << other << " and " << k << " are identical";
        }
    }
    for (int32_t i = 0; i < cut.partCount; ++i) {
        if (plan.partLeft[size_t(i)] < 0 || plan.partLeft[size_t(i)] + partUsed[size_t(i)] != cut.parts[size_t(i)].qty)
            return ::testing::AssertionFailure() << "part " << i << " left " << plan.partLeft[size_t(i)] << " used "
                                                 << partUsed[size_t(i)] << " of " << cut.parts[size_t(i)].qty;
        if (mustBeComplete && plan.partLeft[size_t(i)] != 0)
            return ::testing::AssertionFailure() << "part " << i << " not covered";
    }
    for (int32_t j = 0; j < cut.stockCount; ++j)
        if (plan.stockLeft[size_t(j)] < 0 ||
            plan.stockLeft[size_t(j)] + stockUsed[size_t(j)] != cut.stocks[size_t(j)].qty)
            return ::testing::AssertionFailure() << "stock " << j << " left " << plan.stockLeft[size_t(j)];
    if (mustBeComplete && plan.patternCount != int32_t(plan.patterns.size()))
        return ::testing::AssertionFailure() << "patternCount " << plan.patternCount << " of " << plan.patterns.size();
    return ::testing::AssertionSuccess();
}

} // namespace optimizer::testing
