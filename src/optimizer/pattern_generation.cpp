#include "rpcut.h"

#include <algorithm>
#include <cmath>

namespace optimizer {

namespace {

using Extended = long double;

// Whole-number truncation toward zero that can't overflow: values out of the 64-bit range are clamped.
int64_t truncWhole(Extended value)
{
    if (!(value == value))
        return 0;
    if (value >= Extended(9.0e18))
        return int64_t(9000000000000000000LL);
    if (value <= Extended(-9.0e18))
        return -int64_t(9000000000000000000LL);
    return int64_t(value);
}

// A piece count from a quotient, clamped to the int32 range the records hold.
int32_t truncCount(Extended value)
{
    const int64_t n = truncWhole(value);
    return int32_t(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

strPattern noPattern()
{
    return {};
}

// n pieces with a blade width between each two, at extended precision of the stored lengths.
Extended piecesLength(int32_t n, float length, Extended blade)
{
    return Extended(n) * length + Extended(n - 1) * blade;
}

// The count cut down until the pieces fit the free length: a quotient rounded at the last bit must not
// put a piece too many on the bar.
int32_t fittingCount(int32_t n, float length, Extended blade, Extended free)
{
    while (n > 0 && piecesLength(n, length, blade) > free)
        --n;
    return n;
}

// The largest float not above what is left on the bar, so that the recorded waste never claims more
// length than the bar has.
float wasteOf(Extended rest)
{
    if (!(rest > 0))
        return 0.0f;
    float waste = float(rest);
    if (Extended(waste) > rest)
        waste = std::nextafter(waste, 0.0f);
    return waste;
}

} // namespace

int32_t rpCut::chooseStock(const strGroup& plan)
{
    // The list of stock kinds with bars left, drawn from without building it.
    int32_t available = 0;
    for (int32_t j = 0; j < stockCount; ++j)
        if (plan.stockLeft[j] >= 1)
            ++available;
    if (available == 0)
        return -1;
    auto nth = [&](int32_t n) {
        for (int32_t j = 0; j < stockCount; ++j)
            if (plan.stockLeft[j] >= 1 && n-- == 0)
                return j;
        return -1;
    };
    if (!preferPriority)
        return nth(m_random.random(available));
    int32_t drawn = -1;
    for (int32_t attempt = 0; attempt < 5; ++attempt) {
        drawn = nth(m_random.random(available));
        if (stocks[drawn].priority)
            return drawn;
    }
    return drawn;
}

int32_t rpCut::collectCandidates(const strGroup& plan)
{
    std::vector<int32_t>& kinds = m_candidates.kind;
    kinds.resize(size_t(partCount));
    int32_t m = 0;
    const int32_t* left = plan.partLeft.data();
    for (int32_t i = 0; i < partCount; ++i) {
        kinds[size_t(m)] = i;
        m += left[i] >= 1 ? 1 : 0;
    }
    kinds.resize(size_t(m));
    return m;
}

float rpCut::longestCandidate() const
{
    float longest = 0;
    for (int32_t kind : m_candidates.kind)
        longest = std::max(longest, parts[size_t(kind)].length);
    return longest;
}

void rpCut::bookTimes(strGroup& plan, const strPattern& pattern, int32_t times) const
{
    plan.stockLeft[pattern.stock] -= times;
    for (int32_t e = 0; e < pattern.entries; ++e)
        plan.partLeft[pattern.part[e]] -= pattern.count[e] * times;
}

strPattern rpCut::bookPattern(strGroup& plan, strPattern pattern) const
{
    if (pattern.entries < 1)
        return noPattern();
    int32_t times = plan.stockLeft[pattern.stock];
    for (int32_t e = 0; e < pattern.entries; ++e)
        times = std::min(times, plan.partLeft[pattern.part[e]] / pattern.count[e]);
    if (times <= 0)
        return noPattern();
    pattern.times = times;
    bookTimes(plan, pattern, times);
    return pattern;
}

Extended rpCut::usableRoom(int32_t stock) const
{
    return Extended(stocks[stock].length) - Extended(m_settings.stubLength);
}

strPattern rpCut::bookExactPattern(strGroup& plan, strPattern pattern) const
{
    const Extended blade = m_settings.bladeWidth;
    Extended used = 0;
    int64_t pieces = 0;
    for (int32_t e = 0; e < pattern.entries; ++e) {
        used += Extended(pattern.count[e]) * parts[pattern.part[e]].length;
        pieces += pattern.count[e];
    }
    pattern.waste = wasteOf(usableRoom(pattern.stock) - (used + Extended(pieces - 1) * blade));
    return bookPattern(plan, std::move(pattern));
}

strPattern rpCut::fitEqual(strGroup& plan, int32_t c)
{
    const int32_t stock = chooseStock(plan);
    if (stock < 0)
        return noPattern();
    const float usable = stocks[stock].length - m_settings.stubLength;
    const Extended room = usableRoom(stock);
    const int32_t m = collectCandidates(plan);
    if (m == 0)
        return noPattern();
    const Extended blade = m_settings.bladeWidth;
    const float maxLen = longestCandidate();
    m_candidates.measure(parts, plan.partLeft);
    ExactFit search(m_candidates);
    int32_t pos[5];
    for (int32_t k = 2; k <= 5; ++k) {
        const int32_t pieces = c * k;
        // Even the longest candidates can't fill the bar with this many pieces.
        if (m < k || Extended(pieces) * maxLen + Extended(pieces - 1) * blade < Extended(usable))
            continue;
        if (search.findEqual(k, c, usable, room, Extended(pieces - 1) * blade, pos, m_quickFits)) {
            strPattern pattern;
            pattern.stock = stock;
            for (int32_t i = 0; i < k; ++i)
                pattern.addEntry(m_candidates.kind[size_t(pos[i])], c);
            return bookExactPattern(plan, std::move(pattern));
        }
    }
    return noPattern();
}

strPattern rpCut::fitMixed(strGroup& plan, int32_t a, int32_t b)
{
    const int32_t stock = chooseStock(plan);
    if (stock < 0)
        return noPattern();
    const float usable = stocks[stock].length - m_settings.stubLength;
    const Extended room = usableRoom(stock);
    const int32_t m = collectCandidates(plan);
    if (m == 0)
        return noPattern();
    const Extended blade = m_settings.bladeWidth;
    const float maxLen = longestCandidate();
    m_candidates.measure(parts, plan.partLeft);
    ExactFit search(m_candidates);
    int32_t pos[5];
    for (int32_t k = 2; k <= 5; ++k) {
        const int32_t pieces = a + (k - 1) * b;
        if (m < k || Extended(pieces) * maxLen + Extended(pieces - 1) * blade < Extended(usable))
            continue;
        int32_t r = 0;
        if (search.findMixed(k, a, b, usable, room, Extended(pieces - 1) * blade, pos, r, m_quickFits)) {
            strPattern pattern;
            pattern.stock = stock;
            for (int32_t i = 0; i < k; ++i)
                pattern.addEntry(m_candidates.kind[size_t(pos[i])], i == r ? a : b);
            return bookExactPattern(plan, std::move(pattern));
        }
    }
    return noPattern();
}

strPattern rpCut::fitSingle(strGroup& plan)
{
    const int32_t stock = chooseStock(plan);
    if (stock < 0)
        return noPattern();
    const float usable = stocks[stock].length - m_settings.stubLength;
    const int32_t m = collectCandidates(plan);
    if (m == 0 || m > 2)
        return noPattern();
    const Extended blade = m_settings.bladeWidth;
    const int64_t whole = truncWhole(Extended(usable) + blade);
    for (int32_t i = 0; i < m; ++i) {
        const int32_t kind = m_candidates.kind[size_t(i)];
        const float length = parts[kind].length;
        const int64_t divisor = truncWhole(Extended(length) + blade);
        // A piece plus blade below one unit has no whole-number divisor to test.
        if (divisor <= 0 || whole % divisor != 0)
            continue;
        const int32_t quotient = truncCount((Extended(usable) + blade) / (Extended(length) + blade));
        const int32_t n = fittingCount(quotient, length, blade, usableRoom(stock));
        if (n < 1 || plan.partLeft[kind] < n)
            continue;
        strPattern pattern;
        pattern.stock = stock;
        pattern.addEntry(kind, n);
        // The divisor test works on whole numbers; with fractional lengths the bar keeps a real
        // remainder, which is recorded rather than hidden as 0.
        return bookExactPattern(plan, std::move(pattern));
    }
    return noPattern();
}

strPattern rpCut::fitRandom(strGroup& plan)
{
    const int32_t stock = chooseStock(plan);
    if (stock < 0)
        return noPattern();
    const int32_t m = collectCandidates(plan);
    if (m == 0)
        return noPattern();
    const Extended blade = m_settings.bladeWidth;

    strPattern pattern;
    pattern.stock = stock;
    // The free length W is kept at extended precision: a float W rounds up now and then and lets a piece
    // onto a bar that is already full.
    Extended free = usableRoom(stock);
    // Before every piece but the first a cut is taken; it is given back when no piece follows it.
    auto takeCut = [&](bool& cut) {
        cut = false;
        if (pattern.entries == 0)
            return true;
        if (free <= blade)
            return false;
        free -= blade;
        cut = true;
        return true;
    };
    auto giveBack = [&](bool cut) {
        if (cut)
            free += blade;
    };

    // 1 - random picks
    const int32_t picks = m_random.random(m) + 1;
    for (int32_t pick = 0; pick < picks; ++pick) {
        const int32_t kind = m_candidates.kind[size_t(m_random.random(m))];
        if (pattern.findEntry(kind) >= 0)
            continue;
        if (pattern.entries >= kMaxPatternEntries)
            break;
        bool cut = false;
        if (!takeCut(cut))
            break;
        const float length = parts[kind].length;
        if (length > free) {
            giveBack(cut);
            continue;
        }
        int32_t n = m_random.random(plan.partLeft[kind]) + 1;
        if (piecesLength(n, length, blade) > free) {
            n = fittingCount(truncCount((free + blade) / (Extended(length) + blade)), length, blade, free);
            if (n <= 0) {
                giveBack(cut);
                continue;
            }
        }
        free -= piecesLength(n, length, blade);
        pattern.addEntry(kind, n);
    }

    // 2 - first-fit fill, longest first
    for (int32_t i = 0; i < m; ++i) {
        const int32_t kind = m_candidates.kind[size_t(i)];
        if (pattern.entries >= kMaxPatternEntries && pattern.findEntry(kind) < 0)
            break;
        bool cut = false;
        if (!takeCut(cut))
            break;
        const float length = parts[kind].length;
        if (length > free) {
            giveBack(cut);
            continue;
        }
        int32_t n = fittingCount(truncCount((free + blade) / (Extended(length) + blade)), length, blade, free);
        const int32_t left = plan.partLeft[kind];
        const int32_t entry = pattern.findEntry(kind);
        if (entry >= 0) {
            const int32_t had = pattern.count[entry];
            if (int64_t(had) + n > left)
                n = left - had;
            free -= piecesLength(n, length, blade);
            pattern.count[entry] = had + n;
        } else {
            n = std::min(n, left);
            if (n <= 0) {
                giveBack(cut);
                continue;
            }
            free -= piecesLength(n, length, blade);
            pattern.addEntry(kind, n);
        }
    }

    pattern.waste = wasteOf(free);
    return bookPattern(plan, std::move(pattern));
}

strPattern rpCut::nextPattern(strGroup& plan)
{
    if (randomOnly)
        return fitRandom(plan);
    for (int32_t c = 1; c <= 5; ++c) {
        strPattern pattern = fitEqual(plan, c);
        if (pattern.entries >= 1)
            return pattern;
    }
    static constexpr int32_t kMixed[12][2] = {{2, 1}, {3, 1}, {4, 1}, {5, 1}, {2, 2}, {3, 2},
                                              {4, 2}, {5, 2}, {2, 3}, {3, 3}, {4, 3}, {5, 3}};
    for (const auto& [a, b] : kMixed) {
        strPattern pattern = fitMixed(plan, a, b);
        if (pattern.entries >= 1)
            return pattern;
    }
    strPattern pattern = fitSingle(plan);
    if (pattern.entries >= 1)
        return pattern;
    randomOnly = true;
    return fitRandom(plan);
}

} // namespace optimizer
