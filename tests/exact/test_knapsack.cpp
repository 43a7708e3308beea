#include "exact/knapsack.h"
#include "exact/knapsack_frontier.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The best value by trying every count of every item.
double bruteForce(const std::vector<exact::KnapsackItem>& items, double capacity, size_t from = 0)
{
    if (from == items.size())
        return 0;
    double best = 0;
    for (int32_t k = 0; k <= items[from].bound && k * items[from].width <= capacity; ++k)
        best = std::max(best, k * items[from].value + bruteForce(items, capacity - k * items[from].width, from + 1));
    return best;
}

} // namespace

// The table (whole widths), the branch and bound and the frontier give the best value for every capacity, and
// counts that keep to the bounds, fit the capacity and add up to that value; the frontier also where only a few
// wide pieces fit.
TEST(KnapsackTest, TableBranchingAndFrontierFindTheBestSet)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<exact::KnapsackItem> items(size_t(1 + random() % 7));
        const bool wide = trial % 4 == 3;
        for (auto& item : items)
            item = {double(random() % 50) - 5, double(1 + random() % 30) + (wide ? 20 : 0), int32_t(random() % 6)};
        const std::vector<double> capacities = {double(random() % 70) + (wide ? 30 : 0), double(random() % 70)};
        for (int way = 0; way < 3; ++way) {
            exact::Knapsack knapsack;
            exact::KnapsackFrontier frontier;
            const auto results = way == 0   ? knapsack.solve(items, capacities, true)
                                 : way == 1 ? knapsack.solveQuickly(items, capacities)
                                            : frontier.solve(items, capacities, 1'000'000).value();
            ASSERT_EQ(results.size(), capacities.size());
            for (size_t c = 0; c < capacities.size(); ++c) {
                const auto& result = results[c];
                double value = 0;
                double width = 0;
                for (size_t i = 0; i < items.size(); ++i) {
                    ASSERT_GE(result.counts[i], 0);
                    ASSERT_LE(result.counts[i], items[i].bound);
                    value += result.counts[i] * items[i].value;
                    width += result.counts[i] * items[i].width;
                }
                EXPECT_TRUE(result.exact);
                EXPECT_LE(width, capacities[c]) << trial;
                EXPECT_DOUBLE_EQ(value, result.value) << trial;
                EXPECT_DOUBLE_EQ(result.value, bruteForce(items, capacities[c])) << trial << " way " << way;
            }
        }
    }
}

// On a coarse table the sets found still fit the real capacity, and the bound is never below the best value.
TEST(KnapsackTest, CoarseTablesFindFittingSetsAndBoundTheBest)
{
    std::mt19937 random(11);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<exact::KnapsackItem> items(size_t(1 + random() % 6));
        for (auto& item : items)
            item = {double(random() % 50) - 5, double(1 + random() % 300), int32_t(random() % 4)};
        const std::vector<double> capacities = {double(random() % 700), double(random() % 700)};
        exact::Knapsack knapsack;
        const int64_t cells = 1 + int64_t(random() % 40);
        const auto coarse = knapsack.solveCoarsely(items, capacities, cells, 3);
        const auto bounds = knapsack.upperBounds(items, capacities, cells);
        for (size_t c = 0; c < capacities.size(); ++c) {
            const double best = bruteForce(items, capacities[c]);
            EXPECT_GE(bounds[c], best - 1e-9) << trial;
            for (const exact::KnapsackResult& set : coarse[c]) {
                double value = 0;
                double width = 0;
                for (size_t i = 0; i < items.size(); ++i) {
                    EXPECT_LE(set.counts[i], items[i].bound);
                    value += set.counts[i] * items[i].value;
                    width += set.counts[i] * items[i].width;
                }
                EXPECT_LE(width, capacities[c]) << trial;
                EXPECT_LE(value, best + 1e-9) << trial;
            }
        }
    }
}
