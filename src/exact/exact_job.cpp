#include "exact_job.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace exact {

namespace {

// The value as a whole number of 1/units, when it is the float of a decimal with that many places.
bool wholeUnits(float value, double units, int64_t& result)
{
    const long double scaled = (long double)value * units;
    if (!(std::fabs(scaled) < 2.0e9L))
        return false;
    const long double rounded = std::nearbyint(scaled);
    if (float(rounded / units) != value)
        return false;
    result = int64_t(rounded);
    return true;
}

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

ExactJob::ExactJob(const std::vector<optimizer::strPart>& parts, const std::vector<optimizer::strStock>& stocks,
                   const optimizer::CutSettings& settings, int32_t scale)
    : m_blade(settings.bladeWidth), m_stub(settings.stubLength), m_costOptimization(settings.costOptimization)
{
    // The coarsest decimal unit in which every length is whole.
    std::vector<float> lengths{m_blade, m_stub};
    for (const optimizer::strPart& part : parts)
        lengths.push_back(part.length);
    for (const optimizer::strStock& stock : stocks)
        lengths.push_back(stock.length);
    for (double units : {1.0, 10.0, 100.0, 1000.0}) {
        int64_t whole = 0;
        if (std::all_of(lengths.begin(), lengths.end(), [&](float v) { return wholeUnits(v, units, whole); })) {
            m_integral = true;
            m_units = units;
            break;
        }
    }
    auto inUnits = [&](float value) -> double {
        int64_t whole = 0;
        if (m_integral && wholeUnits(value, m_units, whole))
            return double(whole);
        return double(value);
    };

    const double blade = inUnits(m_blade);
    const double stub = inUnits(m_stub);
    for (int32_t i = 0; i < int32_t(parts.size()); ++i)
        if (parts[size_t(i)].qty > 0)
            m_items.push_back(
                {i, parts[size_t(i)].qty, inUnits(parts[size_t(i)].length) + blade, parts[size_t(i)].length});

    std::vector<double> barCosts;
    for (const optimizer::strStock& stock : stocks) {
        Stock s;
        s.qty = std::max(0, stock.qty);
        s.priority = stock.priority;
        s.capacity = inUnits(stock.length) - stub + blade;
        s.length = stock.length;
        s.barCost = double(scale) * (s.capacity / m_units);
        if (m_costOptimization)
            s.barCost += 100.0 * double(stock.cost);
        m_stocks.push_back(s);
        barCosts.push_back(s.barCost);
    }
    for (const Item& item : m_items)
        m_pieceCredit += double(scale) * (item.width / m_units) * item.demand;
    m_costStep = m_integral || m_costOptimization ? commonStep(barCosts) : 0;

    m_barsMeasure = !m_costOptimization;
    for (const Stock& s : m_stocks)
        if (s.qty > 0 && s.capacity != m_stocks.front().capacity)
            m_barsMeasure = false;
}

double ExactJob::load(const Cut& cut) const
{
    double total = 0;
    for (const auto& [item, count] : cut.entries)
        total += double(count) * m_items[size_t(item)].width;
    return total;
}

bool ExactJob::fits(const Cut& cut) const
{
    if (cut.stock < 0 || cut.stock >= stocks() || cut.entries.empty())
        return false;
    if (m_integral)
        return load(cut) <= capacity(cut.stock);
    // At extended precision of the stored values, as the search measures a bar.
    long double used = m_stub + (long double)(cut.pieces() - 1) * m_blade;
    for (const auto& [item, count] : cut.entries)
        used += (long double)count * m_items[size_t(item)].length;
    return used <= m_stocks[size_t(cut.stock)].length;
}

float ExactJob::waste(const Cut& cut) const
{
    long double left = 0;
    if (m_integral) {
        left = (long double)(capacity(cut.stock) - load(cut)) / m_units;
    } else {
        long double used = m_stub + (long double)(cut.pieces() - 1) * m_blade;
        for (const auto& [item, count] : cut.entries)
            used += (long double)count * m_items[size_t(item)].length;
        left = std::max(0.0L, m_stocks[size_t(cut.stock)].length - used);
    }
    // The largest float not above what is really left, so the bar is never shown longer than it is.
    float waste = float(left);
    if ((long double)waste > left)
        waste = std::nextafter(waste, 0.0f);
    return std::max(0.0f, waste);
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
