#include "heuristics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace exact {

namespace {

// Bars cut alike, kept together: first fit fills them all the same way, so a job of millions of pieces makes a
// few groups rather than millions of bars.
struct BarGroup {
    int32_t stock;
    double room; // left on each bar
    std::vector<std::pair<int32_t, int32_t>> entries;
    int64_t times;
};

// How many pieces of the width one bar with this room takes, at most `most`.
int64_t piecesFitting(double room, double width, int64_t most)
{
    if (!(width > 0) || room < width)
        return 0;
    int64_t n = std::min<int64_t>(most, int64_t(std::floor(room / width)));
    while (n > 0 && double(n) * width > room)
        --n;
    while (n < most && double(n + 1) * width <= room)
        ++n;
    return n;
}

void addPieces(BarGroup& group, int32_t item, int64_t pieces, double width)
{
    group.room -= double(pieces) * width;
    if (!group.entries.empty() && group.entries.back().first == item)
        group.entries.back().second += int32_t(pieces);
    else
        group.entries.emplace_back(item, int32_t(pieces));
}

} // namespace

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

    // Each piece, longest first, on the first bar with room, as piece-by-piece first fit would put it: the bars of
    // a group take the same number each, and a group that runs out of pieces part-way splits in two or three.
    std::vector<BarGroup> open;
    for (int32_t item : order) {
        int64_t left = demand[size_t(item)];
        const double width = m_job.width(item);
        for (size_t g = 0; g < open.size() && left > 0; ++g) {
            const int64_t fit = piecesFitting(open[g].room, width, left);
            if (fit == 0)
                continue;
            BarGroup& group = open[g];
            if (left >= fit * group.times) {
                addPieces(group, item, fit, width);
                left -= fit * group.times;
                continue;
            }
            const int64_t full = left / fit;
            const int64_t rest = left % fit;
            BarGroup untouched = group;
            untouched.times = group.times - full - (rest > 0 ? 1 : 0);
            BarGroup partial = group;
            partial.times = 1;
            addPieces(partial, item, rest, width);
            group.times = full;
            addPieces(group, item, fit, width);
            size_t at = g + 1;
            for (BarGroup* next : {&partial, &untouched})
                if (next->times > 0 && !(next == &partial && rest == 0))
                    open.insert(open.begin() + std::ptrdiff_t(at++), *next);
            if (full == 0)
                open.erase(open.begin() + std::ptrdiff_t(g));
            left = 0;
        }
        while (left > 0) {
            const auto kind = std::find_if(kinds.begin(), kinds.end(), [&](int32_t j) {
                return bars[size_t(j)] > 0 && m_job.capacity(j) >= width;
            });
            if (kind == kinds.end())
                return std::nullopt;
            const int64_t perBar = piecesFitting(m_job.capacity(*kind), width, left);
            const int64_t times = std::max<int64_t>(1, std::min(bars[size_t(*kind)], left / perBar));
            const int64_t pieces = std::min(perBar, left);
            BarGroup group{*kind, m_job.capacity(*kind), {}, times};
            addPieces(group, item, pieces, width);
            open.push_back(std::move(group));
            bars[size_t(*kind)] -= times;
            left -= pieces * times;
        }
    }

    // Every group moves to the cheapest kind that still takes its pieces, as far as that kind has bars; at the same
    // cost to a stock marked Yes.
    Layout layout;
    for (BarGroup& group : open) {
        Cut cut;
        cut.stock = group.stock;
        cut.entries = group.entries;
        std::sort(cut.entries.begin(), cut.entries.end());
        int64_t times = group.times;
        if (!m_job.fits(cut))
            return std::nullopt;
        // The kind these bars would rather be: lower cost, then marked Yes; the bars in hand count as available.
        auto better = [&](int32_t a, int32_t b) {
            const double ca = m_job.barCost(a);
            const double cb = m_job.barCost(b);
            if (std::fabs(ca - cb) > 1e-12 * std::max(ca, cb))
                return ca < cb;
            return m_job.stockPriority(a) && !m_job.stockPriority(b);
        };
        while (times > 0) {
            int32_t best = group.stock;
            for (int32_t j : kinds) {
                Cut moved = cut;
                moved.stock = j;
                if (bars[size_t(j)] > 0 && better(j, best) && m_job.capacity(j) >= m_job.load(cut) && m_job.fits(moved))
                    best = j;
            }
            const int64_t moving = best == group.stock ? times : std::min(times, bars[size_t(best)]);
            if (best != group.stock) {
                bars[size_t(best)] -= moving;
                bars[size_t(group.stock)] += moving;
            }
            Cut placed = cut;
            placed.stock = best;
            addCuts(layout, placed, moving);
            times -= moving;
        }
    }
    return layout;
}

} // namespace exact
