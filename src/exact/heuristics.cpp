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
