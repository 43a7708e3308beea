#pragma once

#include <cstdint>

namespace optimizer {

inline constexpr int32_t kSubsetLimit = 5001;

// Visits the k-subsets of positions 0..m-1 in colexicographic order, {0,1}, {0,2}, {1,2}, {0,3}, ...,
// stopping after the last subset, after kSubsetLimit subsets, or when visit returns true. `pos` holds
// the subset in ascending order. Returns true when visit accepted a subset (pos then holds it).
template <typename Visit> bool walkSubsets(int32_t m, int32_t k, int32_t* pos, Visit&& visit)
{
    if (k < 1 || k > m)
        return false;
    for (int32_t i = 0; i < k; ++i)
        pos[i] = i;
    for (int32_t examined = 1;; ++examined) {
        if (visit(static_cast<const int32_t*>(pos)))
            return true;
        if (examined >= kSubsetLimit)
            return false;
        // Successor: move the lowest choice that has a free place above it one up, and pack the choices
        // below it to the lowest positions.
        int32_t i = 0;
        while (i < k - 1 && pos[i] + 1 == pos[i + 1])
            ++i;
        if (i == k - 1 && pos[i] + 1 >= m)
            return false;
        ++pos[i];
        for (int32_t j = 0; j < i; ++j)
            pos[j] = j;
    }
}

} // namespace optimizer
