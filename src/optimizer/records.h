#pragma once

#include "small_array.h"

#include <cstdint>
#include <string>
#include <vector>

namespace optimizer {

inline constexpr int32_t kMaxPartKinds = 1024;
inline constexpr int32_t kMaxStockKinds = 1024;
inline constexpr int32_t kPopulationSize = 30;
inline constexpr int32_t kMaxPatternEntries = 512;

// One required part kind, read from one filled row of the parts grid.
struct strPart {
    int32_t row = 0;
    float length = 0;
    int32_t qty = 0;
    std::string label;
    std::string lengthText;
};

// One stock kind (bar, pipe or profile), read from one filled row of the stocks grid.
struct strStock {
    int32_t row = 0;
    float length = 0;
    int32_t qty = 0;
    float cost = 0;
    bool priority = false;
    std::string label;
    std::string lengthText;
};

// How one bar of one stock kind is cut, and on how many bars this is done. `part` and `count` are
// the entry arrays; `entries` always equals their size.
struct strPattern {
    SmallArray<int32_t, 8> part;
    SmallArray<int32_t, 8> count;
    int32_t stock = -1;
    int32_t times = 0;
    int32_t entries = 0;
    float waste = 0;
    // True while the entries stand in ascending part kind order, which spares comparisons a sort.
    bool entriesSorted = true;

    void addEntry(int32_t partKind, int32_t pieces)
    {
        if (entries > 0 && partKind < part[entries - 1])
            entriesSorted = false;
        part.push_back(partKind);
        count.push_back(pieces);
        entries = part.size();
    }
    int32_t findEntry(int32_t partKind) const
    {
        for (int32_t e = 0; e < entries; ++e)
            if (part[e] == partKind)
                return e;
        return -1;
    }
};

// One complete cutting plan. The per-kind arrays are held at the job's size.
struct strGroup {
    std::vector<int32_t> partLeft;
    std::vector<int32_t> stockLeft;
    float score = 0;
    std::vector<strPattern> patterns;
    int32_t patternCount = 0;
    float ratio = 0;
};

// The settings the optimizer reads while it runs; fixed for one run.
struct CutSettings {
    int32_t qualityLevel = 5;
    bool changeOptimization = false;
    bool costOptimization = false;
    float bladeWidth = 0;
    float stubLength = 0;
    float reuseLength = 15;
};

// The main window's record of the last calculation: the plan it showed and the input it was made from.
struct strGroupArg {
    std::string partLengthsText;
    std::string partQtysText;
    std::string stockLengthsText;
    std::string stockQtysText;
    std::string stockCostsText;
    bool changeOptimization = false;
    bool costOptimization = false;
    float bladeWidth = 0;
    float stubLength = 0;
    strGroup keptPlan;
    float keptRatio = 0;
    int32_t priorityCount = 0;
};

} // namespace optimizer
