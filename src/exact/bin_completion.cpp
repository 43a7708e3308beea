#include "bin_completion.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <random>

namespace exact {
namespace {

constexpr int64_t kStepsBetweenClockReads = 1024;

} // namespace

BinCompletion::BinCompletion(const ExactJob& job) : m_job(job)
{
    if (!job.integral())
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
    std::map<int64_t, CapacityClass, std::greater<>> byCapacity;
    for (int32_t j = 0; j < job.stocks(); ++j) {
        const int64_t capacity = std::llround(job.capacity(j));
        if (capacity <= 0)
            continue;
        CapacityClass& c = byCapacity[capacity];
        c.capacity = capacity;
        c.kinds.push_back(j);
    }
    if (pieces == 0 || byWidth.empty() || byCapacity.empty() || byWidth.begin()->first > byCapacity.begin()->first)
        return;
    for (auto& [width, group] : byWidth)
        m_groups.push_back(std::move(group));
    for (auto& [capacity, c] : byCapacity)
        m_classes.push_back(std::move(c));
    m_applies = true;

    // A plan's cost is the pieces' credit plus, per bar, its room and extra at the cost of one width.
    const int64_t widths = totalWidth();
    if (widths <= 0 || !(job.pieceCredit() > 0))
        return;
    const double unit = job.pieceCredit() / double(widths);
    bool alike = true;
    for (CapacityClass& c : m_classes) {
        const double cost = job.barCost(c.kinds.front());
        for (int32_t j : c.kinds)
            alike = alike && job.barCost(j) == cost;
        c.extra = std::max(0.0, cost / unit - double(c.capacity));
    }
    if (alike)
        m_unitCost = unit;
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
    const int64_t capacity = m_classes.empty() ? 0 : m_classes.front().capacity;
    return capacity > 0 ? (totalWidth() + capacity - 1) / capacity : 0;
}

bool BinCompletion::tight(int64_t bars) const
{
    return oneCapacity() && (bars * m_classes.front().capacity - totalWidth()) * 1000 < m_classes.front().capacity;
}

bool BinCompletion::outOfSteps()
{
    if (m_stopped)
        return true;
    if (--m_steps < 0 || (m_steps % kStepsBetweenClockReads == 0 && m_limits->reached()))
        m_stopped = true;
    return m_stopped;
}

int64_t BinCompletion::Bar::count(size_t group) const
{
    const auto at = std::lower_bound(held.begin(), held.end(), std::pair<size_t, int64_t>(group, 0));
    return at != held.end() && at->first == group ? at->second : 0;
}

void BinCompletion::change(size_t group, int64_t by)
{
    Group& changed = m_groups[group];
    m_places.change(m_placeOf[group], changed.left, changed.left + by);
    changed.left += by;
}

bool BinCompletion::open(double wasteLeft)
{
    const auto longest = std::find_if(m_groups.begin(), m_groups.end(), [](const Group& g) { return g.left > 0; });
    if (longest == m_groups.end())
        return false;
    // The longest piece left goes into the next bar: every bar holds some piece, so no plan is missed. Bars begun
    // by the same length come in one order: by class, then by their pieces, fullest first.
    const size_t first = size_t(longest - m_groups.begin());
    const std::ptrdiff_t previous =
        !m_bars.empty() && m_bars.back().first == first ? std::ptrdiff_t(m_bars.size()) - 1 : -1;
    change(first, -1);
    Opening opening;
    opening.first = first;
    opening.capacityClass = previous >= 0 ? m_bars[size_t(previous)].capacityClass : 0;
    opening.previous = previous;
    opening.wasteLeft = wasteLeft;
    opening.levels = m_levels.size();
    m_openings.push_back(opening);
    return true;
}

bool BinCompletion::nextClass(Opening& opening)
{
    if (opening.classTaken) {
        ++m_classes[opening.capacityClass].left;
        ++opening.capacityClass;
        opening.classTaken = false;
    }
    const int64_t width = m_groups[opening.first].width;
    for (; opening.capacityClass < m_classes.size(); ++opening.capacityClass) {
        CapacityClass& bars = m_classes[opening.capacityClass];
        const double waste = opening.wasteLeft - (m_withExtras ? bars.extra : 0.0);
        if (bars.left == 0 || bars.capacity < width || waste < -m_slack)
            continue;
        --bars.left;
        opening.classTaken = true;
        opening.barWaste = waste;
        const bool tight =
            opening.previous >= 0 && m_bars[size_t(opening.previous)].capacityClass == opening.capacityClass;
        pushLevel(0, bars.capacity - width, tight);
        return true;
    }
    return false;
}

void BinCompletion::pushLevel(size_t at, int64_t room, bool tight)
{
    if (outOfSteps())
        return;
    Level level;
    level.at = at;
    level.room = room;
    level.tight = tight;
    m_levels.push_back(level);
}

void BinCompletion::tryCount(const Opening& opening)
{
    Level& level = m_levels.back();
    const size_t g = m_order[level.at];
    const int64_t base = g == opening.first ? 1 : 0;
    const int64_t before = level.tight ? m_bars[size_t(opening.previous)].count(g) : 0;
    if (level.taken > 0) {
        change(g, -level.taken);
        // While the bar equals the previous one, it may not take more of a length than that one.
        const bool tight = level.tight && base + level.taken == before;
        pushLevel(level.at + 1, level.room - level.taken * m_groups[g].width, tight);
        return;
    }
    if (level.tight && base < before)
        level.tight = false;
    ++level.at;
    level.counted = false;
}

void BinCompletion::popLevel(const Opening& opening)
{
    m_levels.pop_back();
    if (m_levels.size() == opening.levels)
        return;
    Level& parent = m_levels.back();
    change(m_order[parent.at], parent.taken);
    --parent.taken;
    tryCount(opening);
}

bool BinCompletion::closes(const Opening& opening, const Level& level) const
{
    // A bar that still has room for a piece left is no completion: the piece can always move up into it.
    return double(level.room) <= opening.barWaste + m_slack && m_places.narrowest() > level.room;
}

BinCompletion::Bar BinCompletion::barOf(const Opening& opening) const
{
    Bar bar{opening.capacityClass, opening.first, {{opening.first, 1}}};
    for (size_t l = opening.levels; l < m_levels.size(); ++l) {
        const Level& level = m_levels[l];
        if (level.taken <= 0)
            continue;
        const size_t group = m_order[level.at];
        if (group == opening.first)
            bar.held.front().second += level.taken;
        else
            bar.held.emplace_back(group, level.taken);
    }
    std::sort(bar.held.begin(), bar.held.end());
    return bar;
}

size_t BinCompletion::nextPlace(const Opening& opening, const Level& level) const
{
    // Lengths too long for the room are passed over at once; while the bar is still compared with the previous
    // one, not the lengths that one holds, as passing them may end the comparison.
    size_t next = m_places.fitting(level.at, level.room);
    if (level.tight)
        for (const auto& [group, count] : m_bars[size_t(opening.previous)].held)
            if (m_placeOf[group] >= level.at)
                next = std::min(next, m_placeOf[group]);
    return next;
}

bool BinCompletion::advance(const Opening& opening)
{
    Level& level = m_levels.back();
    if (level.counted) {
        tryCount(opening);
        return false;
    }
    level.at = nextPlace(opening, level);
    if (level.at == m_order.size()) {
        // Every length is tried: the bar closes here, and the next bar is begun from what is left.
        if (level.closed || !closes(opening, level)) {
            popLevel(opening);
            return false;
        }
        level.closed = true;
        const double wasteLeft = opening.barWaste - double(level.room);
        m_bars.push_back(barOf(opening));
        return !open(wasteLeft);
    }
    // Even every piece left from here on would leave more room than the plan can waste.
    if (double(m_places.widthsFrom(level.at)) < double(level.room) - opening.barWaste - m_slack) {
        popLevel(opening);
        return false;
    }
    // As many as fit first: the fullest bars are tried first.
    const size_t g = m_order[level.at];
    int64_t most = std::min(m_groups[g].left, level.room / m_groups[g].width);
    if (level.tight)
        most = std::min(most, m_bars[size_t(opening.previous)].count(g) - (g == opening.first ? 1 : 0));
    level.counted = true;
    level.taken = std::max<int64_t>(most, 0);
    tryCount(opening);
    return false;
}

bool BinCompletion::fillBars(double wasteLeft)
{
    // Depth first on a stack of its own: a bar at each opening, a place of its completion at each level.
    m_openings.clear();
    m_levels.clear();
    if (!open(wasteLeft))
        return true;
    while (!m_openings.empty() && !m_stopped) {
        Opening& opening = m_openings.back();
        if (m_levels.size() > opening.levels) {
            if (advance(opening))
                return true;
            continue;
        }
        // Every completion of the bar in its class is tried: the next class, or back to the bar before.
        if (nextClass(opening))
            continue;
        change(opening.first, 1);
        m_openings.pop_back();
        if (!m_openings.empty())
            m_bars.pop_back();
    }
    return false;
}

BinCompletion::Start BinCompletion::begin(const std::vector<int64_t>& bars, const Limits& limits, int64_t steps,
                                          uint32_t variation)
{
    // Longest first, or nearly so: each length's place moved by up to a quarter of its width.
    m_order.resize(m_groups.size());
    std::iota(m_order.begin(), m_order.end(), size_t(0));
    if (variation > 0) {
        std::mt19937 random(variation);
        std::uniform_real_distribution<double> noise(1.0, 1.25);
        std::vector<double> key;
        for (const Group& group : m_groups)
            key.push_back(double(group.width) * noise(random));
        std::stable_sort(m_order.begin(), m_order.end(), [&](size_t a, size_t b) { return key[a] > key[b]; });
    }
    int64_t total = 0;
    for (Group& group : m_groups) {
        group.left = 0;
        for (int32_t item : group.items)
            group.left += m_job.demand(item);
        total += group.left * group.width;
    }
    int64_t room = 0;
    for (CapacityClass& c : m_classes) {
        c.left = 0;
        for (int32_t j : c.kinds)
            c.left += std::min<int64_t>(bars[size_t(j)], m_job.stockQty(j));
        room += c.left * c.capacity;
    }
    // The lengths left by their place in that order.
    m_placeOf.assign(m_groups.size(), 0);
    std::vector<int64_t> widths;
    for (size_t p = 0; p < m_order.size(); ++p) {
        m_placeOf[m_order[p]] = p;
        widths.push_back(m_groups[m_order[p]].width);
    }
    m_places.reset(widths);
    for (size_t g = 0; g < m_groups.size(); ++g)
        m_places.change(m_placeOf[g], 0, m_groups[g].left);
    m_limits = &limits;
    m_steps = steps;
    m_stopped = false;
    m_bars.clear();
    return room >= total ? Start::Go : Start::Impossible;
}

BinCompletion::Outcome BinCompletion::search(const std::vector<int64_t>& bars, const Limits& limits, int64_t steps,
                                             Layout& layout, uint32_t variation)
{
    if (!m_applies)
        return Outcome::Unfinished;
    if (begin(bars, limits, steps, variation) == Start::Impossible)
        return Outcome::Impossible;
    // Whole widths: the room left is exact.
    m_withExtras = false;
    m_slack = 0.5;
    int64_t room = 0;
    for (const CapacityClass& c : m_classes)
        room += c.left * c.capacity;
    if (fillBars(double(room - totalWidth()))) {
        layout = layoutOf(bars);
        return Outcome::Found;
    }
    return m_stopped ? Outcome::Unfinished : Outcome::Impossible;
}

BinCompletion::Outcome BinCompletion::searchWithin(double cost, const Limits& limits, int64_t steps, Layout& layout,
                                                   uint32_t variation)
{
    if (!appliesWithin())
        return Outcome::Unfinished;
    std::vector<int64_t> bars(size_t(m_job.stocks()));
    for (int32_t j = 0; j < m_job.stocks(); ++j)
        bars[size_t(j)] = m_job.stockQty(j);
    if (begin(bars, limits, steps, variation) == Start::Impossible)
        return Outcome::Impossible;
    m_withExtras = true;
    // Rounding of the costs may let a comparison pass, never fail.
    const double allowance = cost / m_unitCost - double(totalWidth());
    m_slack = 1e-9 * std::max({1.0, std::fabs(allowance), double(totalWidth())});
    if (allowance < -m_slack)
        return Outcome::Impossible;
    if (fillBars(allowance)) {
        layout = layoutOf(bars);
        return Outcome::Found;
    }
    return m_stopped ? Outcome::Unfinished : Outcome::Impossible;
}

std::optional<Layout> BinCompletion::search(int64_t bars, const Limits& limits, int64_t steps)
{
    std::vector<int64_t> counts(size_t(m_job.stocks()), 0);
    for (int32_t j = 0; j < m_job.stocks() && bars > 0; ++j) {
        counts[size_t(j)] = std::min<int64_t>(bars, m_job.stockQty(j));
        bars -= counts[size_t(j)];
    }
    Layout layout;
    if (search(counts, limits, steps, layout) != Outcome::Found)
        return std::nullopt;
    return layout;
}

Layout BinCompletion::layoutOf(const std::vector<int64_t>& bars) const
{
    // Counts per width become the items of that width; a class's bars are taken from its stocks in order, within
    // the bars asked for.
    std::vector<int32_t> itemsLeft(size_t(m_job.items()));
    for (int32_t i = 0; i < m_job.items(); ++i)
        itemsLeft[size_t(i)] = m_job.demand(i);
    std::vector<int64_t> stockLeft(size_t(m_job.stocks()));
    for (int32_t j = 0; j < m_job.stocks(); ++j)
        stockLeft[size_t(j)] = std::min<int64_t>(bars[size_t(j)], m_job.stockQty(j));
    Layout layout;
    for (const Bar& bar : m_bars) {
        Cut cut;
        for (int32_t j : m_classes[bar.capacityClass].kinds) {
            if (stockLeft[size_t(j)] > 0) {
                cut.stock = j;
                --stockLeft[size_t(j)];
                break;
            }
        }
        for (const auto& [g, count] : bar.held) {
            int64_t wanted = count;
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
        addCuts(layout, cut, 1);
    }
    return layout;
}

} // namespace exact
