#include "knapsack.h"

#include "knapsack_frontier.h"

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

// One take-or-leave row of the table, the hot loop of pricing, in place: downward, so that best[c - w] is still
// the row before. In blocks of eight cells, which read only cells below them when the lot is eight wide or more;
// the x86 build gets copies for wider vector units, chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "sse4.1", "default")))
#endif
void addLot(double* best, uint8_t* __restrict take, size_t w, size_t cells, double value)
{
    size_t c = cells;
    if (w >= 8) {
        while (c >= w + 8) {
            c -= 8;
            double with[8];
            for (size_t k = 0; k < 8; ++k)
                with[k] = best[c - w + k] + value;
            for (size_t k = 0; k < 8; ++k) {
                const bool taken = with[k] > best[c + k];
                take[c + k] = uint8_t(taken);
                best[c + k] = taken ? with[k] : best[c + k];
            }
        }
    }
    while (c > w) {
        --c;
        const double with = best[c - w] + value;
        take[c] = uint8_t(with > best[c]);
        best[c] = with > best[c] ? with : best[c];
    }
}

} // namespace

Knapsack::Knapsack() : m_frontier(std::make_unique<KnapsackFrontier>()) {}

Knapsack::~Knapsack() = default;

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
    const int64_t cells = rows * (int64_t(largest) + 1);
    const bool byCells = integral && cells <= kMaxTableCells;
    // A large table or a search without one: the frontier first, given far fewer steps than the table has cells
    // (its steps cost more). Where it gave up it rests a few calls before it tries again.
    bool byFrontier = !byCells || cells > kFrontierFrom;
    if (byFrontier && m_frontierRest > 0) {
        --m_frontierRest;
        byFrontier = false;
    }
    if (byFrontier) {
        const size_t most = byCells ? size_t(cells / 16) : kFrontierSteps;
        if (std::optional<std::vector<KnapsackResult>> found =
                m_frontier->solve(items, capacities, most, m_interrupted)) {
            m_frontierFailed = false;
            return std::move(*found);
        }
        m_frontierFailed = true;
        m_frontierRest = 4;
    }
    std::vector<KnapsackResult> results;
    if (byCells)
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

void Knapsack::fillTable(const std::vector<KnapsackItem>& items, int64_t top)
{
    m_cells = size_t(top) + 1;
    // Each item splits into lots of 1, 2, 4, ... pieces, each taken or not: every count up to the item's
    // bound is a sum of lots, and a table of take-or-leave rows is a plain maximum per cell that the
    // compiler vectorizes.
    m_lots.clear();
    for (int32_t i = 0; i < int32_t(items.size()); ++i) {
        const KnapsackItem& item = items[size_t(i)];
        if (!(item.value > 0) || item.width > double(top) || item.width < 1)
            continue;
        int32_t left = maxPieces(item, double(top));
        for (int32_t lot = 1; left > 0; lot *= 2) {
            const int32_t pieces = std::min(lot, left);
            const int64_t width = int64_t(pieces) * int64_t(item.width);
            if (width <= top)
                m_lots.push_back({i, pieces, width, double(pieces) * item.value});
            left -= pieces;
        }
    }
    m_best.assign(m_cells, 0.0);
    // Grown only, and neither cleared nor copied: every cell of every row is written before it is read, and a table
    // of hundreds of megabytes would take long to clear before its rows could be filled (or Stop be asked).
    if (m_takeSize < m_lots.size() * m_cells) {
        m_take.reset();
        m_takeSize = 0;
        m_take.reset(new uint8_t[m_lots.size() * m_cells]);
        m_takeSize = m_lots.size() * m_cells;
    }
    for (size_t u = 0; u < m_lots.size(); ++u) {
        // The rows so far stay a whole table of fewer lots.
        if (u % 16 == 15 && interrupted()) {
            m_lots.resize(u);
            break;
        }
        const size_t w = size_t(m_lots[u].width);
        uint8_t* take = m_take.get() + u * m_cells;
        std::fill(take, take + std::min(w, m_cells), uint8_t(0));
        addLot(m_best.data(), take, w, m_cells, m_lots[u].value);
    }
}

