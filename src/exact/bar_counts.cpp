#include "bar_counts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace exact {

namespace {

// Every choice of bar counts whose cost lies in [from, below), in no order, each handed to `take`. False when there
// are more than `most`, when the walk grows too long, or when `stopped` answers true.
bool walkBarCounts(const std::vector<double>& barCost, const std::vector<int64_t>& available, double from, double below,
                   size_t most, const std::function<bool()>& stopped, const std::function<void(const BarCounts&)>& take)
{
    const size_t kinds = barCost.size();
    if (kinds == 0 || below <= from)
        return true;
    const double slack = 1e-9 * std::max(1.0, below);
    BarCounts counts{0, std::vector<int64_t>(kinds, 0)};
    bool overflow = false;
    size_t found = 0;
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
                if (found >= most || (found % 4096 == 4095 && stopped && stopped())) {
                    overflow = true;
                    return;
                }
                counts.bars[kind] = n;
                counts.cost = total;
                ++found;
                take(counts);
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
    return !overflow;
}

} // namespace

std::optional<std::vector<BarCounts>> barCountsBetween(const std::vector<double>& barCost,
                                                       const std::vector<int64_t>& available, double from, double below,
                                                       size_t most, const std::function<bool()>& stopped)
{
    std::vector<BarCounts> found;
    if (!walkBarCounts(barCost, available, from, below, most, stopped,
                       [&](const BarCounts& counts) { found.push_back(counts); }))
        return std::nullopt;
    std::stable_sort(found.begin(), found.end(),
                     [](const BarCounts& a, const BarCounts& b) { return a.cost < b.cost; });
    return found;
}

bool barCountsCrowd(const std::vector<double>& barCost, const std::vector<int64_t>& available, double from,
                    double below, size_t most, const std::function<bool()>& stopped)
{
    return !walkBarCounts(barCost, available, from, below, most, stopped, [](const BarCounts&) {});
}

std::optional<BarCounts> barCountsAt(const std::vector<double>& barCost, const std::vector<int64_t>& available,
                                     double cost, double step, size_t head, size_t most)
{
    const size_t kinds = barCost.size();
    if (kinds < 2 || head + 1 >= kinds || !(step > 0))
        return std::nullopt;
    // In whole steps. The last kind makes up the rest, so the other kinds need only meet the rest modulo the last
    // kind's cost: the cheapest sum of their costs for each remainder is a shortest path on the remainders
    // (Dijkstra's algorithm), with the kind that reached each remainder for the counts.
    std::vector<int64_t> per;
    for (double value : barCost)
        per.push_back(std::llround(value / step));
    const int64_t target = std::llround(cost / step);
    const int64_t modulus = per.back();
    if (modulus <= 0 || per[head] <= 0 || size_t(modulus) > most || target < 0)
        return std::nullopt;
    std::vector<int64_t> cheapest(size_t(modulus), std::numeric_limits<int64_t>::max());
    std::vector<size_t> through(size_t(modulus), 0);
    using Entry = std::pair<int64_t, int64_t>; // sum, remainder
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    cheapest[0] = 0;
    queue.push({0, 0});
    while (!queue.empty()) {
        const auto [sum, remainder] = queue.top();
        queue.pop();
        if (sum > cheapest[size_t(remainder)])
            continue;
        for (size_t k = 0; k + 1 < kinds; ++k) {
            if (k == head || per[k] <= 0 || available[k] <= 0)
                continue;
            const int64_t next = (remainder + per[k]) % modulus;
            if (sum + per[k] < cheapest[size_t(next)]) {
                cheapest[size_t(next)] = sum + per[k];
                through[size_t(next)] = k;
                queue.push({sum + per[k], next});
            }
        }
    }
    // The most bars of the head kind that leave a rest the others make up.
    for (int64_t n = std::min<int64_t>(available[head], target / per[head]); n >= 0; --n) {
        BarCounts counts{0, std::vector<int64_t>(kinds, 0)};
        counts.bars[head] = n;
        int64_t rest = target - n * per[head];
        const int64_t remainder = rest % modulus;
        if (cheapest[size_t(remainder)] > rest)
            continue;
        for (int64_t r = remainder; r != 0;) {
            const size_t k = through[size_t(r)];
            ++counts.bars[k];
            rest -= per[k];
            r = ((r - per[k]) % modulus + modulus) % modulus;
        }
        counts.bars[kinds - 1] = rest / modulus;
        bool within = true;
        for (size_t k = 0; k < kinds; ++k) {
            within = within && counts.bars[k] <= available[k];
            counts.cost += double(counts.bars[k]) * barCost[k];
        }
        if (within)
            return counts;
    }
    return std::nullopt;
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
