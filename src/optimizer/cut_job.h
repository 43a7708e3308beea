#pragma once

#include "fit_rule.h"
#include "records.h"

#include <cstdint>
#include <vector>

namespace optimizer {

class rpCut;

// One job as both engines get it, made in one place: the part and stock kinds sorted by descending length as the
// calculation hands them over (indices are positions in these lists), the settings of the run, and what follows
// from them: the rule for what fits, the weight of waste, the longest stock and the priority preference.
struct CutJob {
    std::vector<strPart> parts;
    std::vector<strStock> stocks;
    CutSettings settings;
    FitRule fit;
    int32_t scale = 1;
    float maxStockLength = 0;
    bool preferPriority = false;
};

// The job of lists already sorted longest first.
CutJob makeCutJob(std::vector<strPart> parts, std::vector<strStock> stocks, const CutSettings& settings);

// Fills the optimizer's lists, counts, longest stock, priority preference and fit rule from the job.
void fillCut(rpCut& cut, const CutJob& job);

} // namespace optimizer
