#pragma once

#include "exact/exact_engine.h"

#include <QString>

namespace calculation {

// One translated line on how good a plan is: proven optimal, or at most how much worse than the best
// possible plan, in bars for one stock length, else in waste or, with cost optimization, in cost.
QString planQualityText(const exact::PlanQuality& quality);

} // namespace calculation
