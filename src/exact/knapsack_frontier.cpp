#include "knapsack_frontier.h"

#include <algorithm>
#include <cmath>

namespace exact {

void KnapsackFrontier::makeLots(const std::vector<KnapsackItem>& items, double capacity)
{
    // Every count up to an item's bound is a sum of lots of 1, 2, 4, ... pieces, each taken or not.
    m_lots.clear();
    for (int32_t i = 0; i < int32_t(items.size()); ++i) {
        const KnapsackItem& item = items[size_t(i)];
        if (!(item.value > 0) || !(item.width > 0) || item.width > capacity)
            continue;
        const double fit = std::floor(capacity / item.width + 1e-12);
        int32_t left = int32_t(std::min<double>(item.bound, std::max(0.0, fit)));
        for (int32_t lot = 1; left > 0; lot *= 2) {
            const int32_t pieces = std::min(lot, left);
            if (double(pieces) * item.width <= capacity)
                m_lots.push_back(
                    {i, pieces, double(pieces) * item.width, double(pieces) * item.value, item.value / item.width});
            left -= pieces;
        }
    }
    // The most valuable per length first: the lots still to come are then worth at most the next one's value per
    // length, which bounds what a set can still gain.
    std::sort(m_lots.begin(), m_lots.end(), [](const Lot& a, const Lot& b) {
        return a.rate != b.rate ? a.rate > b.rate : (a.width != b.width ? a.width > b.width : a.item < b.item);
    });
}

void KnapsackFrontier::makeGains(double capacity)
{
    // Where few lots fit a bar, the few most valuable lots still to come bound a set's gain better than its room: per
    // lot, the narrowest width from it on and the sums of the most valuable values from it on.
    const size_t n = m_lots.size();
    m_narrowest.assign(n + 1, capacity + 1);
    m_topSums.resize(n + 1);
    m_topSums[n].fill(0.0);
    std::array<double, kMostCounted> top{};
    for (size_t u = n; u-- > 0;) {
        m_narrowest[u] = std::min(m_narrowest[u + 1], m_lots[u].width);
        double value = m_lots[u].value;
        for (size_t k = 0; k < kMostCounted; ++k)
            if (value > top[k])
                std::swap(value, top[k]);
        m_topSums[u][0] = 0;
        for (size_t k = 0; k < kMostCounted; ++k)
            m_topSums[u][k + 1] = m_topSums[u][k] + top[k];
    }
}

double KnapsackFrontier::gain(size_t from, double room) const
{
    const Lot& lot = m_lots[from];
    const double most = room * lot.rate;
    const double fit = std::floor(room / m_narrowest[from] + 1e-12);
    return fit < double(kMostCounted) ? std::min(most, m_topSums[from][size_t(fit)]) : most;
}

void KnapsackFrontier::merge(size_t u, double capacity)
{
    const Lot& lot = m_lots[u];
    m_next.clear();
    // Kept when worth more than every narrower set; of two sets of one width the more valuable.
    auto keep = [&](double width, double value, int32_t node, bool taken) {
        if (!m_next.empty() && value <= m_next.back().value)
            return;
        if (taken) {
            m_nodes.push_back({int32_t(u), node});
            node = int32_t(m_nodes.size()) - 1;
        }
        if (!m_next.empty() && m_next.back().width == width)
            m_next.back() = {width, value, node};
        else
            m_next.push_back({width, value, node});
    };
    const size_t size = m_frontier.size();
    size_t a = 0; // without the lot
    size_t b = 0; // with it
    while (a < size || b < size) {
        if (b < size && m_frontier[b].width + lot.width > capacity)
            b = size; // wider sets don't fit either
        const bool withLot = b < size && (a == size || m_frontier[b].width + lot.width < m_frontier[a].width ||
                                          (m_frontier[b].width + lot.width == m_frontier[a].width &&
                                           m_frontier[b].value + lot.value > m_frontier[a].value));
        if (withLot) {
            keep(m_frontier[b].width + lot.width, m_frontier[b].value + lot.value, m_frontier[b].node, true);
            ++b;
        } else if (a < size) {
            keep(m_frontier[a].width, m_frontier[a].value, m_frontier[a].node, false);
            ++a;
        }
    }
    m_frontier.swap(m_next);
}

std::optional<KnapsackResult> KnapsackFrontier::bestWithin(const std::vector<KnapsackItem>& items, double capacity,
                                                           size_t& steps, size_t mostSteps,
                                                           const std::function<bool()>& interrupted)
{
    makeLots(items, capacity);
    makeGains(capacity);
    // A first set, the lots taken greedily: sets that can't reach its value are dropped at once.
    double known = 0;
    double room = capacity;
    for (const Lot& lot : m_lots)
        if (lot.width <= room) {
            known += lot.value;
            room -= lot.width;
        }
    // Sorted by width, each worth more than every narrower one.
    m_frontier.assign(1, {0.0, 0.0, -1});
    m_nodes.clear();
    for (size_t u = 0; u < m_lots.size(); ++u) {
        steps += m_frontier.size();
        if (steps > mostSteps || (u % 16 == 15 && interrupted && interrupted()))
            return std::nullopt;
        // A set that can't reach the known value even with the best of what is still to come is done.
        const double margin = 1e-9 * std::max(1.0, known);
        m_frontier.erase(
            std::remove_if(m_frontier.begin(), m_frontier.end(),
                           [&](const State& s) { return s.value + gain(u, capacity - s.width) < known - margin; }),
            m_frontier.end());
        merge(u, capacity);
        known = std::max(known, m_frontier.back().value);
    }
    KnapsackResult result;
    result.counts.assign(items.size(), 0);
    // Values grow with width: the widest set kept is the most valuable.
    const State& best = m_frontier.back();
    result.value = best.value;
    for (int32_t n = best.node; n >= 0; n = m_nodes[size_t(n)].parent) {
        const Lot& lot = m_lots[size_t(m_nodes[size_t(n)].lot)];
        result.counts[size_t(lot.item)] += lot.pieces;
    }
    return result;
}

std::optional<std::vector<KnapsackResult>> KnapsackFrontier::solve(const std::vector<KnapsackItem>& items,
                                                                   const std::vector<double>& capacities,
                                                                   size_t mostSteps,
                                                                   const std::function<bool()>& interrupted)
{
    std::vector<KnapsackResult> results;
    size_t steps = 0;
    for (double capacity : capacities) {
        std::optional<KnapsackResult> best = bestWithin(items, capacity, steps, mostSteps, interrupted);
        if (!best)
            return std::nullopt;
        results.push_back(std::move(*best));
    }
    return results;
}

} // namespace exact
