#include "palette.h"

#include <array>
#include <cmath>

namespace diagrams {

namespace {

// A palette chosen to stay distinct under the common kinds of colour blindness, in an order that
// alternates light and dark.
constexpr std::array<Rgb, 7> kFills{{
    {86, 180, 233},  // sky blue
    {213, 94, 0},    // vermillion
    {204, 187, 68},  // a darker yellow, so that it stands off the pale left-overs
    {0, 114, 178},   // blue
    {230, 159, 0},   // orange
    {0, 158, 115},   // bluish green
    {204, 121, 167}, // reddish purple
}};
static_assert(kDistinctStyles == kFills.size() * 4);

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

double channel(uint8_t value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const Rgb& colour)
{
    return 0.2126 * channel(colour.red) + 0.7152 * channel(colour.green) + 0.0722 * channel(colour.blue);
}

} // namespace

double contrastRatio(const Rgb& a, const Rgb& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

PieceStyle pieceStyle(int32_t partKind)
{
    const size_t kind = size_t(std::max(0, partKind));
    PieceStyle style;
    style.fill = kFills[kind % kFills.size()];
    style.text = contrastRatio(style.fill, kBlack) >= contrastRatio(style.fill, kWhite) ? kBlack : kWhite;
    style.hatching = int(kind / kFills.size() % 4);
    return style;
}

Rgb leftOverFill(calculation::LeftLenShade shade)
{
    switch (shade) {
    case calculation::LeftLenShade::Cream:
        return {255, 251, 240};
    case calculation::LeftLenShade::Green:
        return {192, 220, 192};
    case calculation::LeftLenShade::Grey:
        break;
    }
    return {240, 240, 240};
}

} // namespace diagrams
