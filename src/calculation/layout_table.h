#pragma once

#include "grid_model.h"
#include "run_seams.h"

#include "optimizer/records.h"

#include <QDateTime>
#include <vector>

namespace calculation {

// Columns of the layout table.
inline constexpr int kLayoutNoColumn = 0;
inline constexpr int kLayoutLabelColumn = 1;
inline constexpr int kLayoutLengthColumn = 2;
inline constexpr int kLayoutQtyColumn = 3;
inline constexpr int kLayoutLeftLenColumn = 4;
inline constexpr int kLayoutPiecesColumn = 5;
inline constexpr int kLayoutLeftLabelColumn = 6;

// How a fill writes pieces and lengths.
struct LayoutStyle {
    int displayMode = 2; // 0 "Label(Length) X Qty", 1 "Length X Qty", 2 "Label X Qty"
    int formatIndex = 0; // the length picture, 0 to 4
};

// The totals of a plan as the totals row shows them: lengths and cost summed as 32-bit floats.
struct LayoutTotals {
    float usedLength = 0;
    float cost = 0;
    float leftLength = 0;
    int64_t bars = 0;
    double ratio = 0; // 0 for a plan that uses no length
};
LayoutTotals layoutTotals(const optimizer::strGroup& plan, const std::vector<optimizer::strStock>& stockList);

// Day of the month, hour and minute, two digits each, then "YL": '071405YL' on the 7th at 14:05.
QString remnantPrefix(const QDateTime& when);

// Writes one plan into the layout table: a row per pattern in plan order, the totals row, remnant labels,
// and the "Left Qty" column of the stocks grid. The plan's part and stock indices refer to the two lists.
void fillLayoutTable(const optimizer::strGroup& plan, const std::vector<optimizer::strPart>& partList,
                     const std::vector<optimizer::strStock>& stockList, float reuseLength, const QString& prefix,
                     const LayoutStyle& style, GridModel& layout, GridModel& stocks, ProgressSink* progress = nullptr);

// Empties what a fill writes: the data row, the totals of the layout table and the "Left Qty" cells of the
// stock rows a run read.
void clearLayoutResult(GridModel& layout, GridModel& stocks, const std::vector<optimizer::strStock>& stockList);

// The colour of a "Left Len" cell from its text and the "Rpt Use Len:" text: cream without left-over,
// green for a reusable remnant, grey for other waste. False when the cell keeps the grid's own drawing.
enum class LeftLenShade { Grey, Cream, Green };
bool leftLenShade(const QString& cellText, const QString& reuseText, LeftLenShade& shade);

} // namespace calculation
