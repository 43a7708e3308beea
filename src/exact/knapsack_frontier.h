#pragma once

#include "knapsack.h"

#include <array>
#include <optional>

namespace exact {

// The bounded knapsack by its frontier: the sets of pieces that no set of less width beats, grown one lot of pieces
// at a time, dropping each set that can't reach the best value known even with the best pieces still to come. Its
// work grows with the number of sets kept, not with the bar's length, so on long bars where few pieces fit it is
// exact where a table over all capacities would be far too large. It keeps its working memory between calls.
class KnapsackFrontier {
public:
    // The best set per capacity; nothing once the sets looked at over all lots pass `mostSteps` (a table is then the
    // better way), or when interrupted.
    std::optional<std::vector<KnapsackResult>> solve(const std::vector<KnapsackItem>& items,
                                                     const std::vector<double>& capacities, size_t mostSteps,
                                                     const std::function<bool()>& interrupted = {});

private:
    struct Lot {
        int32_t item;
        int32_t pieces;
        double width;
        double value;
        double rate; // value per length
    };
    struct State {
        double width;
        double value;
        int32_t node; // the last lot taken, in m_nodes; -1 for the empty set
    };
    // A lot taken, and the lots taken before it: sets share their beginnings.
    struct Node {
        int32_t lot;
        int32_t parent;
    };

    void makeLots(const std::vector<KnapsackItem>& items, double capacity);
    void makeGains(double capacity);
    // At most what the lots from `from` on can add within `room`.
    double gain(size_t from, double room) const;
    // Adds the lot at `u` to every set of the frontier that it fits.
    void merge(size_t u, double capacity);
    std::optional<KnapsackResult> bestWithin(const std::vector<KnapsackItem>& items, double capacity, size_t& steps,
                                             size_t mostSteps, const std::function<bool()>& interrupted);

    static constexpr size_t kMostCounted = 8;
    std::vector<Lot> m_lots;
    std::vector<double> m_narrowest;
    std::vector<std::array<double, kMostCounted + 1>> m_topSums;
    std::vector<State> m_frontier;
    std::vector<State> m_next;
    std::vector<Node> m_nodes;
};

} // namespace exact
