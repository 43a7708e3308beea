#pragma once

#include "records.h"

#include <cstdint>
#include <vector>

namespace optimizer {

// The one rule for what fits a bar, shared by the genetic search, the exact engine and every check. Lengths,
// blade width and stub are taken as the decimals the user typed: each float is read back as its shortest
// decimal, and when every one of them has at most four places they all become whole numbers of one decimal
// unit (0.1 mm for "500.1"), so sums are exact and 500.1 + 500.2 fills a bar of 1000.3 to the last unit.
// Lengths with more places keep their float values, summed at extended precision.
class FitRule {
public:
    static constexpr int32_t kMostDecimals = 4;

    FitRule() = default;
    FitRule(const std::vector<strPart>& parts, const std::vector<strStock>& stocks, float bladeWidth, float stubLength);

    // True when every length is a whole number of units, so that all sums below are exact.
    bool decimal() const { return m_decimal; }
    // Units per length unit: a power of ten when decimal(), else 1.
    int64_t unitsPerLength() const { return m_units; }

    // Lengths in units: whole numbers when decimal().
    long double part(int32_t kind) const { return m_parts[size_t(kind)]; }
    long double stock(int32_t kind) const { return m_stocks[size_t(kind)]; }
    long double blade() const { return m_blade; }
    long double stub() const { return m_stub; }
    // What pieces may take of one bar: its length less the stub.
    long double usable(int32_t stock) const { return m_stocks[size_t(stock)] - m_stub; }
    // n pieces of the kind with a blade width between each two.
    long double pieces(int32_t kind, int64_t n) const;
    // What is left of one bar cut this way; negative when the pieces do not fit.
    long double left(const strPattern& pattern) const;
    bool fits(const strPattern& pattern) const { return left(pattern) >= 0; }
    // A length in units as the float a pattern records: the float nearest to a decimal, else the largest float
    // not above it, so a bar is never shown with more left than it has.
    float toLength(long double units) const;
    // A length as units of this rule: exact for the lengths the rule was made from.
    long double toUnits(float length) const;

private:
    bool m_decimal = true;
    int64_t m_units = 1;
    std::vector<long double> m_parts;
    std::vector<long double> m_stocks;
    long double m_blade = 0;
    long double m_stub = 0;
};

// The number of decimal places of the float's shortest decimal, or -1 above `most` or when not finite.
int32_t decimalPlaces(float value, int32_t most);

} // namespace optimizer
