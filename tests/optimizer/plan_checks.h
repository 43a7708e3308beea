#pragma once

#include "optimizer/rpcut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace optimizer::testing {

// Checks the bookkeeping of a plan against the optimizer's lists: quantities left, no identical patterns,
// waste never negative, and for every bar: stock length = stub + pieces + blades between them + waste.
inline ::testing::AssertionResult planConsistent(const rpCut& cut, const strGroup& plan, bool mustBeComplete)
{
    const CutSettings& settings = cut.settings();
    std::vector<int64_t> partUsed(size_t(cut.partCount), 0);
    std::vector<int64_t> stockUsed(size_t(cut.stockCount), 0);
    for (size_t k = 0; k < plan.patterns.size(); ++k) {
        const strPattern& p = plan.patterns[k];
        if (p.entries < 1 || p.entries > kMaxPatternEntries || p.entries != p.part.size())
            return ::testing::AssertionFailure() << "pattern " << k << " has " << p.entries << " entries";
        if (p.times < 1 || p.stock < 0 || p.stock >= cut.stockCount)
            return ::testing::AssertionFailure() << "pattern " << k << " times " << p.times << " stock " << p.stock;
        if (!(p.waste >= 0))
            return ::testing::AssertionFailure() << "pattern " << k << " has waste " << p.waste;
        std::set<int32_t> kinds;
        double used = settings.stubLength;
        int64_t pieces = 0;
        for (int32_t e = 0; e < p.entries; ++e) {
            if (p.count[e] < 1 || !kinds.insert(p.part[e]).second)
                return ::testing::AssertionFailure() << "pattern " << k << " entry " << e << " is malformed";
            used += double(p.count[e]) * cut.parts[size_t(p.part[e])].length;
            pieces += p.count[e];
            partUsed[size_t(p.part[e])] += int64_t(p.count[e]) * p.times;
        }
        used += double(pieces - 1) * settings.bladeWidth + p.waste;
        const double length = cut.stocks[size_t(p.stock)].length;
        if (std::fabs(used - length) > 1e-4 * std::max(1.0, length))
            return ::testing::AssertionFailure()
                   << "pattern " << k << ": stub + pieces + blades + waste = " << used << ", bar " << length;
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
        return ::testing::AssertionFailure() << "patternCount " << plan.patternCount << " of "
                                             << plan.patterns.size();
    return ::testing::AssertionSuccess();
}

} // namespace optimizer::testing
