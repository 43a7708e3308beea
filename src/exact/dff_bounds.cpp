#include "dff_bounds.h"

#include <algorithm>
#include <functional>

namespace exact {

namespace {

// The largest k of Fekete and Schepers' functions tried, and the most thresholds tried per family.
constexpr int64_t kMostK = 20;
constexpr size_t kMostThresholds = 200;

using Map = std::function<int64_t(int64_t)>;

// The bound of one map: the images of all pieces over the image of the bar, rounded up.
int64_t boundOf(const std::vector<int64_t>& widths, const std::vector<int64_t>& counts, int64_t capacity, const Map& f)
{
    const int64_t bar = f(capacity);
    if (bar <= 0)
        return 0;
    __int128 total = 0;
    for (size_t i = 0; i < widths.size(); ++i)
        total += __int128(f(widths[i])) * counts[i];
    return int64_t((total + bar - 1) / bar);
}

} // namespace

int64_t dffBound(const std::vector<int64_t>& widths, const std::vector<int64_t>& counts, int64_t capacity)
{
    if (capacity <= 0 || widths.empty())
        return 0;
    // Thresholds: the distinct widths up to half the bar, spread out when there are many.
    std::vector<int64_t> thresholds{0};
    for (int64_t w : widths)
        if (w <= capacity / 2)
            thresholds.push_back(w);
    std::sort(thresholds.begin(), thresholds.end());
    thresholds.erase(std::unique(thresholds.begin(), thresholds.end()), thresholds.end());
    if (thresholds.size() > kMostThresholds) {
        std::vector<int64_t> spread;
        for (size_t t = 0; t < kMostThresholds; ++t)
            spread.push_back(thresholds[t * thresholds.size() / kMostThresholds]);
        thresholds = std::move(spread);
    }
    const int64_t c = capacity;
    int64_t best = boundOf(widths, counts, c, [](int64_t x) { return x; });
    for (int64_t eps : thresholds) {
        // Martello and Toth: pieces too long to share a bar with one of at least eps count whole, those below eps
        // nothing.
        const Map cut = [=](int64_t x) { return x > c - eps ? c : (x < eps ? 0 : x); };
        best = std::max(best, boundOf(widths, counts, c, cut));
        // Fekete and Schepers' u(k), after the cut: a piece counts its share of k + 1 parts of the bar, rounded down,
        // unless it is a whole number of them.
        for (int64_t k = 1; k <= kMostK; ++k) {
            const Map u = [=](int64_t x) {
                const int64_t y = cut(x);
                return ((k + 1) * y) % c == 0 ? y * k : ((k + 1) * y / c) * c;
            };
            best = std::max(best, boundOf(widths, counts, c, u));
        }
        // Carlier, Clautiaux and Moukrim with step eps: long pieces count what they leave no room for.
        if (eps >= 1) {
            const Map ccm = [=](int64_t x) {
                if (2 * x > c)
                    return 2 * (c / eps - (c - x) / eps);
                if (2 * x == c)
                    return c / eps;
                return 2 * (x / eps);
            };
            best = std::max(best, boundOf(widths, counts, c, ccm));
        }
    }
    return best;
}

} // namespace exact
