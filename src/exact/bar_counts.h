#pragma once

#include "exact_job.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace exact {

// How many bars of each stock kind a plan uses, and what they cost together.
struct BarCounts {
    double cost = 0;
    std::vector<int64_t> bars;
};

// Every choice of bar counts (at most `available` of each kind) whose cost lies in [from, below), cheapest
// first. Each plan cuts one such choice, so the cheapest choice whose pieces can be cut bounds every plan.
// Nothing when there are more than `most` choices: the window is too wide to walk at once; nothing too when `stopped`
// answers true during the walk.
std::optional<std::vector<BarCounts>> barCountsBetween(const std::vector<double>& barCost,
                                                       const std::vector<int64_t>& available, double from, double below,
                                                       size_t most, const std::function<bool()>& stopped = {});

// Whether the choices of barCountsBetween() are too many to list (or the walk was stopped), without listing them.
bool barCountsCrowd(const std::vector<double>& barCost, const std::vector<int64_t>& available, double from,
                    double below, size_t most, const std::function<bool()>& stopped = {});

// One choice of bar counts (at most `available` of each kind) that costs just `cost`, where every cost is a whole
// multiple of `step`: the most bars of kind `head`, the fewest of the kinds between it and the last, the rest of the
// last kind. Nothing when there is none of that shape, or when the last kind costs more than `most` steps.
std::optional<BarCounts> barCountsAt(const std::vector<double>& barCost, const std::vector<int64_t>& available,
                                     double cost, double step, size_t head, size_t most);

// Bars too short in all for the pieces, or for the pieces longer than some of the bars, can't take them:
// most choices of bar counts with cost optimization fail here, long before the relaxation is asked.
class BarRoom {
public:
    explicit BarRoom(const ExactJob& job);
    bool enough(const std::vector<int64_t>& bars) const;

private:
    double roomAbove(const std::vector<int64_t>& bars, double capacity) const;

    const ExactJob& m_job;
    std::vector<double> m_widerThan; // per stock kind: the widths of the pieces longer than its capacity
    double m_widths = 0;
};

} // namespace exact
