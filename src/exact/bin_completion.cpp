#include "bin_completion.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <random>

namespace exact {
namespace {

// Deeper searches could outgrow the stack of the engine's thread (8 MB): at most one frame per piece and two per bar,
// of about these sizes in bytes in the largest (checked) builds.
constexpr int64_t kStackPerPiece = 300;
constexpr int64_t kStackPerBar = 700;
constexpr int64_t kStackBudget = 5'000'000;
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
    if (pieces * kStackPerPiece > kStackBudget || byWidth.empty() || byCapacity.empty() ||
        byWidth.begin()->first > byCapacity.begin()->first)
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

bool BinCompletion::fillBars(double wasteLeft)
{
    const auto longest = std::find_if(m_groups.begin(), m_groups.end(), [](const Group& g) { return g.left > 0; });
    if (longest == m_groups.end())
        return true;
    // The longest piece left goes into the next bar: every bar holds some piece, so no plan is missed. Bars begun
    // by the same length come in one order: by class, then by their pieces, fullest first.
    const size_t first = size_t(longest - m_groups.begin());
    const Bar* previous = !m_bars.empty() && m_bars.back().first == first ? &m_bars.back() : nullptr;
    std::vector<int64_t> reach(m_groups.size() + 1, 0);
    --longest->left;
    for (size_t p = m_order.size(); p-- > 0;)
        reach[p] = reach[p + 1] + m_groups[m_order[p]].left * m_groups[m_order[p]].width;
    bool done = false;
    for (size_t c = previous ? previous->capacityClass : 0; c < m_classes.size() && !done && !m_stopped; ++c) {
        CapacityClass& bars = m_classes[c];
        const double open = wasteLeft - (m_withExtras ? bars.extra : 0.0);
        if (bars.left == 0 || bars.capacity < longest->width || open < -m_slack)
            continue;
        --bars.left;
        std::swap(reach, m_reach);
        const Bar* outer = m_previous;
        m_previous = previous && previous->capacityClass == c ? previous : nullptr;
        m_bar = Bar{c, first, std::vector<int64_t>(m_groups.size(), 0)};
        m_bar.counts[first] = 1;
        done = complete(0, bars.capacity - longest->width, open, m_previous != nullptr);
        m_previous = outer;
        std::swap(reach, m_reach);
        ++bars.left;
    }
    ++longest->left;
    return done;
}

bool BinCompletion::complete(size_t position, int64_t room, double wasteLeft, bool tight)
{
    if (outOfSteps())
        return false;
    for (; position < m_order.size(); ++position) {
        // Even every piece left from here on would leave more room than the plan can waste.
        if (double(m_reach[position]) < double(room) - wasteLeft - m_slack)
            return false;
        const size_t group = m_order[position];
        Group& current = m_groups[group];
        // While the bar equals the last one begun by the same length, it may not take more of a length than that one.
        int64_t most = std::min(current.left, room / current.width);
        if (tight)
            most = std::min(most, m_previous->counts[group] - m_bar.counts[group]);
        // As many as fit first: the fullest bars are tried first.
        for (int64_t count = most; count > 0; --count) {
            current.left -= count;
            m_bar.counts[group] += count;
            const bool stillTight = tight && m_bar.counts[group] == m_previous->counts[group];
            const bool done = complete(position + 1, room - count * current.width, wasteLeft, stillTight);
            current.left += count;
            m_bar.counts[group] -= count;
            if (done || m_stopped)
                return done;
        }
        if (tight && m_bar.counts[group] < m_previous->counts[group])
            tight = false;
    }
    return closeBar(room, wasteLeft);
}

bool BinCompletion::closeBar(int64_t room, double wasteLeft)
{
    if (double(room) > wasteLeft + m_slack)
        return false;
    // A bar that still has room for a piece left is no completion: the piece can always move up into it.
    for (size_t g = m_groups.size(); g-- > 0;) {
        if (m_groups[g].left == 0)
            continue;
        if (m_groups[g].width <= room)
            return false;
        break;
    }
    // The bar is closed; the next bars are filled from what is left.
    m_bars.push_back(m_bar);
    const Bar* outer = m_previous;
    const bool done = fillBars(wasteLeft - room);
    m_previous = outer;
    if (!done) {
        m_bar = std::move(m_bars.back());
        m_bars.pop_back();
    }
    return done;
}

bool BinCompletion::shallowEnough(const std::vector<int64_t>& bars) const
{
    int64_t pieces = 0;
    for (int32_t i = 0; i < m_job.items(); ++i)
        pieces += m_job.demand(i);
    int64_t most = 0;
    for (int32_t j = 0; j < m_job.stocks(); ++j)
        most += std::min<int64_t>(bars[size_t(j)], m_job.stockQty(j));
    return pieces * kStackPerPiece + std::min(pieces, most) * kStackPerBar <= kStackBudget;
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
    if (!shallowEnough(bars))
        return Start::TooDeep;
    int64_t pieces = 0;
    for (const Group& group : m_groups)
        pieces += group.left;
    m_limits = &limits;
    m_steps = steps;
    m_stopped = false;
    m_bars.clear();
    // Bars point at the last bar begun by their length: the list never moves.
    m_bars.reserve(size_t(pieces) + 1);
    m_previous = nullptr;
    return room >= total ? Start::Go : Start::Impossible;
}

BinCompletion::Outcome BinCompletion::search(const std::vector<int64_t>& bars, const Limits& limits, int64_t steps,
                                             Layout& layout, uint32_t variation)
{
    if (!m_applies)
        return Outcome::Unfinished;
    if (const Start start = begin(bars, limits, steps, variation); start != Start::Go)
        return start == Start::Impossible ? Outcome::Impossible : Outcome::Unfinished;
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
    if (const Start start = begin(bars, limits, steps, variation); start != Start::Go)
        return start == Start::Impossible ? Outcome::Impossible : Outcome::Unfinished;
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
        for (size_t g = 0; g < m_groups.size(); ++g) {
            int64_t wanted = bar.counts[g];
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
