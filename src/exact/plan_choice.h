#pragma once

#include "optimizer/records.h"

#include <vector>

namespace exact {

// Which of two finished plans of one job Calc shows. By utilization, as the kept plan of the last run is
// weighed; with cost or change optimization by the charge total (times the pattern count with change
// optimization) without the bonus for the last remnant, which can rank a plan with one more bar above a
// plan without waste. A tie keeps the first (the genetic search's) plan.
bool secondIsBetter(const optimizer::strGroup& first, const optimizer::strGroup& second,
                    const std::vector<optimizer::strStock>& stocks, const optimizer::CutSettings& settings);

// The sum of the charges of the plan's patterns: waste weighed by the scale of the longest stock, plus the
// cost term with cost optimization.
long double chargeTotal(const optimizer::strGroup& plan, const std::vector<optimizer::strStock>& stocks,
                        const optimizer::CutSettings& settings);

} // namespace exact
