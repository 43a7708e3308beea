#include "fit_rule.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace optimizer {

namespace {

// The float's shortest decimal as digits and places ("1000.3" gives 10003 and 1); false when it is not finite,
// negative or has more digits than a 64-bit number holds.
bool shortestDecimal(float value, int64_t& digits, int32_t& places)
{
    if (!std::isfinite(value) || value < 0)
        return false;
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (error != std::errc())
        return false;
    digits = 0;
    places = 0;
    bool fraction = false;
    int32_t significant = 0;
    for (const char* c = text; c != end; ++c) {
        if (*c == '.') {
            fraction = true;
            continue;
        }
        if (digits > 0 || *c != '0')
            ++significant;
        if (significant > 18)
            return false;
        digits = digits * 10 + (*c - '0');
        places += fraction ? 1 : 0;
    }
    return true;
}

int64_t powerOfTen(int32_t exponent)
{
    int64_t power = 1;
    while (exponent-- > 0)
        power *= 10;
    return power;
}

} // namespace

int32_t decimalPlaces(float value, int32_t most)
{
    int64_t digits = 0;
    int32_t places = 0;
    if (!shortestDecimal(value, digits, places) || places > most)
        return -1;
    return places;
}

FitRule::FitRule(const std::vector<strPart>& parts, const std::vector<strStock>& stocks, float bladeWidth,
                 float stubLength)
{
    // 1 - the coarsest decimal unit in which every length is whole
    std::vector<float> lengths{bladeWidth, stubLength};
    for (const strPart& part : parts)
        lengths.push_back(part.length);
    for (const strStock& stock : stocks)
        lengths.push_back(stock.length);
    int32_t places = 0;
    for (float length : lengths) {
        const int32_t own = decimalPlaces(length, kMostDecimals);
        if (own < 0) {
            m_decimal = false;
            break;
        }
        places = std::max(places, own);
    }
    m_units = m_decimal ? powerOfTen(places) : 1;
    // Whole units beyond 2^52 would no longer add up exactly in the engines' doubles.
    if (m_decimal)
        for (float length : lengths)
            if ((long double)length * m_units > 0x1p52L)
                m_decimal = false;
    if (!m_decimal)
        m_units = 1;

    // 2 - every length in those units
    m_blade = toUnits(bladeWidth);
    m_stub = toUnits(stubLength);
    for (const strPart& part : parts)
        m_parts.push_back(toUnits(part.length));
    for (const strStock& stock : stocks)
        m_stocks.push_back(toUnits(stock.length));
}

long double FitRule::toUnits(float length) const
{
    int64_t digits = 0;
    int32_t places = 0;
    if (!m_decimal || !shortestDecimal(length, digits, places) || places > kMostDecimals)
        return (long double)length * m_units;
    int64_t scale = m_units;
    for (; places > 0 && scale % 10 == 0; --places)
        scale /= 10;
    if (places > 0)
        return (long double)length * m_units;
    return (long double)digits * scale;
}

long double FitRule::pieces(int32_t kind, int64_t n) const
{
    return (long double)n * part(kind) + (long double)(n - 1) * m_blade;
}

long double FitRule::left(const strPattern& pattern) const
{
    long double used = 0;
    int64_t pieceCount = 0;
    for (int32_t e = 0; e < pattern.entries; ++e) {
        used += (long double)pattern.count[e] * part(pattern.part[e]);
        pieceCount += pattern.count[e];
    }
    if (pieceCount > 0)
        used += (long double)(pieceCount - 1) * m_blade;
    return usable(pattern.stock) - used;
}

float FitRule::toLength(long double units) const
{
    const long double value = units / m_units;
    if (!(value > 0))
        return 0.0f;
    // A decimal is recorded as the float nearest to it, as the lengths typed are.
    float length = float(value);
    if (!m_decimal && (long double)length > value)
        length = std::nextafter(length, 0.0f);
    return length;
}

} // namespace optimizer
