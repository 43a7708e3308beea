#include "heuristics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace exact {

namespace {

// Knapsack fills above this many table cells are left to first fit decreasing.
constexpr int64_t kFillCells = 600'000;

int64_t piecesLeft(const std::vector<int32_t>& demand)
{
    return std::accumulate(demand.begin(), demand.end(), int64_t(0));
}

} // namespace

double Layout::cost(const ExactJob& job) const
{
    double total = 0;
    for (const auto& [cut, times] : cuts)
        total += double(times) * job.barCost(cut.stock);
    return total;
}

int64_t Layout::bars() const
{
    int64_t total = 0;
    for (const auto& entry : cuts)
        total += entry.second;
    return total;
}

void addCuts(Layout& layout, const Cut& cut, int64_t times)
{
    if (times <= 0)
        return;
    for (auto& [existing, count] : layout.cuts) {
        if (existing == cut) {
            count += times;
            return;
        }
    }
    layout.cuts.emplace_back(cut, times);
}

bool Rest::finished() const
{
    return std::all_of(demand.begin(), demand.end(), [](int32_t d) { return d == 0; });
}

Rest Rest::wholeJob(const ExactJob& job)
{
    Rest rest;
    for (int32_t i = 0; i < job.items(); ++i)
        rest.demand.push_back(job.demand(i));
    for (int32_t j = 0; j < job.stocks(); ++j)
        rest.bars.push_back(job.stockQty(j));
    return rest;
}

bool Rest::take(const Cut& cut, int64_t times)
{
    Cut trimmed;
    trimmed.stock = cut.stock;
    int64_t most = std::min(times, bars[size_t(cut.stock)]);
    for (const auto& [item, count] : cut.entries) {
        const int32_t kept = std::min(count, demand[size_t(item)]);
        if (kept > 0) {
            trimmed.entries.emplace_back(item, kept);
            most = std::min<int64_t>(most, demand[size_t(item)] / kept);
        }
    }
    if (trimmed.entries.empty() || most < 1)
        return false;
    for (const auto& [item, count] : trimmed.entries)
        demand[size_t(item)] -= int32_t(most * count);
    bars[size_t(cut.stock)] -= most;
    addCuts(fixed, trimmed, most);
    return true;
}

std::optional<Layout> Heuristics::greedyFill(std::vector<int32_t> demand, std::vector<int64_t> bars)
{
    Layout layout;
    const int32_t items = m_job.items();
    while (piecesLeft(demand) > 0) {
        std::vector<KnapsackItem> pieces(static_cast<size_t>(items));
        for (int32_t i = 0; i < items; ++i)
            pieces[size_t(i)] = {m_job.width(i), m_job.width(i), demand[size_t(i)]};
        const std::vector<int32_t> kinds = m_job.cuttableKinds(bars);
        std::vector<double> capacities;
        for (int32_t j : kinds)
            capacities.push_back(m_job.capacity(j));
        if (kinds.empty())
            return std::nullopt;
        const std::vector<KnapsackResult> fills = m_knapsack.solve(pieces, capacities, m_job.integral());
        // The most length covered per cost; on a tie a priority stock, then the fuller bar.
        int32_t chosen = -1;
        double bestRate = 0;
        for (size_t k = 0; k < kinds.size(); ++k) {
            if (fills[k].value <= 0)
                continue;
            const int32_t j = kinds[k];
            const double rate = fills[k].value / std::max(1e-12, m_job.barCost(j));
            const bool better = chosen < 0 || rate > bestRate * (1 + 1e-12) ||
                                (rate >= bestRate * (1 - 1e-12) && m_job.stockPriority(j) &&
                                 !m_job.stockPriority(kinds[size_t(chosen)]));
            if (better) {
                chosen = int32_t(k);
                bestRate = rate;
            }
        }
        if (chosen < 0)
            return std::nullopt;
        Cut cut;
        cut.stock = kinds[size_t(chosen)];
        int64_t times = bars[size_t(cut.stock)];
        for (int32_t i = 0; i < items; ++i) {
            const int32_t count = fills[size_t(chosen)].counts[size_t(i)];
            if (count > 0) {
                cut.entries.emplace_back(i, count);
                times = std::min<int64_t>(times, demand[size_t(i)] / count);
            }
        }
        while (!cut.entries.empty() && !m_job.fits(cut)) {
            if (--cut.entries.back().second == 0)
                cut.entries.pop_back();
        }
        if (cut.entries.empty() || times < 1)
            return std::nullopt;
        for (const auto& [item, count] : cut.entries)
            demand[size_t(item)] -= int32_t(times * count);
        bars[size_t(cut.stock)] -= times;
        addCuts(layout, cut, times);
    }
    return layout;
}

