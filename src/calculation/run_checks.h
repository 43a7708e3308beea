#pragma once

#include "calculation_run.h"

#include <QString>

#include <optional>
#include <vector>

namespace calculation {

// The longest length a run takes: above 2^24 a 32-bit float no longer tells whole units apart, so lengths
// and their sums could no longer be compared to the unit.
inline constexpr float kLongestLength = 16777216.0f;

// Why the input was refused before a search: the translated message and where the focus goes.
struct InputRefusal {
    QString message;
    RunFocus focus = RunFocus::None;
};

// The settings and every filled row (a row with a quantity) of both grids: numbers where numbers belong,
// quantities of 0 or more, lengths above 0 and (on rows that are cut) at most kLongestLength, costs small
// enough that no total of them overflows, and no more rows than one calculation takes.
std::optional<InputRefusal> checkInput(const GridModel& parts, const GridModel& stocks, const CalcControls& controls);

// The read lists against what can be cut at all: something to cut, enough length in the bars for the
// pieces and the least blade widths between them, and the longest piece within a bar after the stub.
// Rows with quantity 0 take no part.
std::optional<InputRefusal> checkJob(const std::vector<optimizer::strPart>& parts,
                                     const std::vector<optimizer::strStock>& stocks,
                                     const optimizer::CutSettings& settings);

// The check run when "Cost Optimization" is ticked: every stock row with bars has a whole cost above 0, and
// there is such a row. A refusal is shown as an error and unticks the box.
std::optional<InputRefusal> checkCostOption(const GridModel& stocks);

} // namespace calculation
