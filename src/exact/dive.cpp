#include "dive.h"

#include <algorithm>
#include <cmath>

namespace exact {

namespace {

bool integralValue(double x)
{
    return std::fabs(x - std::nearbyint(x)) < 1e-6;
}

} // namespace

Diver::Diver(const ExactJob& job, MasterProblem& master, Heuristics& heuristics, Incumbent& incumbent)
    : m_job(job), m_master(master), m_heuristics(heuristics), m_incumbent(incumbent)
{
}

void Diver::dive(const Rest& node, int32_t discrepancies, const Limits& limits, uint32_t variation)
{
    m_limits = &limits;
    m_variation = variation;
    m_random.seed(variation);
    descend(node, discrepancies, {});
}

void Diver::descend(Rest node, int32_t discrepancies, std::vector<Cut> tabu)
{
    if (stopped())
        return;
    if (node.finished()) {
        m_incumbent.offer(node.fixed);
        return;
    }
    m_master.setDemand(node.demand);
    m_master.setBars(node.bars);
    const MasterProblem::Solution solution = m_master.solve(*m_limits, true);
    if (!solution.solved || !solution.covered)
        return;
    const double fixedCost = node.fixed.cost(m_job);
    if (solution.boundProven && m_master.roundUp(fixedCost + solution.bound) >= m_incumbent.belowBest())
        return;

    // 1 - the relaxation rounded down, the rest by the quick plans
    Rest rounded = node;
    std::vector<std::pair<int32_t, double>> fractional;
    for (const auto& [column, x] : solution.columns) {
        if (std::floor(x + 1e-6) >= 1)
            rounded.take(m_master.column(column), int64_t(std::floor(x + 1e-6)));
        if (!integralValue(x))
            fractional.emplace_back(column, x);
    }
    if (std::optional<Layout> rest = m_heuristics.complete(rounded.demand, rounded.bars)) {
        Layout whole = rounded.fixed;
        for (const auto& [cut, times] : rest->cuts)
            addCuts(whole, cut, times);
        m_incumbent.offer(whole);
    }
    if (fractional.empty() || stopped())
        return;

    // 2 - every column stays at its value rounded down; then one fractional column rounded up, the closest to its
    // ceiling first, others as discrepancies near the top of the dive
    Rest base = node;
    for (const auto& [column, x] : solution.columns)
        if (std::floor(x + 1e-6) >= 1)
            base.take(m_master.column(column), int64_t(std::floor(x + 1e-6)));
    auto gap = [](double x) { return std::ceil(x) - x; };
    if (m_variation > 0) {
        // Columns within a tenth of each other are ranked by chance.
        std::vector<std::pair<double, size_t>> keyed;
        std::uniform_real_distribution<double> noise(0.0, 0.1);
        for (size_t k = 0; k < fractional.size(); ++k)
            keyed.emplace_back(gap(fractional[k].second) + noise(m_random), k);
        std::sort(keyed.begin(), keyed.end());
        std::vector<std::pair<int32_t, double>> shuffled;
        for (const auto& [key, k] : keyed)
            shuffled.push_back(fractional[k]);
        fractional = std::move(shuffled);
    } else {
        std::stable_sort(fractional.begin(), fractional.end(),
                         [&](auto& a, auto& b) { return gap(a.second) < gap(b.second); });
    }
    int32_t tried = 0;
    for (const auto& [column, x] : fractional) {
        const Cut cut = m_master.column(column); // a copy: deeper dives add columns
        if (std::find(tabu.begin(), tabu.end(), cut) != tabu.end())
            continue;
        Rest child = base;
        if (!child.take(cut, int64_t(std::ceil(x)) - int64_t(std::floor(x + 1e-6))))
            continue;
        const int32_t spent = tried > 0 ? 1 : 0;
        descend(std::move(child), discrepancies - spent, tabu);
        if (stopped())
            return;
        tabu.push_back(cut);
        ++tried;
        if (tried > discrepancies)
            return;
    }
}

} // namespace exact
