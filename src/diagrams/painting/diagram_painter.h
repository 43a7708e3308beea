#pragma once

#include "diagrams/bar_geometry.h"
#include "diagrams/palette.h"

#include <QColor>
#include <QRect>

class QPainter;

namespace diagrams {

QColor toColor(const Rgb& colour);

// One bar to the plan's scale inside `area`, whose width less the room for the length text at the end is
// the longest bar's: a coloured block per piece with its label and length when they fit, the saw cuts as
// dark gaps, the left-over shaded as its "Left Len" cell with its length and remnant label, the stub
// hatched, and after the bar's end its length. The painter's font writes the texts.
void paintBar(QPainter& painter, const PlanDiagrams& plan, const BarDiagram& bar, const QRect& area);
// Where paintBar draws the bar itself in `area`, for a font.
QRect drawnBarRect(const PlanDiagrams& plan, const BarDiagram& bar, const QRect& area, const QFont& font);

// A diagram row: the pattern's number and "× 3" in the first `prefixWidth` pixels in the painter's pen, then
// the bar.
void paintDiagramRow(QPainter& painter, const PlanDiagrams& plan, const BarDiagram& bar, const QRect& row,
                     int prefixWidth);
// Where paintDiagramRow puts the bar.
QRect barRect(const QRect& row, int prefixWidth);

// The legend: a swatch, the label and the length of every part kind the plan cuts, flowing in lines; the
// texts in the painter's pen.
int legendHeight(const PlanDiagrams& plan, const QFont& font, int width);
void paintLegend(QPainter& painter, const PlanDiagrams& plan, const QRect& rect);

} // namespace diagrams
