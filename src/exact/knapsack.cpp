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

} // namespace

std::vector<KnapsackResult> Knapsack::solve(const std::vector<KnapsackItem>& items,
                                            const std::vector<double>& capacities, bool integral)
{
    double largest = 0;
    for (double capacity : capacities)
        largest = std::max(largest, capacity);
    int64_t useful = 0;
    bool countsFit = true;
    for (const KnapsackItem& item : items) {
        if (item.value > 0 && item.width <= largest) {
            ++useful;
            countsFit = countsFit && maxPieces(item, largest) <= 65535;
        }
    }
    if (integral && countsFit && useful * (int64_t(largest) + 1) <= kMaxTableCells)
        return byTable(items, capacities);
    std::vector<KnapsackResult> results;
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
    std::vector<int32_t> used;
    for (int32_t i = 0; i < int32_t(items.size()); ++i)
        if (items[size_t(i)].value > 0 && items[size_t(i)].width <= double(top) && items[size_t(i)].width >= 1)
            used.push_back(i);
    m_best.assign(cells, 0.0);
    m_next.resize(cells);
    m_take.assign(used.size() * cells, 0);
    m_queue.resize(cells);

    // Bounded knapsack, item by item; for each residue of the width a monotone queue keeps the best start of
    // a run of at most `bound` pieces.
    for (size_t u = 0; u < used.size(); ++u) {
        const KnapsackItem& item = items[size_t(used[u])];
        const int64_t w = int64_t(item.width);
        const int32_t bound = maxPieces(item, double(top));
        uint16_t* take = m_take.data() + u * cells;
        for (int64_t r = 0; r < w && r <= top; ++r) {
            int32_t head = 0;
            int32_t tail = 0;
            for (int64_t k = 0, c = r; c <= top; ++k, c += w) {
                // Candidate start k with adjusted value best[r + k w] - k v.
                const double g = m_best[size_t(c)] - double(k) * item.value;
                while (tail > head) {
                    const int64_t back = m_queue[size_t(tail - 1)];
                    if (m_best[size_t(r + back * w)] - double(back) * item.value <= g)
                        --tail;
                    else
                        break;
                }
                m_queue[size_t(tail++)] = int32_t(k);
                while (m_queue[size_t(head)] < k - bound)
                    ++head;
                const int64_t start = m_queue[size_t(head)];
                m_next[size_t(c)] = m_best[size_t(r + start * w)] + double(k - start) * item.value;
                take[c] = uint16_t(k - start);
            }
        }
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
        for (size_t u = used.size(); u-- > 0;) {
            const int32_t k = m_take[u * cells + size_t(c)];
            result.counts[size_t(used[u])] = k;
            c -= int64_t(k) * int64_t(items[size_t(used[u])].width);
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
