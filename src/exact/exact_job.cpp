#include "exact_job.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace exact {

namespace {

// The largest step of which every value is a whole multiple, found on a decimal grid; 0 when there is none.
double commonStep(const std::vector<double>& values)
{
    for (double grid : {1.0, 10.0, 100.0, 1000.0, 10000.0}) {
        int64_t g = 0;
        bool whole = true;
        for (double value : values) {
            const double scaled = value * grid;
            const double rounded = std::nearbyint(scaled);
            if (!(std::fabs(scaled - rounded) <= 1e-9 * std::max(1.0, std::fabs(scaled))) || rounded > 9.0e15) {
                whole = false;
                break;
            }
            g = std::gcd(g, int64_t(rounded));
        }
        if (whole && g > 0)
            return double(g) / grid;
    }
    return 0;
}

} // namespace

int64_t Cut::pieces() const
{
    int64_t n = 0;
    for (const auto& entry : entries)
        n += entry.second;
    return n;
}

ExactJob::ExactJob(const optimizer::CutJob& job)
    : m_fit(job.fit), m_integral(job.fit.decimal()), m_costOptimization(job.settings.costOptimization)
{
    const optimizer::FitRule& fit = job.fit;
    const long double blade = fit.blade();
    const double perLength = double(fit.unitsPerLength());
    for (int32_t i = 0; i < int32_t(job.parts.size()); ++i)
        if (job.parts[size_t(i)].qty > 0)
            m_items.push_back({i, job.parts[size_t(i)].qty, double(fit.part(i) + blade)});
    std::vector<double> barCosts;
    for (int32_t j = 0; j < int32_t(job.stocks.size()); ++j) {
        const optimizer::strStock& stock = job.stocks[size_t(j)];
        Stock s;
        s.qty = std::max(0, stock.qty);
        s.priority = stock.priority;
        s.capacity = double(fit.usable(j) + blade);
        s.barCost = double(job.scale) * (s.capacity / perLength);
        if (m_costOptimization)
            s.barCost += 100.0 * double(stock.cost);
        m_stocks.push_back(s);
        barCosts.push_back(s.barCost);
    }
    for (const Item& item : m_items)
        m_pieceCredit += double(job.scale) * (item.width / perLength) * item.demand;
    m_costStep = m_integral || m_costOptimization ? commonStep(barCosts) : 0;

    m_barsMeasure = !m_costOptimization;
    for (const Stock& s : m_stocks)
        if (s.qty > 0 && s.capacity != m_stocks.front().capacity)
            m_barsMeasure = false;

    // Whole widths shrink by their largest common step: a bar holds the same pieces, in a smaller table.
    if (m_integral) {
        int64_t step = 0;
        for (const Item& item : m_items)
            step = std::gcd(step, int64_t(item.width));
        if (step > 1) {
            for (Item& item : m_items)
                item.width /= double(step);
            for (Stock& s : m_stocks)
                s.capacity = std::floor(s.capacity / double(step));
        }
    }
}

double ExactJob::load(const Cut& cut) const
{
    double total = 0;
    for (const auto& [item, count] : cut.entries)
        total += double(count) * m_items[size_t(item)].width;
    return total;
}

long double ExactJob::left(const Cut& cut) const
{
    long double used = 0;
    int64_t pieces = 0;
    for (const auto& [item, count] : cut.entries) {
        used += (long double)count * m_fit.part(m_items[size_t(item)].kind);
        pieces += count;
    }
    if (pieces > 0)
        used += (long double)(pieces - 1) * m_fit.blade();
    return m_fit.usable(cut.stock) - used;
}

bool ExactJob::fits(const Cut& cut) const
{
    if (cut.stock < 0 || cut.stock >= stocks() || cut.entries.empty())
        return false;
    return left(cut) >= 0;
}

float ExactJob::waste(const Cut& cut) const
{
    return m_fit.toLength(left(cut));
}

std::vector<int32_t> ExactJob::cuttableKinds(const std::vector<int64_t>& bars) const
{
    std::vector<int32_t> kinds;
    for (int32_t j = 0; j < stocks(); ++j)
        if (bars[size_t(j)] > 0 && capacity(j) > 0)
            kinds.push_back(j);
    return kinds;
}

bool ExactJob::usable() const
{
    // Costs beyond this would put the linear programs out of the solver's range.
    for (const Stock& s : m_stocks)
        if (!std::isfinite(s.barCost) || std::fabs(s.barCost) > 1e18 || !std::isfinite(s.capacity))
            return false;
    return std::isfinite(m_pieceCredit);
}

} // namespace exact
