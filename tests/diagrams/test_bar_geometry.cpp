#include "diagram_job.h"

#include "diagrams/bar_scale.h"
#include "diagrams/cut_list.h"
#include "diagrams/palette.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace diagrams;

namespace {

double total(const BarDiagram& bar)
{
    return std::accumulate(bar.segments.begin(), bar.segments.end(), 0.0,
                           [](double sum, const Segment& s) { return sum + s.length; });
}

std::vector<SegmentKind> kinds(const BarDiagram& bar)
{
    std::vector<SegmentKind> result;
    for (const Segment& segment : bar.segments)
        result.push_back(segment.kind);
    return result;
}

} // namespace

TEST(BarGeometry, PiecesCutsLeftOverAndStubFillTheBarInOrder)
{
    DiagramSource source = diagramJob(5, 10);
    addPattern(source, {{0, 3}, {1, 1}}, 3);
    const PlanDiagrams plan = buildDiagrams(source, QStringLiteral("15"), {QStringLiteral("091405YL1")});

    ASSERT_EQ(plan.bars.size(), 1u);
    const BarDiagram& bar = plan.bars[0];
    using K = SegmentKind;
    EXPECT_EQ(kinds(bar),
              (std::vector<K>{K::Piece, K::Cut, K::Piece, K::Cut, K::Piece, K::Cut, K::Piece, K::LeftOver, K::Stub}));
    EXPECT_DOUBLE_EQ(total(bar), 6000);
    EXPECT_DOUBLE_EQ(bar.segments[7].start, 4415);
    EXPECT_DOUBLE_EQ(bar.segments[7].length, 1575);
    EXPECT_DOUBLE_EQ(bar.segments[8].start, 5990);
    EXPECT_EQ(bar.leftText, QStringLiteral("1575"));
    EXPECT_EQ(bar.leftShade, calculation::LeftLenShade::Green);
    EXPECT_EQ(bar.remnantLabel, QStringLiteral("091405YL1"));
    EXPECT_EQ(bar.times, 3);
    EXPECT_EQ(plan.legendKinds, (std::vector<int32_t>{0, 1}));

    // Beyond the distinct styles the legend would name two kinds by one colour: it is left out.
    source.parts.resize(size_t(kDistinctStyles) + 1, part("D", 10));
    addPattern(source, {{kDistinctStyles, 2}});
    EXPECT_TRUE(buildDiagrams(source, QStringLiteral("15"), {}).legendKinds.empty());
}

TEST(BarGeometry, CutListGivesEachCutFromTheBarsStart)
{
    DiagramSource source = diagramJob(5, 10);
    addPattern(source, {{0, 3}, {1, 1}});
    // 5 × 1200 = 6000: nothing lies beyond the last piece, so it needs no cut.
    DiagramSource exact = diagramJob(0, 0);
    addPattern(exact, {{0, 5}});

    const PlanDiagrams plan = buildDiagrams(source, QStringLiteral("15"), {});
    const std::vector<CutStep> cuts = cutList(plan.bars[0]);
    ASSERT_EQ(cuts.size(), 4u);
    EXPECT_DOUBLE_EQ(cuts[1].position, 2405);
    EXPECT_DOUBLE_EQ(cuts[3].position, 4415);
    EXPECT_EQ(cuts[3].partKind, 1);
    EXPECT_EQ(cutListText(plan, plan.bars[0]), QStringLiteral("Cuts at: 1200 A, 2405 A, 3610 A, 4415 B"));

    const PlanDiagrams whole = buildDiagrams(exact, QStringLiteral("15"), {});
    EXPECT_EQ(cutList(whole.bars[0]).size(), 4u);
    EXPECT_EQ(whole.bars[0].leftShade, calculation::LeftLenShade::Cream);
}

TEST(CutList, LinesForTheSawGiveEveryCutWithItsPattern)
{
    DiagramSource source = diagramJob(5, 10);
    addPattern(source, {{0, 3}, {1, 1}}, 2);
    addPattern(source, {{2, 2}});
    source.formatIndex = 1;
    const PlanDiagrams plan = buildDiagrams(source, QStringLiteral("15"), {QString(), QStringLiteral("R7")});

    const std::vector<CutListEntry> cuts = cutListEntries(plan, plan.bars[0]);
    ASSERT_EQ(cuts.size(), 4u);
    EXPECT_EQ(cuts[3].number, 4);
    EXPECT_EQ(cuts[3].position, QStringLiteral("4415.0"));
    EXPECT_EQ(cuts[3].piece, QStringLiteral("B"));
    EXPECT_EQ(cutListHeading(plan.bars[1]), QStringLiteral("2   S  6000   × 1   Left Len 5385.0  R7"));

    const QStringList lines = cutListLines(plan);
    ASSERT_EQ(lines.size(), 1 + 4 + 2);
    EXPECT_EQ(lines[0], QStringLiteral("No.\tQty\tLabel\tLength\tCut\tPosition\tPiece\tLength"));
    EXPECT_EQ(lines[2], QStringLiteral("1\t2\tS\t6000\t2\t2405.0\tA\t1200"));
    EXPECT_EQ(lines[6], QStringLiteral("2\t1\tS\t6000\t2\t605.0\tC\t300"));
}

