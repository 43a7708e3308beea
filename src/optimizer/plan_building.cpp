#include "rpcut.h"

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
    long double charge = (long double)pattern.times * pattern.waste * scale;
    if (m_settings.costOptimization)
        charge += (long double)pattern.times * stocks[pattern.stock].cost * 100;
    return charge;
}

strGroup rpCut::buildPlan()
{
    strGroup plan = newPlan();
    randomOnly = false;
    float total = 0;
    float lastWaste = 0;
    for (;;) {
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
    if (m_settings.changeOptimization)
        plan.score = float((long double)plan.score * count);
    plan.patternCount = count;
    return plan.score;
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
    std::stable_sort(plan.patterns.begin(), plan.patterns.end(),
                     [](const strPattern& a, const strPattern& b) { return a.waste < b.waste; });
    float total = 0;
    float wasteTotal = 0;
    for (const strPattern& pattern : plan.patterns) {
        total = float(total + (long double)pattern.times * stocks[pattern.stock].length);
        wasteTotal = float(wasteTotal + (long double)pattern.times * pattern.waste);
    }
    if (total > 0)
        plan.ratio = float(((long double)total - wasteTotal) / total * 100);
    return plan;
}

} // namespace optimizer
