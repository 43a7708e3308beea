#pragma once

#include <cstdint>
#include <vector>

namespace exact {

// The fewest bars of one capacity that pieces of these widths and counts need, by dual feasible functions: maps of
// the widths under which the pieces of any one bar still add up to at most the bar's own image, so the images'
// total over the bar's image bounds the bars from below. Martello and Toth's bound, the functions of Fekete and
// Schepers and those of Carlier, Clautiaux and Moukrim, alone and in turn; cheap, and often as strong as the
// relaxation, so a plan that meets it is proven best before the relaxation is solved.
int64_t dffBound(const std::vector<int64_t>& widths, const std::vector<int64_t>& counts, int64_t capacity);

} // namespace exact
