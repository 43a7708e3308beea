#include "bin_completion.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace exact {
namespace {

// Deeper searches could outgrow the stack of the engine's thread: one frame per kind of piece in a bar.
constexpr int64_t kMostPieces = 4000;
constexpr int64_t kStepsBetweenClockReads = 1024;

} // namespace

BinCompletion::BinCompletion(const ExactJob& job) : m_job(job)
{
    if (!job.integral() || !job.barsMeasure())
        return;
    int64_t pieces = 0;
    std::map<int64_t, Group, std::greater<>> byWidth;
    for (int32_t i = 0; i < job.items(); ++i) {
        const int64_t width = std::llround(job.width(i));
        Group& group = byWidth[width];
        group.width = width;
        group.items.push_back(i);
        pieces += job.demand(i);
    }
    for (int32_t j = 0; j < job.stocks(); ++j)
        if (job.stockQty(j) > 0)
            m_capacity = std::llround(job.capacity(j));
    if (m_capacity <= 0 || pieces > kMostPieces || byWidth.empty() || byWidth.begin()->first > m_capacity)
        return;
    for (auto& [width, group] : byWidth)
        m_groups.push_back(std::move(group));
    m_applies = true;
}

int64_t BinCompletion::totalWidth() const
{
    int64_t total = 0;
    for (const Group& group : m_groups)
        for (int32_t item : group.items)
            total += group.width * m_job.demand(item);
    return total;
}

int64_t BinCompletion::fewestBars() const
{
    return m_capacity > 0 ? (totalWidth() + m_capacity - 1) / m_capacity : 0;
}

bool BinCompletion::tight(int64_t bars) const
{
    return m_applies && (bars * m_capacity - totalWidth()) * 1000 < m_capacity;
}

bool BinCompletion::outOfSteps()
{
    if (m_stopped)
        return true;
    if (--m_steps < 0 || (m_steps % kStepsBetweenClockReads == 0 && m_limits->reached()))
        m_stopped = true;
    return m_stopped;
}

bool BinCompletion::fillBars(int64_t barsLeft, int64_t wasteLeft)
{
    const auto longest = std::find_if(m_groups.begin(), m_groups.end(), [](const Group& g) { return g.left > 0; });
    if (longest == m_groups.end())
        return true;
    if (barsLeft == 0)
        return false;
    // The longest piece left goes into the next bar: every bar holds some piece, so no plan is missed.
    const size_t first = size_t(longest - m_groups.begin());
    --longest->left;
    m_bar.assign(m_groups.size(), 0);
    m_bar[first] = 1;
    std::vector<int64_t> reach(m_groups.size() + 1, 0);
    for (size_t g = m_groups.size(); g-- > 0;)
        reach[g] = reach[g + 1] + m_groups[g].left * m_groups[g].width;
    std::swap(reach, m_reach);
    const bool done = complete(first, m_capacity - longest->width, barsLeft, wasteLeft);
    std::swap(reach, m_reach);
    ++longest->left;
    return done;
}

bool BinCompletion::complete(size_t group, int64_t room, int64_t barsLeft, int64_t wasteLeft)
{
    if (outOfSteps())
        return false;
    for (; group < m_groups.size(); ++group) {
        Group& current = m_groups[group];
        // Even every piece left from here on would leave more room than the plan can waste.
        if (m_reach[group] < room - wasteLeft)
            return false;
        if (current.left == 0 || current.width > room)
            continue;
        // As many as fit first: the fullest bars are tried first.
        for (int64_t count = std::min(current.left, room / current.width); count > 0; --count) {
            current.left -= count;
            m_bar[group] += count;
            const bool done = complete(group + 1, room - count * current.width, barsLeft, wasteLeft);
            current.left += count;
            m_bar[group] -= count;
            if (done || m_stopped)
                return done;
        }
    }
    if (room > wasteLeft)
        return false;
    // The bar is closed; the next bars are filled from what is left.
    m_bars.push_back(m_bar);
    if (fillBars(barsLeft - 1, wasteLeft - room))
        return true;
    m_bar = m_bars.back();
    m_bars.pop_back();
    return false;
}

std::optional<Layout> BinCompletion::search(int64_t bars, const Limits& limits, int64_t steps)
{
    if (!m_applies)
        return std::nullopt;
    int64_t total = 0;
    int64_t free = 0;
    for (Group& group : m_groups) {
        group.left = 0;
        for (int32_t item : group.items)
            group.left += m_job.demand(item);
        total += group.left * group.width;
    }
    for (int32_t j = 0; j < m_job.stocks(); ++j)
        free += m_job.stockQty(j);
    bars = std::min(bars, free);
    if (bars * m_capacity < total)
        return std::nullopt;
    m_limits = &limits;
    m_steps = steps;
    m_stopped = false;
    m_bars.clear();
    if (!fillBars(bars, bars * m_capacity - total))
        return std::nullopt;

    // Counts per width become the items of that width, and the bars are taken from the stocks in order.
    std::vector<int32_t> itemsLeft(size_t(m_job.items()));
    for (int32_t i = 0; i < m_job.items(); ++i)
        itemsLeft[size_t(i)] = m_job.demand(i);
    int32_t stock = 0;
    int64_t stockLeft = m_job.stockQty(0);
    Layout layout;
    for (const std::vector<int64_t>& counts : m_bars) {
        while (stockLeft == 0) {
            ++stock;
            stockLeft = m_job.stockQty(stock);
        }
        --stockLeft;
        Cut cut;
        cut.stock = stock;
        for (size_t g = 0; g < m_groups.size(); ++g) {
            int64_t wanted = counts[g];
            for (int32_t item : m_groups[g].items) {
                const int32_t taken = int32_t(std::min<int64_t>(wanted, itemsLeft[size_t(item)]));
                if (taken > 0) {
                    cut.entries.emplace_back(item, taken);
                    itemsLeft[size_t(item)] -= taken;
                    wanted -= taken;
                }
            }
        }
        std::sort(cut.entries.begin(), cut.entries.end());
        if (!m_job.fits(cut))
            return std::nullopt;
        addCuts(layout, cut, 1);
    }
    return layout;
}

} // namespace exact
