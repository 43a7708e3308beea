#include "fewer_patterns.h"

#include <algorithm>

namespace exact {

namespace {

// Patterns whose rest is weighed by the relaxation at each step, the most pieces first.
constexpr size_t kCandidates = 6;

int64_t piecesIn(const Layout& layout)
{
    int64_t pieces = 0;
    for (const auto& [cut, times] : layout.cuts)
        pieces += times * cut.pieces();
    return pieces;
}

// One rebuild: the patterns the relaxation of the rest cuts most often first, or those that cut the most pieces.
std::optional<Layout> rebuild(const ExactJob& job, MasterProblem& master, Heuristics& heuristics, const Layout& best,
                              const Limits& limits, bool relaxationFirst)
{
    const double cost = best.cost(job);
    const double tolerance = 1e-9 * std::max(1.0, cost);
    Rest rest = Rest::wholeJob(job);

    while (!rest.finished() && rest.fixed.cuts.size() < best.cuts.size()) {
        if (limits.reached())
            return std::nullopt;
        std::vector<std::pair<double, Rest>> candidates;
        MasterProblem::Solution relaxed;
        if (relaxationFirst) {
            master.setDemand(rest.demand);
            master.setBars(rest.bars);
            relaxed = master.solve(limits);
            if (!relaxed.solved)
                return std::nullopt;
        }
        for (const auto& [column, x] : relaxed.columns) {
            Rest child = rest;
            if (child.take(master.column(column), std::max<int64_t>(1, int64_t(x + 1e-6))))
                candidates.emplace_back(x, std::move(child));
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        std::vector<std::pair<double, Rest>> most;
        for (int32_t c = 0; c < master.columns(); ++c) {
            Rest child = rest;
            if (child.take(master.column(c), child.bars[size_t(master.column(c).stock)]))
                most.emplace_back(double(piecesIn(child.fixed) - piecesIn(rest.fixed)), std::move(child));
        }
        std::stable_sort(most.begin(), most.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        most.resize(std::min(most.size(), kCandidates));
        candidates.resize(std::min(candidates.size(), kCandidates));
        for (auto& candidate : most)
            candidates.push_back(std::move(candidate));
        bool taken = false;
        for (auto& [pieces, child] : candidates) {
            const double fixedCost = child.fixed.cost(job);
            if (fixedCost > cost + tolerance)
                continue;
            if (!child.finished()) {
                master.setDemand(child.demand);
                master.setBars(child.bars);
                const MasterProblem::Solution solution = master.solve(limits);
                if (!solution.solved)
                    return std::nullopt;
                if (!solution.covered || master.roundUp(fixedCost + solution.value) > cost + tolerance)
                    continue;
            }
            rest = std::move(child);
            taken = true;
            break;
        }
        if (!taken) {
            // No single pattern keeps the cost: the rest as the quick plans cut it.
            const std::optional<Layout> tail = heuristics.complete(rest.demand, rest.bars);
            if (!tail)
                return std::nullopt;
            for (const auto& [cut, times] : tail->cuts)
                addCuts(rest.fixed, cut, times);
            break;
        }
    }
    if (!rest.finished() || rest.fixed.cuts.size() >= best.cuts.size() || rest.fixed.cost(job) > cost + tolerance)
        return std::nullopt;
    return rest.fixed;
}

} // namespace

std::optional<Layout> fewerPatterns(const ExactJob& job, MasterProblem& master, Heuristics& heuristics,
                                    const Layout& best, const Limits& limits)
{
    for (const auto& [cut, times] : best.cuts) {
        bool known = false;
        for (int32_t c = 0; c < master.columns() && !known; ++c)
            known = master.column(c) == cut;
        if (!known)
            master.addColumn(cut);
    }
    std::optional<Layout> fewest;
    for (bool relaxationFirst : {false, true}) {
        std::optional<Layout> rebuilt =
            rebuild(job, master, heuristics, fewest ? *fewest : best, limits, relaxationFirst);
        if (rebuilt)
            fewest = std::move(rebuilt);
    }
    return fewest;
}

} // namespace exact
