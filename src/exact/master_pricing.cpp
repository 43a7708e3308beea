#include "master_problem.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace exact {

double MasterProblem::roundUp(double bound) const
{
    const double step = m_job.costStep();
    const double slack = 1e-7 * std::max(1.0, std::fabs(bound));
    if (step > 0)
        return std::ceil((bound - slack) / step) * step;
    return bound;
}

void MasterProblem::price(const double* duals, bool phaseOne, std::vector<Cut>& found, std::vector<double>& reduced,
                          bool& exact, bool quickly)
{
    const int items = m_job.items();
    std::vector<KnapsackItem> pieces(static_cast<size_t>(items));
    for (int i = 0; i < items; ++i)
        pieces[size_t(i)] = {duals[i], m_job.width(i), m_demand[size_t(i)]};
    const std::vector<int32_t> kinds = m_job.cuttableKinds(m_bars);
    std::vector<double> capacities;
    for (int32_t j : kinds)
        capacities.push_back(m_job.capacity(j));
    found.clear();
    reduced.assign(size_t(m_job.stocks()), 0.0);
    if (kinds.empty())
        return;
    // Quickly: on whole widths a coarse table, several patterns per bar length; else a cut-short branch and bound.
    std::vector<std::vector<KnapsackResult>> sets;
    if (quickly && m_coarse) {
        sets = m_knapsack.solveCoarsely(pieces, capacities, kCoarseCells, kCoarsePatterns);
    } else {
        for (KnapsackResult& best : quickly ? m_knapsack.solveQuickly(pieces, capacities)
                                            : m_knapsack.solve(pieces, capacities, m_job.integral()))
            sets.push_back({std::move(best)});
    }
    for (size_t k = 0; k < kinds.size(); ++k) {
        const int32_t j = kinds[k];
        const double cost = phaseOne ? 0.0 : m_job.barCost(j);
        bool first = true;
        for (const KnapsackResult& set : sets[k]) {
            exact = exact && set.exact;
            Cut cut;
            cut.stock = j;
            double value = 0;
            for (int i = 0; i < items; ++i) {
                if (set.counts[size_t(i)] > 0) {
                    cut.entries.emplace_back(i, set.counts[size_t(i)]);
                    value += duals[i] * set.counts[size_t(i)];
                }
            }
            // Lengths that are not whole units are measured once more by the fit rule.
            while (!cut.entries.empty() && !m_job.fits(cut)) {
                auto cheapest = std::min_element(cut.entries.begin(), cut.entries.end(),
                                                 [&](auto& a, auto& b) { return duals[a.first] < duals[b.first]; });
                value -= duals[cheapest->first];
                if (--cheapest->second == 0)
                    cut.entries.erase(cheapest);
                exact = false;
            }
            if (first)
                reduced[size_t(j)] = cost - duals[items + j] - value;
            first = false;
            if (!cut.entries.empty() && cost - duals[items + j] - value < -m_tolerance * (phaseOne ? 1e-6 : 1.0))
                found.push_back(std::move(cut));
        }
    }
}

std::vector<double> MasterProblem::coarseReduced(const double* duals, int64_t cells)
{
    const int items = m_job.items();
    std::vector<KnapsackItem> pieces(static_cast<size_t>(items));
    for (int i = 0; i < items; ++i)
        pieces[size_t(i)] = {duals[i], m_job.width(i), m_demand[size_t(i)]};
    std::vector<double> reduced(size_t(m_job.stocks()), 0.0);
    const std::vector<int32_t> kinds = m_job.cuttableKinds(m_bars);
    if (kinds.empty())
        return reduced;
    std::vector<double> capacities;
    for (int32_t j : kinds)
        capacities.push_back(m_job.capacity(j));
    const std::vector<double> most = m_knapsack.upperBounds(pieces, capacities, cells);
    for (size_t k = 0; k < kinds.size(); ++k)
        reduced[size_t(kinds[k])] = m_job.barCost(kinds[k]) - duals[items + kinds[k]] - most[k];
    return reduced;
}

double MasterProblem::lagrangianBound(const std::vector<double>& duals, const std::vector<double>& reduced,
                                      bool phaseOne) const
{
    // Two bounds from any duals priced exactly: the Lagrangian one, which charges the most negative reduced cost on
    // every bar in stock, and Farley's, which scales the pieces' prices down until no pattern is priced above its
    // cost. With bars in plenty the second is far the stronger, and it ends the generation once it rounds up to the
    // relaxation's value.
    const int items = m_job.items();
    double pieces = 0;
    for (int i = 0; i < items; ++i)
        pieces += duals[size_t(i)] * m_demand[size_t(i)];
    double bound = pieces;
    double bars = 0;
    double scale = 1;
    for (int j = 0; j < m_job.stocks(); ++j) {
        const double mu = duals[size_t(items + j)];
        bound += (mu + std::min(0.0, reduced[size_t(j)])) * double(m_bars[size_t(j)]);
        bars += mu * double(m_bars[size_t(j)]);
    }
    for (int32_t j : m_job.cuttableKinds(m_bars)) {
        const double cost = phaseOne ? 0.0 : m_job.barCost(j);
        const double mu = duals[size_t(items + j)];
        const double most = cost - mu - reduced[size_t(j)];
        if (most > 0)
            scale = std::min(scale, (cost - mu) / most);
    }
    return std::max(bound, scale * pieces + bars);
}

double MasterProblem::materialBound() const
{
    // The pieces' widths poured into the bars, cheapest per length first: no plan costs less.
    double widths = 0;
    for (int i = 0; i < m_job.items(); ++i)
        widths += m_job.width(i) * m_demand[size_t(i)];
    std::vector<int32_t> kinds = m_job.cuttableKinds(m_bars);
    std::sort(kinds.begin(), kinds.end(), [&](int32_t a, int32_t b) {
        return m_job.barCost(a) / m_job.capacity(a) < m_job.barCost(b) / m_job.capacity(b);
    });
    double bound = 0;
    for (int32_t j : kinds) {
        const double poured = std::min(widths, double(m_bars[size_t(j)]) * m_job.capacity(j));
        bound += poured * m_job.barCost(j) / m_job.capacity(j);
        widths -= poured;
    }
    return widths > 0 ? -std::numeric_limits<double>::max() : bound;
}

} // namespace exact
