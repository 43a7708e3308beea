#pragma once

#include "calculation/layout_table.h"

#include <cstdint>

namespace diagrams {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// How the pieces of one part kind are drawn: a fill from a palette that colour-blind readers tell apart,
// ordered so that neighbouring kinds differ in brightness too (black-and-white print), the text colour
// that reads best on it, and from the palette's second round on a hatching over the fill.
struct PieceStyle {
    Rgb fill;
    Rgb text;
    int hatching = 0; // 0 none, 1 to 3 the hatchings of later rounds
};

// The same part kind gets the same style in every pattern of a plan; the first kDistinctStyles kinds each
// get one of their own.
inline constexpr int32_t kDistinctStyles = 28;
PieceStyle pieceStyle(int32_t partKind);

// The left-over as its "Left Len" cell is painted: cream, grey or green.
Rgb leftOverFill(calculation::LeftLenShade shade);

// The contrast ratio of two colours, 1 to 21, by their relative luminance.
double contrastRatio(const Rgb& a, const Rgb& b);

} // namespace diagrams
