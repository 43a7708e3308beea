#pragma once

#include "bar_geometry.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace diagrams {

// One cut of a pattern as the cutting list for the saw writes it.
struct CutListEntry {
    int number = 0;   // from 1, in order from the bar's start
    QString position; // where the saw cuts, from the bar's start, in the run's number format
    QString piece;    // the label of the piece the cut ends
    QString pieceLength;
};

std::vector<CutListEntry> cutListEntries(const PlanDiagrams& plan, const BarDiagram& bar);

// The line over a pattern's cuts: number, stock, length, "× 3", and what is left of each bar.
QString cutListHeading(const BarDiagram& bar);

// The cutting list as TAB-separated lines for the saw operator: a header, then one line per cut with the
// pattern's number, bars, stock and its length before the cut's number, position, piece and length.
QStringList cutListLines(const PlanDiagrams& plan);

} // namespace diagrams
