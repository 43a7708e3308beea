#include "bar_counts.h"

#include <algorithm>

namespace exact {

std::optional<std::vector<BarCounts>> barCountsBetween(const std::vector<double>& barCost,
                                                       const std::vector<int64_t>& available, double from, double below,
                                                       size_t most, const std::function<bool()>& stopped)
{
    std::vector<BarCounts> found;
    const size_t kinds = barCost.size();
    if (kinds == 0 || below <= from)
        return found;
    const double slack = 1e-9 * std::max(1.0, below);
    BarCounts counts{0, std::vector<int64_t>(kinds, 0)};
    bool overflow = false;
    // The counts of the kinds before the last one are walked too: a bound on that walk as well.
    size_t steps = 0;
    auto walk = [&](auto& self, size_t kind, double cost) -> void {
        if (overflow || ++steps > 50 * most || (steps % 4096 == 0 && stopped && stopped())) {
            overflow = true;
            return;
        }
        if (kind + 1 == kinds) {
            // The last kind: only the counts that land in the window.
            const double per = barCost[kind];
            int64_t first = 0;
            if (cost < from - slack && per > 0)
                first = int64_t((from - cost - slack) / per);
            for (int64_t n = std::max<int64_t>(first, 0); n <= available[kind]; ++n) {
                const double total = cost + double(n) * per;
                if (total >= below - slack)
                    break;
                if (total < from - slack)
                    continue;
                if (found.size() >= most || (found.size() % 4096 == 4095 && stopped && stopped())) {
                    overflow = true;
                    return;
                }
                counts.bars[kind] = n;
                counts.cost = total;
                found.push_back(counts);
                if (per <= 0)
                    break;
            }
            counts.bars[kind] = 0;
            return;
        }
        for (int64_t n = 0; n <= available[kind]; ++n) {
            const double total = cost + double(n) * barCost[kind];
            if (total >= below - slack)
                break;
            counts.bars[kind] = n;
            self(self, kind + 1, total);
            if (barCost[kind] <= 0 || overflow)
                break;
        }
        counts.bars[kind] = 0;
    };
    walk(walk, 0, 0.0);
    if (overflow)
        return std::nullopt;
    std::stable_sort(found.begin(), found.end(),
                     [](const BarCounts& a, const BarCounts& b) { return a.cost < b.cost; });
    return found;
}

BarRoom::BarRoom(const ExactJob& job) : m_job(job), m_widerThan(size_t(job.stocks()), 0.0)
{
    for (int32_t i = 0; i < job.items(); ++i) {
        const double widths = job.width(i) * job.demand(i);
        m_widths += widths;
        for (int32_t j = 0; j < job.stocks(); ++j)
            if (job.width(i) > job.capacity(j))
                m_widerThan[size_t(j)] += widths;
    }
}

double BarRoom::roomAbove(const std::vector<int64_t>& bars, double capacity) const
{
    double room = 0;
    for (int32_t k = 0; k < m_job.stocks(); ++k)
        if (m_job.capacity(k) > capacity)
            room += double(bars[size_t(k)]) * m_job.capacity(k);
    return room;
}

bool BarRoom::enough(const std::vector<int64_t>& bars) const
{
    // A piece longer than one kind's bars goes on a longer kind.
    const double slack = 1e-9 * std::max(1.0, m_widths);
    if (roomAbove(bars, -1) < m_widths - slack)
        return false;
    for (int32_t j = 0; j < m_job.stocks(); ++j)
        if (roomAbove(bars, m_job.capacity(j)) < m_widerThan[size_t(j)] - slack)
            return false;
    return true;
}

} // namespace exact