KnapsackResult Knapsack::readBack(int64_t capacity, size_t items) const
{
    KnapsackResult result;
    result.counts.assign(items, 0);
    int64_t c = std::min<int64_t>(int64_t(m_cells) - 1, capacity);
    if (c < 0)
        return result;
    result.value = m_best[size_t(c)];
    for (size_t u = m_lots.size(); u-- > 0;) {
        if (m_take[u * m_cells + size_t(c)]) {
            result.counts[size_t(m_lots[u].item)] += m_lots[u].pieces;
            c -= m_lots[u].width;
        }
    }
    return result;
}

std::vector<KnapsackResult> Knapsack::byTable(const std::vector<KnapsackItem>& items,
                                              const std::vector<double>& capacities)
{
    fillTable(items, int64_t(std::max(0.0, *std::max_element(capacities.begin(), capacities.end()))));
    std::vector<KnapsackResult> results;
    for (double capacity : capacities)
        results.push_back(readBack(int64_t(std::floor(capacity)), items.size()));
    return results;
}

std::vector<std::vector<KnapsackResult>> Knapsack::solveCoarsely(const std::vector<KnapsackItem>& items,
                                                                 const std::vector<double>& capacities, int64_t cells,
                                                                 int32_t most)
{
    const double largest = std::max(1.0, *std::max_element(capacities.begin(), capacities.end()));
    const double step = std::max(1.0, std::ceil(largest / double(std::max<int64_t>(1, cells))));
    std::vector<KnapsackItem> rounded = items;
    for (KnapsackItem& item : rounded) {
        // The bound stays what the real width allows.
        item.bound = maxPieces(item, largest);
        item.width = std::ceil(item.width / step);
    }
    fillTable(rounded, int64_t(std::floor(largest / step)));
    std::vector<std::vector<KnapsackResult>> results;
    for (double capacity : capacities) {
        std::vector<KnapsackResult> sets;
        const int64_t top = int64_t(std::floor(capacity / step));
        for (int64_t c = top; c >= 0 && int32_t(sets.size()) < most; --c) {
            if (m_best[size_t(std::min<int64_t>(c, int64_t(m_cells) - 1))] < 0.9 * m_best[size_t(top)])
                break;
            KnapsackResult set = readBack(c, items.size());
            set.exact = false;
            if (std::none_of(sets.begin(), sets.end(), [&](const KnapsackResult& s) { return s.counts == set.counts; }))
                sets.push_back(std::move(set));
        }
        results.push_back(std::move(sets));
    }
    return results;
}

std::vector<double> Knapsack::upperBounds(const std::vector<KnapsackItem>& items, const std::vector<double>& capacities,
                                          int64_t cells)
{
    const double largest = std::max(1.0, *std::max_element(capacities.begin(), capacities.end()));
    const double step = std::max(1.0, std::ceil(largest / double(std::max<int64_t>(1, cells))));
    std::vector<KnapsackItem> rounded;
    double free = 0; // pieces narrower than a step take no room in the table: all they may add
    for (const KnapsackItem& item : items) {
        if (!(item.value > 0) || item.width > largest)
            continue;
        KnapsackItem coarse = item;
        coarse.bound = maxPieces(item, largest);
        coarse.width = std::floor(item.width / step);
        if (coarse.width < 1)
            free += item.value * coarse.bound;
        else
            rounded.push_back(coarse);
    }
    std::vector<double> bounds;
    if (rounded.empty()) {
        bounds.assign(capacities.size(), free);
        return bounds;
    }
    fillTable(rounded, int64_t(std::floor(largest / step)));
    for (double capacity : capacities)
        bounds.push_back(m_best[size_t(std::min<int64_t>(int64_t(m_cells) - 1, int64_t(std::floor(capacity / step))))] +
                         free);
    return bounds;
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
        if (++nodes > nodeLimit || (nodes % 4096 == 0 && interrupted())) {
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
