#pragma once

#include "calculation/layout_table.h"
#include "optimizer/records.h"

#include <QString>
#include <vector>

namespace diagrams {

enum class SegmentKind { Piece, Cut, LeftOver, Stub };

// One stretch of a bar, in the job's length unit from the bar's start.
struct Segment {
    SegmentKind kind = SegmentKind::Piece;
    double start = 0;
    double length = 0;
    int32_t partKind = -1; // pieces: the index in the plan's part list
};

// One cutting pattern drawn as a bar: pieces with a saw cut between each two, the left-over, then the stub.
struct BarDiagram {
    int number = 0; // the pattern's number in the layout table
    int32_t times = 0;
    QString stockLabel;
    QString stockLengthText;
    double barLength = 0;
    std::vector<Segment> segments;
    calculation::LeftLenShade leftShade = calculation::LeftLenShade::Grey;
    QString leftText; // as the "Left Len" cell writes it
    QString remnantLabel;
};

struct PartKey {
    QString label;
    QString lengthText;
};

// The diagrams of a whole plan and the part kinds they show, in part list order.
struct PlanDiagrams {
    std::vector<BarDiagram> bars;
    std::vector<PartKey> parts;
    // The part kinds that some pattern cuts, for the legend; empty when styles would repeat among them and
    // only the labels in the blocks tell the kinds apart.
    std::vector<int32_t> legendKinds;
    int formatIndex = 0;
    // All bars are drawn to one scale, the longest bar the full width; each bar's length is written at its
    // end, in room as wide as the longest of those texts.
    double longestBar = 0;
    QString longestLengthText;
};

// What the diagrams are built from: the plan a run showed, the lists its indices refer to, and the run's
// blade width, stub and number format.
struct DiagramSource {
    optimizer::strGroup plan;
    std::vector<optimizer::strPart> parts;
    std::vector<optimizer::strStock> stocks;
    float bladeWidth = 0;
    float stubLength = 0;
    int formatIndex = 0;
    // The rest of the run's settings and how good its plan is, for the job's line on the printouts.
    float reuseLength = 15;
    int qualityLevel = 0;
    QString proof;
};

// The bars of the plan in plan order. The left-over is shaded as its "Left Len" cell is for the reuse text;
// remnantLabels (one per pattern, may be short) are the labels of the layout table.
PlanDiagrams buildDiagrams(const DiagramSource& source, const QString& reuseText,
                           const std::vector<QString>& remnantLabels);

// The diagrams of the plan a layout table shows, with the table's remnant labels.
PlanDiagrams diagramsOfTable(const DiagramSource& source, const calculation::GridModel& layout,
                             const QString& reuseText);

// One cut for the saw: where it falls from the bar's start and the piece it ends.
struct CutStep {
    double position = 0;
    int32_t partKind = -1;
};

// The cuts of one bar in order from its start. The last piece needs a cut only when something of the bar
// lies beyond it.
std::vector<CutStep> cutList(const BarDiagram& bar);
// The cutting list of one bar on one line: "Cuts at: 1200 A, 2405 A, 3010 B".
QString cutListText(const PlanDiagrams& plan, const BarDiagram& bar);

// What the pointer shows over a stretch of a bar: label, length and position for a piece.
QString segmentTip(const PlanDiagrams& plan, const BarDiagram& bar, const Segment& segment);

} // namespace diagrams
