#pragma once

#include "heuristics.h"
#include "master_problem.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace exact {

// Plans for jobs of one bar length whose pieces leave little room to spare, such as bars cut up with no
// waste: bar by bar, the longest piece left and a completion of its bar from the rest, fullest first, depth
// first with backtracking. The relaxation of such jobs is slow to solve and its columns rarely add up to
// bars filled to the last unit; this search finds those plans directly.
class BinCompletion {
public:
    explicit BinCompletion(const ExactJob& job);

    // Whether the job is of this kind: whole model units and every stock with bars of one capacity.
    bool applies() const { return m_applies; }
    // The fewest bars any plan needs: the pieces' widths poured into bars of the capacity.
    int64_t fewestBars() const;
    // Whether a plan on this many bars leaves less room in all than a thousandth of a bar: bars cut up with
    // nothing left, where the search is the way to the plan.
    bool tight(int64_t bars) const;
    // A layout of the pieces on at most `bars` bars, or nothing when none was found within the limits and
    // the number of search steps.
    std::optional<Layout> search(int64_t bars, const Limits& limits, int64_t steps);

private:
    struct Group {
        int64_t width;
        std::vector<int32_t> items; // items of this width
        int64_t left = 0;
    };
    int64_t totalWidth() const;
    bool fillBars(int64_t barsLeft, int64_t wasteLeft);
    bool complete(size_t group, int64_t room, int64_t barsLeft, int64_t wasteLeft);
    bool outOfSteps();

    const ExactJob& m_job;
    bool m_applies = false;
    int64_t m_capacity = 0;
    std::vector<Group> m_groups;              // longest first
    std::vector<int64_t> m_reach;             // the widths left from each group on, for the pruning
    std::vector<int64_t> m_bar;               // pieces of each group in the bar being filled
    std::vector<std::vector<int64_t>> m_bars; // the bars filled so far, as counts per group
    const Limits* m_limits = nullptr;
    int64_t m_steps = 0;
    bool m_stopped = false;
};

} // namespace exact
