#include "rpcut.h"

#include "plan_scoring.h"

#include <algorithm>
#include <cmath>

namespace optimizer {

namespace {

// Sorts the entries by ascending part kind, moving each count with its part.
void sortEntries(strPattern& pattern)
{
    if (pattern.entriesSorted)
        return;
    pattern.entriesSorted = true;
    for (int32_t i = 1; i < pattern.entries; ++i) {
        const int32_t part = pattern.part[i];
        const int32_t count = pattern.count[i];
        int32_t j = i - 1;
        for (; j >= 0 && pattern.part[j] > part; --j) {
            pattern.part[j + 1] = pattern.part[j];
            pattern.count[j + 1] = pattern.count[j];
        }
        pattern.part[j + 1] = part;
        pattern.count[j + 1] = count;
    }
}

} // namespace

bool samePattern(strPattern& a, strPattern& b)
{
    sortEntries(a);
    sortEntries(b);
    return a.stock == b.stock && a.entries == b.entries && a.part == b.part && a.count == b.count;
}

bool addPattern(strGroup& plan, const strPattern& pattern)
{
    strPattern incoming = pattern;
    if (!plan.patterns.empty())
        sortEntries(incoming);
    for (strPattern& existing : plan.patterns) {
        // Patterns already in order on another stock or with another entry count can't be identical;
        // the comparison would only have sorted them.
        if (existing.entriesSorted && (existing.stock != incoming.stock || existing.entries != incoming.entries))
            continue;
        if (samePattern(existing, incoming)) {
            existing.times += incoming.times;
            return false;
        }
    }
    plan.patterns.push_back(std::move(incoming));
    return true;
}

strGroup rpCut::newPlan() const
{
    strGroup plan;
    plan.partLeft.resize(size_t(partCount));
    plan.stockLeft.resize(size_t(stockCount));
    for (int32_t i = 0; i < partCount; ++i)
        plan.partLeft[i] = parts[i].qty;
    for (int32_t j = 0; j < stockCount; ++j)
        plan.stockLeft[j] = stocks[j].qty;
    return plan;
}

long double rpCut::patternCharge(const strPattern& pattern) const
{
    return optimizer::patternCharge(pattern, stocks, m_settings, scale);
}

strGroup rpCut::buildPlan()
{
    strGroup plan = newPlan();
    randomOnly = false;
    float total = 0;
    float lastWaste = 0;
    for (;;) {
        if (dropping())
            return strGroup{};
        strPattern pattern = nextPattern(plan);
        if (pattern.entries < 1)
            break;
        total = float(total + patternCharge(pattern));
        const float waste = pattern.waste;
        if (addPattern(plan, pattern))
            lastWaste = waste;
    }
    finishPlan(plan, total, lastWaste);
    return plan;
}

float rpCut::finishPlan(strGroup& plan, float total, float lastWaste) const
{
    return optimizer::finishPlan(plan, total, lastWaste, m_settings);
}

float rpCut::averageScore() const
{
    float sum = 0;
    for (const strGroup& plan : population)
        sum += plan.score;
    return float(sum * (1.0L / kPopulationSize));
}

strGroup rpCut::takeResult(int32_t index)
{
    strGroup& plan = population[size_t(index)];
    finishResult(plan, stocks);
    return plan;
}

} // namespace optimizer
