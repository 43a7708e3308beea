#include "knapsack.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace exact {

namespace {

// How many pieces of the item one bar of the capacity can take at most.
int32_t maxPieces(const KnapsackItem& item, double capacity)
{
    if (item.width <= 0)
        return item.bound;
    const double fit = std::floor(capacity / item.width + 1e-12);
    return int32_t(std::min<double>(item.bound, std::max(0.0, fit)));
}

// One take-or-leave row of the table, the hot loop of pricing: the x86 build gets copies for wider vector
// units, chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "sse4.1", "default")))
#endif
void addLot(const double* __restrict best, double* __restrict next, uint8_t* __restrict take, size_t w, size_t cells,
            double value)
{
    for (size_t c = w; c < cells; ++c) {
        const double with = best[c - w] + value;
        const double without = best[c];
        take[c] = uint8_t(with > without);
        next[c] = with > without ? with : without;
    }
}

} // namespace

std::vector<KnapsackResult> Knapsack::solve(const std::vector<KnapsackItem>& items,
                                            const std::vector<double>& capacities, bool integral)
{
    double largest = 0;
    for (double capacity : capacities)
        largest = std::max(largest, capacity);
    // Rows of the table: an item of at most b pieces a bar takes log2(b + 1) of them.
    int64_t rows = 0;
    for (const KnapsackItem& item : items)
        if (item.value > 0 && item.width <= largest)
            for (int32_t left = maxPieces(item, largest); left > 0; left /= 2)
                ++rows;
    std::vector<KnapsackResult> results;
    if (integral && rows * (int64_t(largest) + 1) <= kMaxTableCells)
        return byTable(items, capacities);
    for (double capacity : capacities)
        results.push_back(byBranching(items, capacity, m_nodeLimit));
    return results;
}

std::vector<KnapsackResult> Knapsack::solveQuickly(const std::vector<KnapsackItem>& items,
                                                   const std::vector<double>& capacities)
{
    std::vector<KnapsackResult> results;
    for (double capacity : capacities)
        results.push_back(byBranching(items, capacity, 3000));
    return results;
}

std::vector<KnapsackResult> Knapsack::byTable(const std::vector<KnapsackItem>& items,
                                              const std::vector<double>& capacities)
{
    const int64_t top = int64_t(std::max(0.0, *std::max_element(capacities.begin(), capacities.end())));
    const size_t cells = size_t(top) + 1;
    // Each item splits into lots of 1, 2, 4, ... pieces, each taken or not: every count up to the item's
    // bound is a sum of lots, and a table of take-or-leave rows is a plain maximum per cell that the
    // compiler vectorizes.
    struct Lot {
        int32_t item;
        int32_t pieces;
        int64_t width;
        double value;
    };
    std::vector<Lot> lots;
    for (int32_t i = 0; i < int32_t(items.size()); ++i) {
        const KnapsackItem& item = items[size_t(i)];
        if (!(item.value > 0) || item.width > double(top) || item.width < 1)
            continue;
        int32_t left = maxPieces(item, double(top));
        for (int32_t lot = 1; left > 0; lot *= 2) {
            const int32_t pieces = std::min(lot, left);
            const int64_t width = int64_t(pieces) * int64_t(item.width);
            if (width <= top)
                lots.push_back({i, pieces, width, double(pieces) * item.value});
            left -= pieces;
        }
    }
    m_best.assign(cells, 0.0);
    m_next.resize(cells);
    m_take.resize(lots.size() * cells);
    for (size_t u = 0; u < lots.size(); ++u) {
        const size_t w = size_t(lots[u].width);
        uint8_t* take = m_take.data() + u * cells;
        std::copy(m_best.begin(), m_best.begin() + std::ptrdiff_t(w), m_next.begin());
        std::fill(take, take + w, uint8_t(0));
        addLot(m_best.data(), m_next.data(), take, w, cells, lots[u].value);
        std::swap(m_best, m_next);
    }

    std::vector<KnapsackResult> results;
    for (double capacity : capacities) {
        KnapsackResult result;
        result.counts.assign(items.size(), 0);
        int64_t c = std::min<int64_t>(top, int64_t(std::floor(capacity)));
        if (c < 0) {
            results.push_back(result);
            continue;
        }
        result.value = m_best[size_t(c)];
        for (size_t u = lots.size(); u-- > 0;) {
            if (m_take[u * cells + size_t(c)]) {
                result.counts[size_t(lots[u].item)] += lots[u].pieces;
                c -= lots[u].width;
            }
        }
        results.push_back(std::move(result));
    }
    return results;
}

KnapsackResult Knapsack::byBranching(const std::vector<KnapsackItem>& items, double capacity, int64_t nodeLimit)
{
    KnapsackResult result;
    result.counts.assign(items.size(), 0);
    std::vector<int32_t> order;
    for (int32_t i = 0; i < int32_t(items.size()); ++i)
        if (items[size_t(i)].value > 0 && items[size_t(i)].width > 0 && items[size_t(i)].width <= capacity)
            order.push_back(i);
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        const double ra = items[size_t(a)].value / items[size_t(a)].width;
        const double rb = items[size_t(b)].value / items[size_t(b)].width;
        return ra != rb ? ra > rb : a < b;
    });
    const size_t n = order.size();
    std::vector<int32_t> current(n, 0);
    std::vector<int32_t> bestCounts(n, 0);
    double bestValue = 0;
    int64_t nodes = 0;
    bool gaveUp = false;

    // Dantzig's bound: the remaining capacity filled greedily in ratio order, the last item fractionally.
    auto upperBound = [&](size_t from, double room) {
        double bound = 0;
        for (size_t t = from; t < n && room > 0; ++t) {
            const KnapsackItem& item = items[size_t(order[t])];
            const double whole = std::min<double>(item.bound, std::floor(room / item.width));
            if (whole < item.bound) {
                bound += room / item.width * item.value;
                return bound;
            }
            bound += whole * item.value;
            room -= whole * item.width;
        }
        return bound;
    };
    auto search = [&](auto& self, size_t t, double room, double value) -> void {
        if (gaveUp)
            return;
        if (++nodes > nodeLimit) {
            gaveUp = true;
            return;
        }
        if (value > bestValue + 1e-12) {
            bestValue = value;
            bestCounts = current;
        }
        if (t == n || value + upperBound(t, room) <= bestValue + 1e-12)
            return;
        const KnapsackItem& item = items[size_t(order[t])];
        const int32_t most = maxPieces(item, room);
        for (int32_t k = most; k >= 0; --k) {
            current[t] = k;
            self(self, t + 1, room - double(k) * item.width, value + double(k) * item.value);
            if (gaveUp)
                break;
        }
        current[t] = 0;
    };
    search(search, 0, capacity, 0.0);
    for (size_t t = 0; t < n; ++t)
        result.counts[size_t(order[t])] = bestCounts[t];
    result.value = bestValue;
    result.exact = !gaveUp;
    return result;
}

} // namespace exact
