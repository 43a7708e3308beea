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

// The count cut down until the pieces fit the free length: a quotient rounded at the last bit must not
// put a piece too many on the bar.
int32_t fittingCount(const FitRule& rule, int32_t n, int32_t kind, Extended free)
{
    while (n > 0 && rule.pieces(kind, n) > free)
        --n;
    return n;
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

long double rpCut::longestCandidate() const
{
    long double longest = 0;
    for (int32_t kind : m_candidates.kind)
        longest = std::max(longest, m_fit.part(kind));
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

void rpCut::ensureFitRule()
{
    if (!m_fitReady)
        setFitRule(FitRule(parts, stocks, m_settings.bladeWidth, m_settings.stubLength));
}

void rpCut::setFitRule(FitRule rule)
{
    m_fit = std::move(rule);
    m_fitReady = true;
}

strPattern rpCut::bookExactPattern(strGroup& plan, strPattern pattern) const
{
    pattern.waste = m_fit.toLength(m_fit.left(pattern));
    return bookPattern(plan, std::move(pattern));
}

strPattern rpCut::fitEqual(strGroup& plan, int32_t c)
{
    ensureFitRule();
    const int32_t stock = chooseStock(plan);
    if (stock < 0)
        return noPattern();
    const Extended room = m_fit.usable(stock);
    const int32_t m = collectCandidates(plan);
    if (m == 0)
        return noPattern();
    const Extended blade = m_fit.blade();
    const Extended maxLen = longestCandidate();
    m_candidates.measure(m_fit, plan.partLeft);
    ExactFit search(m_candidates);
    int32_t pos[5];
    for (int32_t k = 2; k <= 5; ++k) {
        const int32_t pieces = c * k;
        // Even the longest candidates can't fill the bar with this many pieces.
        if (m < k || Extended(pieces) * maxLen + Extended(pieces - 1) * blade < room)
            continue;
        if (search.findEqual(k, c, room, Extended(pieces - 1) * blade, pos, m_quickFits)) {
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
    ensureFitRule();
    const int32_t stock = chooseStock(plan);
    if (stock < 0)
        return noPattern();
    const Extended room = m_fit.usable(stock);
    const int32_t m = collectCandidates(plan);
    if (m == 0)
        return noPattern();
    const Extended blade = m_fit.blade();
    const Extended maxLen = longestCandidate();
    m_candidates.measure(m_fit, plan.partLeft);
    ExactFit search(m_candidates);
    int32_t pos[5];
    for (int32_t k = 2; k <= 5; ++k) {
        const int32_t pieces = a + (k - 1) * b;
        if (m < k || Extended(pieces) * maxLen + Extended(pieces - 1) * blade < room)
            continue;
        int32_t r = 0;
        if (search.findMixed(k, a, b, room, Extended(pieces - 1) * blade, pos, r, m_quickFits)) {
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
    ensureFitRule();
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
        // How many pieces fit is the fit rule's count.
        const Extended room = m_fit.usable(stock) + m_fit.blade();
        const int32_t quotient = truncCount(std::floor(room / (m_fit.part(kind) + m_fit.blade())));
        const int32_t n = fittingCount(m_fit, quotient, kind, m_fit.usable(stock));
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
    ensureFitRule();
    const int32_t stock = chooseStock(plan);
    if (stock < 0)
        return noPattern();
    const int32_t m = collectCandidates(plan);
    if (m == 0)
        return noPattern();
    const Extended blade = m_fit.blade();

    strPattern pattern;
    pattern.stock = stock;
    // The free length W is measured by the fit rule: a float W rounds now and then and lets a piece onto a bar
    // that is already full, or keeps one off a bar it fills exactly.
    Extended free = m_fit.usable(stock);
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
        const Extended length = m_fit.part(kind);
        if (length > free) {
            giveBack(cut);
            continue;
        }
        int32_t n = m_random.random(plan.partLeft[kind]) + 1;
        if (m_fit.pieces(kind, n) > free) {
            n = fittingCount(m_fit, truncCount((free + blade) / (length + blade)), kind, free);
            if (n <= 0) {
                giveBack(cut);
                continue;
            }
        }
        free -= m_fit.pieces(kind, n);
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
        const Extended length = m_fit.part(kind);
        if (length > free) {
            giveBack(cut);
            continue;
        }
        int32_t n = fittingCount(m_fit, truncCount((free + blade) / (length + blade)), kind, free);
        const int32_t left = plan.partLeft[kind];
        const int32_t entry = pattern.findEntry(kind);
        if (entry >= 0) {
            const int32_t had = pattern.count[entry];
            if (int64_t(had) + n > left)
                n = left - had;
            free -= m_fit.pieces(kind, n);
            pattern.count[entry] = had + n;
        } else {
            n = std::min(n, left);
            if (n <= 0) {
                giveBack(cut);
                continue;
            }
            free -= m_fit.pieces(kind, n);
            pattern.addEntry(kind, n);
        }
    }

    pattern.waste = m_fit.toLength(free);
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
