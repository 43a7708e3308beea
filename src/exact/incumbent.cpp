#include "incumbent.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace exact {

namespace {

// Among plans of one cost: more bars of the stocks marked Yes, then the left-over gathered in one long remnant.
std::pair<int64_t, float> preference(const ExactJob& job, const Layout& layout)
{
    std::pair<int64_t, float> preferred{0, 0.0f};
    for (const auto& [cut, times] : layout.cuts) {
        if (job.stockPriority(cut.stock))
            preferred.first += times;
        preferred.second = std::max(preferred.second, job.waste(cut));
    }
    return preferred;
}

double tolerance(double value)
{
    return 1e-9 * std::max(1.0, std::fabs(value));
}

} // namespace

bool Incumbent::offer(const Layout& layout)
{
    const double cost = layout.cost(m_job);
    const std::pair<int64_t, float> preferred = preference(m_job, layout);
    const std::lock_guard lock(m_mutex);
    const bool cheaper = !m_best || cost < m_cost - tolerance(cost);
    if (!cheaper && !(cost <= m_cost + tolerance(cost) && preferred > m_preference))
        return false;
    m_best = layout;
    m_cost = cost;
    m_preference = preferred;
    updateProven();
    return true;
}

void Incumbent::replace(const Layout& layout)
{
    const std::pair<int64_t, float> preferred = preference(m_job, layout);
    const std::lock_guard lock(m_mutex);
    m_best = layout;
    m_cost = layout.cost(m_job);
    m_preference = preferred;
    updateProven();
}

void Incumbent::raiseBound(double bound)
{
    const std::lock_guard lock(m_mutex);
    m_bound = m_boundKnown ? std::max(m_bound, bound) : bound;
    m_boundKnown = true;
    updateProven();
}

bool Incumbent::hasPlan() const
{
    const std::lock_guard lock(m_mutex);
    return m_best.has_value();
}

std::optional<Layout> Incumbent::best() const
{
    const std::lock_guard lock(m_mutex);
    return m_best;
}

double Incumbent::cost() const
{
    const std::lock_guard lock(m_mutex);
    return m_best ? m_cost : std::numeric_limits<double>::infinity();
}

bool Incumbent::boundKnown() const
{
    const std::lock_guard lock(m_mutex);
    return m_boundKnown;
}

double Incumbent::bound() const
{
    const std::lock_guard lock(m_mutex);
    return m_bound;
}

void Incumbent::updateProven()
{
    m_proven.store(m_best && m_boundKnown && m_cost <= m_bound + tolerance(m_bound), std::memory_order_release);
}

double Incumbent::belowBest() const
{
    const std::lock_guard lock(m_mutex);
    return m_best ? m_cost - tolerance(m_cost) : std::numeric_limits<double>::infinity();
}

} // namespace exact
