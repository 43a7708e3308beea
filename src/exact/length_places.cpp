#include "length_places.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace exact {

namespace {

constexpr int64_t kNone = std::numeric_limits<int64_t>::max();

size_t lowest(size_t k)
{
    return k & (~k + 1);
}

} // namespace

void LengthPlaces::reset(const std::vector<int64_t>& widths)
{
    m_widths = widths;
    m_leaves = std::bit_ceil(std::max<size_t>(widths.size(), 1));
    m_narrowest.assign(2 * m_leaves, kNone);
    m_before.assign(widths.size() + 1, 0);
    m_total = 0;
}

void LengthPlaces::change(size_t place, int64_t before, int64_t after)
{
    const int64_t width = m_widths[place];
    m_total += (after - before) * width;
    for (size_t k = place + 1; k < m_before.size(); k += lowest(k))
        m_before[k] += (after - before) * width;
    if ((before > 0) == (after > 0))
        return;
    size_t node = m_leaves + place;
    m_narrowest[node] = after > 0 ? width : kNone;
    for (node /= 2; node >= 1; node /= 2)
        m_narrowest[node] = std::min(m_narrowest[2 * node], m_narrowest[2 * node + 1]);
}

int64_t LengthPlaces::widthsFrom(size_t place) const
{
    int64_t before = 0;
    for (size_t k = place; k > 0; k -= lowest(k))
        before += m_before[k];
    return m_total - before;
}

size_t LengthPlaces::fitting(size_t place, int64_t room) const
{
    // Up from the place while the spans to its right hold nothing that fits, then down to the leftmost that does.
    const size_t end = m_widths.size();
    if (place >= end)
        return end;
    size_t node = m_leaves + place;
    if (m_narrowest[node] <= room)
        return place;
    while (true) {
        while (node % 2 == 1) {
            node /= 2;
            if (node <= 1)
                return end;
        }
        ++node;
        if (m_narrowest[node] <= room)
            break;
    }
    while (node < m_leaves)
        node = m_narrowest[2 * node] <= room ? 2 * node : 2 * node + 1;
    return std::min(node - m_leaves, end);
}

} // namespace exact
