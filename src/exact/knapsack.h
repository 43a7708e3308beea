#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace exact {

// One kind of piece for the pricing knapsack: its value (the dual price), its width and how many may go on
// one bar at most.
struct KnapsackItem {
    double value = 0;
    double width = 0;
    int32_t bound = 0;
};

struct KnapsackResult {
    double value = 0;
    std::vector<int32_t> counts; // pieces per item
    bool exact = true;           // false when the branch and bound gave up before proving its answer
};

class KnapsackFrontier;

// The bounded knapsack that prices new patterns: the most valuable set of pieces within a capacity. With
// whole-number widths and a table of moderate size it is solved by dynamic programming over capacities
// (one table serves every capacity up to the largest); otherwise by depth-first branch and bound. Large tables and
// searches without one first try the frontier of undominated piece sets, whose work follows the pieces a bar takes.
class Knapsack {
public:
    Knapsack();
    ~Knapsack();
    Knapsack(const Knapsack&) = delete;
    Knapsack& operator=(const Knapsack&) = delete;

    // One answer per capacity.
    std::vector<KnapsackResult> solve(const std::vector<KnapsackItem>& items, const std::vector<double>& capacities,
                                      bool integral);

    // A good answer fast: the branch and bound cut short after a few thousand nodes.
    std::vector<KnapsackResult> solveQuickly(const std::vector<KnapsackItem>& items,
                                             const std::vector<double>& capacities);
    // Good answers fast on whole widths whose table would be large: widths rounded up to whole steps, so that
    // the table has about `cells` cells per row and every set found fits; per capacity up to `most` different sets,
    // from the fullest of the rounded bar down. None is proven best.
    std::vector<std::vector<KnapsackResult>> solveCoarsely(const std::vector<KnapsackItem>& items,
                                                           const std::vector<double>& capacities, int64_t cells,
                                                           int32_t most);
    // True when the frontier gave up the last time it was tried: exact pricing is then slow.
    bool frontierFailed() const { return m_frontierFailed; }
    // Nodes the branch and bound may visit per capacity before it gives up.
    void setNodeLimit(int64_t limit) { m_nodeLimit = limit; }
    // Asked now and then in long tables and searches: true cuts them short, so that Stop is answered at once. The
    // answers are then of no use, and the caller must drop them.
    void setInterrupt(std::function<bool()> interrupted) { m_interrupted = std::move(interrupted); }
    static constexpr int64_t kMaxTableCells = 30'000'000;
    // Tables from this many cells try the frontier first; searches without a table give it this many steps.
    static constexpr int64_t kFrontierFrom = 1'000'000;
    static constexpr size_t kFrontierSteps = 4'000'000;

    // Upper bounds on the best value per capacity, from a table of about `cells` cells per row with widths rounded
    // down to whole steps: every set that fits the bar fits the rounded one too.
    std::vector<double> upperBounds(const std::vector<KnapsackItem>& items, const std::vector<double>& capacities,
                                    int64_t cells);

private:
    struct Lot {
        int32_t item;
        int32_t pieces;
        int64_t width;
        double value;
    };
    std::vector<KnapsackResult> byTable(const std::vector<KnapsackItem>& items, const std::vector<double>& capacities);
    // The take-or-leave table up to the capacity `top`, and a set read back from it at one capacity.
    void fillTable(const std::vector<KnapsackItem>& items, int64_t top);
    KnapsackResult readBack(int64_t capacity, size_t items) const;
    KnapsackResult byBranching(const std::vector<KnapsackItem>& items, double capacity, int64_t nodeLimit);

    bool interrupted() const { return m_interrupted && m_interrupted(); }

    int64_t m_nodeLimit = 400'000;
    int32_t m_frontierRest = 0;
    bool m_frontierFailed = false;
    std::unique_ptr<KnapsackFrontier> m_frontier;
    std::function<bool()> m_interrupted;
    std::vector<Lot> m_lots;
    size_t m_cells = 0;
    std::vector<double> m_best;
    std::unique_ptr<uint8_t[]> m_take;
    size_t m_takeSize = 0;
};

} // namespace exact
