#pragma once

#include "records.h"

#include <cstdint>
#include <vector>

namespace optimizer {

// Scoring on the records alone, so that a plan made elsewhere (by the exact engine) is scored and finished as the
// search scores its own.

// The weight of waste in the score: 10000 for a longest stock below 10, 1000 below 100, 100 below 1000, 10 below
// 10000, else 1.
int32_t scaleFor(float maxStockLength);
// What booking the pattern adds to a plan's running total: its bars' waste times the scale, plus their cost times
// 100 with cost optimization.
long double patternCharge(const strPattern& pattern, const std::vector<strStock>& stocks, const CutSettings& settings,
                          int32_t scale);
// Sets patternCount and score of a plan whose patterns are booked: a plan with pieces left fails (patternCount
// 0); otherwise the running total plus the bonus for the last remnant, times the pattern count with change
// optimization.
float finishPlan(strGroup& plan, float total, float lastWaste, const CutSettings& settings);
// The plan as the result of a search: patterns sorted by ascending waste and the utilization ratio set.
void finishResult(strGroup& plan, const std::vector<strStock>& stocks);

} // namespace optimizer