TEST(BarGeometry, TipsNamePieceLengthAndPosition)
{
    DiagramSource source = diagramJob(5, 10);
    addPattern(source, {{0, 1}, {2, 2}});
    const PlanDiagrams plan = buildDiagrams(source, QStringLiteral("15"), {});
    const BarDiagram& bar = plan.bars[0];
    EXPECT_EQ(segmentTip(plan, bar, bar.segments[2]), QStringLiteral("C, length 300, from 1205 to 1505"));
    EXPECT_EQ(segmentTip(plan, bar, bar.segments[1]), QStringLiteral("Saw cut at 1200"));
}

TEST(BarScale, SpansTileTheWidthAtAnyScaleWithVisibleCuts)
{
    DiagramSource source = diagramJob(3, 10);
    addPattern(source, {{2, 19}});        // many narrow pieces and cuts
    addPattern(source, {{0, 4}, {1, 1}}); // a short left-over
    const PlanDiagrams plan = buildDiagrams(source, QStringLiteral("15"), {});
    for (const BarDiagram& bar : plan.bars) {
        for (int width : {21, 40, 97, 333, 1000, 4096}) {
            SCOPED_TRACE(width);
            const std::vector<PixelSpan> spans = pixelSpans(bar, width);
            ASSERT_EQ(spans.size(), bar.segments.size());
            int x = 0;
            for (size_t k = 0; k < spans.size(); ++k) {
                EXPECT_EQ(spans[k].x, x);
                const SegmentKind kind = bar.segments[k].kind;
                EXPECT_GE(spans[k].width, kind == SegmentKind::Cut ? 1 : kind == SegmentKind::Stub ? 3 : 0);
                x += spans[k].width;
            }
            EXPECT_EQ(x, width);
        }
    }
    // More cuts than pixels: still no overlap and nothing beyond the bar.
    const std::vector<PixelSpan> tight = pixelSpans(plan.bars[0], 10);
    EXPECT_EQ(tight.back().x + tight.back().width, 10);
}

TEST(BarScale, BlocksTooShortForTheirTextGetNone)
{
    const auto sevenPerLetter = [](const QString& text) { return 7 * int(text.size()); };
    const QStringList texts{QStringLiteral("A 1200"), QStringLiteral("1200")};
    EXPECT_EQ(fittingText(texts, 48, 3, sevenPerLetter), QStringLiteral("A 1200"));
    EXPECT_EQ(fittingText(texts, 47, 3, sevenPerLetter), QStringLiteral("1200"));
    EXPECT_EQ(fittingText(texts, 33, 3, sevenPerLetter), QString());
}

TEST(DiagramPages, BreakOnlyBetweenBlocks)
{
    struct Case {
        std::vector<int> heights;
        int firstRoom, pageRoom;
        std::vector<int> starts;
    };
    const Case cases[] = {
        {{40, 40, 40}, 120, 120, {0}},
        {{40, 40, 40, 40}, 100, 120, {0, 2}},
        {{30, 200, 30}, 100, 100, {0, 1, 2}}, // a block taller than a page stands alone
        {{}, 100, 100, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pageStarts(c.heights, c.firstRoom, c.pageRoom), c.starts);
}

TEST(Palette, StylesStayApartAndTheirTextReadable)
{
    for (int32_t kind = 0; kind < 30; ++kind) {
        SCOPED_TRACE(kind);
        const PieceStyle style = pieceStyle(kind);
        EXPECT_GE(contrastRatio(style.fill, style.text), 4.5);
        // No piece looks like a left-over.
        for (auto shade :
             {calculation::LeftLenShade::Cream, calculation::LeftLenShade::Grey, calculation::LeftLenShade::Green})
            EXPECT_GT(contrastRatio(style.fill, leftOverFill(shade)), 1.2);
    }
    // The first kinds differ in colour, or at least in hatching.
    for (int32_t a = 0; a < kDistinctStyles; ++a)
        for (int32_t b = a + 1; b < kDistinctStyles; ++b)
            EXPECT_TRUE(!(pieceStyle(a).fill == pieceStyle(b).fill) || pieceStyle(a).hatching != pieceStyle(b).hatching)
                << a << " " << b;
}
