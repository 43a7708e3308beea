#include "exact_fit.h"

#include "subset_walk.h"

#include <algorithm>
#include <cmath>

namespace optimizer {

namespace {

using Extended = long double;

// Number of subsets of `r` members out of `n` positions, capped far above the subset limit.
int64_t binomial(int32_t n, int32_t r)
{
    if (r < 0 || r > n)
        return 0;
    int64_t value = 1;
    for (int32_t i = 1; i <= r; ++i) {
        value = value * (n - r + i) / i;
        if (value > (int64_t(1) << 40))
            return int64_t(1) << 40;
    }
    return value;
}

} // namespace

bool ExactFit::equalMatches(const int32_t* pos) const
{
    const int32_t c = m_a;
    Extended sum = 0;
    for (int32_t i = 0; i < m_k; ++i) {
        if (m_c.left[size_t(pos[i])] < c)
            return false;
        sum += m_c.length[size_t(pos[i])];
    }
    return Extended(c) * sum + m_gaps == m_room;
}

bool ExactFit::mixedMatches(const int32_t* pos, int32_t r) const
{
    Extended others = 0;
    for (int32_t i = 0; i < m_k; ++i) {
        if (m_c.left[size_t(pos[i])] < (i == r ? m_a : m_b))
            return false;
        if (i != r)
            others += m_c.length[size_t(pos[i])];
    }
    return Extended(m_a) * m_c.length[size_t(pos[r])] + Extended(m_b) * others + m_gaps == m_room;
}

double ExactFit::upperSum(const int32_t* pos, int32_t from) const
{
    double sum = 0;
    for (int32_t i = from; i < m_k; ++i)
        sum += m_c.length[size_t(pos[i])];
    return sum;
}

void ExactFit::sumRange(const int32_t* pos, int32_t t, int32_t j, double& least, double& most) const
{
    // Members from pos[t-1] up are chosen; the t-1 below come from positions 0..j-1, whose lengths fall
    // with the position: the longest are the first ones, the shortest the last.
    const int32_t rest = t - 1;
    const double fixed = upperSum(pos, t - 1);
    most = fixed + m_c.prefix[size_t(rest)];
    least = fixed + m_c.prefix[size_t(j)] - m_c.prefix[size_t(j - rest)];
}

int32_t ExactFit::firstAtMost(double value, int32_t last) const
{
    // Lengths fall with the position: the first position whose length is not above `value`.
    const auto begin = m_c.length.begin();
    return int32_t(std::partition_point(begin, begin + last + 1, [&](double l) { return l > value; }) - begin);
}

template <typename BlockMayMatch, typename LeafFind>
bool ExactFit::walk(int32_t t, int32_t n, int32_t* pos, BlockMayMatch& mayMatch, LeafFind& leafFind)
{
    // Colexicographic order: the member at pos[t-1] runs upward, and for each value the members below it
    // run through their own order first.
    if (t == 1) {
        const int64_t room = kSubsetLimit - m_examined;
        if (room <= 0 || n <= 0)
            return false;
        const auto last = int32_t(std::min<int64_t>(n - 1, room - 1));
        const int32_t found = leafFind(last);
        if (found >= 0) {
            pos[0] = found;
            return true;
        }
        m_examined += n;
        return false;
    }
    for (int32_t j = t - 1; j < n; ++j) {
        if (m_examined >= kSubsetLimit)
            return false;
        pos[t - 1] = j;
        if (!mayMatch(t, j)) {
            m_examined += binomial(j, t - 1);
            continue;
        }
        if (walk(t - 1, j, pos, mayMatch, leafFind))
            return true;
    }
    return false;
}

bool ExactFit::findEqual(int32_t k, int32_t c, long double room, long double gaps, int32_t* pos, bool quick)
{
    m_k = k;
    m_a = c;
    m_room = room;
    m_gaps = gaps;
    const int32_t m = m_c.size();
    if (!quick || !m_c.longestFirst)
        return walkSubsets(m, k, pos, [&](const int32_t* subset) { return equalMatches(subset); });

    // Every member's length sum must come to this; bounds carry a margin for rounding.
    const double need = (double(room) - double(gaps)) / c;
    const double tolerance =
        1e-6 * (std::fabs(double(room)) + std::fabs(double(gaps)) + c * m_c.prefix[size_t(k)]) + 1e-6;
    auto mayMatch = [&](int32_t t, int32_t j) {
        if (m_c.left[size_t(j)] < c)
            return false;
        double least = 0;
        double most = 0;
        sumRange(pos, t, j, least, most);
        return need <= most + tolerance && need >= least - tolerance;
    };
    auto leafFind = [&](int32_t last) {
        const double want = need - upperSum(pos, 1);
        for (int32_t i = firstAtMost(want + tolerance, last); i <= last && m_c.length[size_t(i)] >= want - tolerance;
             ++i) {
            pos[0] = i;
            if (equalMatches(pos))
                return i;
        }
        return -1;
    };
    m_examined = 0;
    return k <= m && walk(k, m, pos, mayMatch, leafFind);
}

bool ExactFit::findMixed(int32_t k, int32_t a, int32_t b, long double room, long double gaps, int32_t* pos, int32_t& r,
                         bool quick)
{
    m_k = k;
    m_a = a;
    m_b = b;
    m_room = room;
    m_gaps = gaps;
    const int32_t m = m_c.size();
    if (!quick || !m_c.longestFirst) {
        return walkSubsets(m, k, pos, [&](const int32_t* subset) {
            for (int32_t q = 0; q < k; ++q) {
                if (mixedMatches(subset, q)) {
                    r = q;
                    return true;
                }
            }
            return false;
        });
    }

    const double target = double(room) - double(gaps);
    const double longest = m_c.length.front();
    const double shortest = m_c.length.back();
    const double tolerance =
        1e-6 * (std::fabs(double(room)) + std::fabs(double(gaps)) + (a + b) * m_c.prefix[size_t(k)]) + 1e-6;
    const int32_t fewest = std::min(a, b);
    // value = b * (sum of all members) + (a - b) * (length of member r)
    auto mayMatch = [&](int32_t t, int32_t j) {
        if (m_c.left[size_t(j)] < fewest)
            return false;
        double least = 0;
        double most = 0;
        sumRange(pos, t, j, least, most);
        const double lo = b * least + (a - b) * (a >= b ? shortest : longest);
        const double hi = b * most + (a - b) * (a >= b ? longest : shortest);
        return target <= hi + tolerance && target >= lo - tolerance;
    };
    auto leafFind = [&](int32_t last) {
        const double fixed = upperSum(pos, 1);
        int32_t best = -1;
        for (int32_t q = 0; q < k; ++q) {
            // The length the last member needs when member q takes the a pieces.
            double want;
            if (q == 0) {
                want = (target - b * fixed) / a;
            } else {
                const double own = m_c.length[size_t(pos[q])];
                want = (target - a * own - b * (fixed - own)) / b;
            }
            const double spread = tolerance / std::min(a, b);
            const int32_t end = best >= 0 ? best - 1 : last;
            for (int32_t i = firstAtMost(want + spread, end); i <= end && m_c.length[size_t(i)] >= want - spread; ++i) {
                pos[0] = i;
                if (mixedMatches(pos, q)) {
                    best = i;
                    r = q;
                    break;
                }
            }
        }
        return best;
    };
    m_examined = 0;
    if (k > m || !walk(k, m, pos, mayMatch, leafFind))
        return false;
    return true;
}

} // namespace optimizer