std::optional<Layout> Heuristics::firstFitDecreasing(std::vector<int32_t> demand, std::vector<int64_t> bars) const
{
    const int32_t items = m_job.items();
    std::vector<int32_t> order(static_cast<size_t>(items));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return m_job.width(a) > m_job.width(b); });
    // Kinds for new bars: lowest cost per capacity first, then priority, then longer.
    std::vector<int32_t> kinds;
    for (int32_t j = 0; j < m_job.stocks(); ++j)
        if (m_job.capacity(j) > 0)
            kinds.push_back(j);
    std::stable_sort(kinds.begin(), kinds.end(), [&](int32_t a, int32_t b) {
        const double ra = m_job.barCost(a) / m_job.capacity(a);
        const double rb = m_job.barCost(b) / m_job.capacity(b);
        if (std::fabs(ra - rb) > 1e-12 * std::max(ra, rb))
            return ra < rb;
        if (m_job.stockPriority(a) != m_job.stockPriority(b))
            return m_job.stockPriority(a);
        return m_job.capacity(a) > m_job.capacity(b);
    });

    struct Bar {
        int32_t stock;
        double room;
        std::vector<int32_t> counts;
    };
    std::vector<Bar> open;
    for (int32_t item : order) {
        for (int32_t n = 0; n < demand[size_t(item)]; ++n) {
            const double width = m_job.width(item);
            Bar* home = nullptr;
            for (Bar& bar : open) {
                if (bar.room >= width) {
                    home = &bar;
                    break;
                }
            }
            if (!home) {
                for (int32_t j : kinds) {
                    if (bars[size_t(j)] > 0 && m_job.capacity(j) >= width) {
                        --bars[size_t(j)];
                        open.push_back({j, m_job.capacity(j), std::vector<int32_t>(size_t(items), 0)});
                        home = &open.back();
                        break;
                    }
                }
            }
            if (!home)
                return std::nullopt;
            home->room -= width;
            ++home->counts[size_t(item)];
        }
    }
    Layout layout;
    for (Bar& bar : open) {
        Cut cut;
        cut.stock = bar.stock;
        for (int32_t i = 0; i < items; ++i)
            if (bar.counts[size_t(i)] > 0)
                cut.entries.emplace_back(i, bar.counts[size_t(i)]);
        const double load = m_job.load(cut);
        // The cheapest kind that still takes the bar's pieces; at the same cost a stock marked Yes.
        for (int32_t j : kinds) {
            const double here = m_job.barCost(cut.stock);
            const bool cheaper = m_job.barCost(j) < here - 1e-12 * here;
            const bool preferred =
                m_job.barCost(j) <= here + 1e-12 * here && m_job.stockPriority(j) && !m_job.stockPriority(cut.stock);
            if (j == cut.stock || bars[size_t(j)] <= 0 || m_job.capacity(j) < load || !(cheaper || preferred))
                continue;
            Cut moved = cut;
            moved.stock = j;
            if (m_job.fits(moved)) {
                ++bars[size_t(cut.stock)];
                --bars[size_t(j)];
                cut.stock = j;
            }
        }
        if (!m_job.fits(cut))
            return std::nullopt;
        addCuts(layout, cut, 1);
    }
    return layout;
}

std::optional<Layout> Heuristics::complete(const std::vector<int32_t>& demand, const std::vector<int64_t>& bars)
{
    std::optional<Layout> best = firstFitDecreasing(demand, bars);
    double largest = 0;
    for (int32_t j = 0; j < m_job.stocks(); ++j)
        largest = std::max(largest, m_job.capacity(j));
    int64_t kinds = 0;
    for (int32_t d : demand)
        kinds += d > 0 ? 1 : 0;
    if (m_job.integral() && kinds * int64_t(largest) <= kFillCells) {
        std::optional<Layout> filled = greedyFill(demand, bars);
        if (filled && (!best || filled->cost(m_job) < best->cost(m_job) - 1e-9))
            best = std::move(filled);
    }
    return best;
}

} // namespace exact
