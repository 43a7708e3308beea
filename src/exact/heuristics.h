#pragma once

#include "exact_job.h"
#include "knapsack.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace exact {

// A plan as the engine builds it: patterns with the number of bars cut each way.
struct Layout {
    std::vector<std::pair<Cut, int64_t>> cuts;

    double cost(const ExactJob& job) const;
    int64_t bars() const;
};

// Quick plans for the pieces still to cut from the bars still free, each a complete layout of that rest or
// nothing when the bars run out.
class Heuristics {
public:
    explicit Heuristics(const ExactJob& job) : m_job(job) {}

    // Pattern by pattern, the fullest bar for its cost (a knapsack on piece widths), repeated as often as the
    // pieces allow. Good on small and medium rests.
    std::optional<Layout> greedyFill(std::vector<int32_t> demand, std::vector<int64_t> bars);
    // First fit decreasing: each piece, longest first, on the first open bar with room; a new bar of the kind
    // with the lowest cost per length; afterwards every bar moves to the cheapest kind it still fits.
    std::optional<Layout> firstFitDecreasing(std::vector<int32_t> demand, std::vector<int64_t> bars) const;
    // The better of the two, the fill only where its knapsacks stay small.
    std::optional<Layout> complete(const std::vector<int32_t>& demand, const std::vector<int64_t>& bars);

private:
    const ExactJob& m_job;
    Knapsack m_knapsack;
};

// Adds `times` bars of the cut to the layout, merged with an identical cut already there.
void addCuts(Layout& layout, const Cut& cut, int64_t times);

// What is left of a job once some bars are cut: the pieces still to cut, the bars still free and the cuts so far.
struct Rest {
    std::vector<int32_t> demand;
    std::vector<int64_t> bars;
    Layout fixed;

    bool finished() const;
    // Cuts the pattern up to `times` bars, as often as the pieces and bars still allow, without the pieces no
    // longer needed; false when not even one bar of it is of use.
    bool take(const Cut& cut, int64_t times);

    // Every piece still to cut and every bar free.
    static Rest wholeJob(const ExactJob& job);
};

} // namespace exact
