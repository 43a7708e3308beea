#include "job_builder.h"
#include "optimizer/subset_walk.h"
#include "plan_checks.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace optimizer;
using namespace optimizer::testing;

namespace {

CutSettings blade(float width, float stub = 0)
{
    CutSettings settings;
    settings.bladeWidth = width;
    settings.stubLength = stub;
    return settings;
}

std::vector<std::pair<int32_t, int32_t>> entriesOf(const strPattern& p)
{
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int32_t e = 0; e < p.entries; ++e)
        out.emplace_back(p.part[e], p.count[e]);
    return out;
}

using Entries = std::vector<std::pair<int32_t, int32_t>>;

} // namespace

TEST(SubsetWalk, VisitsSubsetsInColexOrder)
{
    std::vector<std::vector<int32_t>> seen;
    int32_t pos[3];
    walkSubsets(4, 2, pos, [&](const int32_t* s) {
        seen.push_back({s[0], s[1]});
        return false;
    });
    EXPECT_EQ(seen, (std::vector<std::vector<int32_t>>{{0, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {2, 3}}));

    seen.clear();
    walkSubsets(5, 3, pos, [&](const int32_t* s) {
        seen.push_back({s[0], s[1], s[2]});
        return false;
    });
    ASSERT_EQ(seen.size(), 10u);
    EXPECT_EQ(seen[1], (std::vector<int32_t>{0, 1, 3}));
    EXPECT_EQ(seen[3], (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(seen[4], (std::vector<int32_t>{0, 1, 4}));
    EXPECT_EQ(seen.back(), (std::vector<int32_t>{2, 3, 4}));
}

TEST(SubsetWalk, StopsAfterTheLimitOrWhenTooFewCandidates)
{
    int32_t pos[5];
    int32_t visited = 0;
    walkSubsets(200, 2, pos, [&](const int32_t*) { return ++visited, false; });
    EXPECT_EQ(visited, kSubsetLimit);
    visited = 0;
    EXPECT_FALSE(walkSubsets(2, 3, pos, [&](const int32_t*) { return ++visited, false; }));
    EXPECT_EQ(visited, 0);
    EXPECT_TRUE(walkSubsets(6, 2, pos, [&](const int32_t* s) { return s[0] == 2 && s[1] == 4; }));
    EXPECT_EQ(pos[0], 2);
    EXPECT_EQ(pos[1], 4);
}

TEST(ExactFits, PairFillingTheBarExactly)
{
    RandomSource random(1);
    auto cut = makeCut({{600, 7}, {400, 5}}, {{1000, 9}}, blade(0), random);
    strGroup plan = cut->newPlan();
    const strPattern p = cut->fitEqual(plan, 1);
    EXPECT_EQ(entriesOf(p), (Entries{{0, 1}, {1, 1}}));
    EXPECT_EQ(p.waste, 0.0f);
    EXPECT_EQ(p.times, 5); // the 400 pieces run out first
    EXPECT_EQ(plan.partLeft, (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(plan.stockLeft, (std::vector<int32_t>{4}));
}

TEST(ExactFits, BladeWidthBetweenPiecesOnly)
{
    RandomSource random(1);
    auto exact = makeCut({{600, 3}, {395, 3}}, {{1000, 3}}, blade(5), random);
    strGroup plan = exact->newPlan();
    EXPECT_EQ(entriesOf(exact->nextPattern(plan)), (Entries{{0, 1}, {1, 1}}));
    EXPECT_FALSE(exact->randomOnly);

    // 600 + 5 + 400 overshoots and 1005 has no whole divisor among 605 and 405: the random fill takes over.
    auto inexact = makeCut({{600, 3}, {400, 3}}, {{1000, 3}}, blade(5), random);
    strGroup other = inexact->newPlan();
    const strPattern p = inexact->nextPattern(other);
    EXPECT_TRUE(inexact->randomOnly);
    EXPECT_GE(p.entries, 1);
    EXPECT_GT(p.waste, 0.0f);
    addPattern(other, p);
    EXPECT_TRUE(planConsistent(*inexact, other, false));
}

TEST(ExactFits, MixedCountsAndTheFirstMatchingAssignment)
{
    RandomSource random(1);
    // 2 x 300 + 1 x 400 = 1000 with kinds {400, 300}: the assignment giving 2 pieces to the second member.
    auto cut = makeCut({{400, 4}, {300, 4}}, {{1000, 4}}, blade(0), random);
    strGroup plan = cut->newPlan();
    const strPattern p = cut->fitMixed(plan, 2, 1);
    EXPECT_EQ(entriesOf(p), (Entries{{0, 1}, {1, 2}}));
    EXPECT_EQ(p.times, 2);
    EXPECT_EQ(p.waste, 0.0f);
    addPattern(plan, p);
    EXPECT_TRUE(planConsistent(*cut, plan, false));
}

TEST(ExactFits, PiecesShortOfTheCountAreNotUsed)
{
    RandomSource random(1);
    // 500 + 500 would fit twice over, but only one 500 is left: no equal fit of two kinds exists.
    auto cut = makeCut({{500, 1}, {250, 1}}, {{1000, 2}}, blade(0), random);
    strGroup plan = cut->newPlan();
    EXPECT_EQ(cut->fitEqual(plan, 2).entries, 0);
    EXPECT_EQ(plan.partLeft, (std::vector<int32_t>{1, 1}));
}

TEST(SingleFit, OneKindFillingTheBar)
{
    RandomSource random(1);
    auto cut = makeCut({{196, 6}}, {{1000, 2}}, blade(5), random);
    strGroup plan = cut->newPlan();
    const strPattern p = cut->nextPattern(plan);
    EXPECT_EQ(entriesOf(p), (Entries{{0, 5}}));
    EXPECT_EQ(p.waste, 0.0f);
    EXPECT_EQ(p.times, 1);
    EXPECT_FALSE(cut->randomOnly);
}

TEST(SingleFit, RefusesThreeKindsAndTinyDivisors)
{
    RandomSource random(1);
    auto three = makeCut({{500, 2}, {250, 4}, {100, 10}}, {{1000, 2}}, blade(0), random);
    strGroup plan = three->newPlan();
    EXPECT_EQ(three->fitSingle(plan).entries, 0);

    // A piece plus blade below one unit has whole divisor 0: skipped, never divided by.
    auto tiny = makeCut({{0.5f, 100}}, {{10, 2}}, blade(0.25f), random);
    strGroup small = tiny->newPlan();
    EXPECT_EQ(tiny->fitSingle(small).entries, 0);
}

TEST(SingleFit, FractionalLengthsKeepTheirRealRemainder)
{
    RandomSource random(1);
    // 1000 is divisible by trunc(100.5) = 100, yet only 9 pieces of 100.5 fit: 95.5 stays on the bar.
    auto cut = makeCut({{100.5f, 20}}, {{1000, 3}}, blade(0), random);
    strGroup plan = cut->newPlan();
    const strPattern p = cut->fitSingle(plan);
    EXPECT_EQ(entriesOf(p), (Entries{{0, 9}}));
    EXPECT_FLOAT_EQ(p.waste, 95.5f);
    addPattern(plan, p);
    EXPECT_TRUE(planConsistent(*cut, plan, false));
}

TEST(ChooseStock, OnlyKindsWithBarsLeft)
{
    RandomSource random(7);
    auto cut = makeCut({{100, 1}}, {{1000, 0}, {800, 3}, {600, 0}}, blade(0), random);
    strGroup plan = cut->newPlan();
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(cut->chooseStock(plan), 1);
    plan.stockLeft[1] = 0;
    EXPECT_EQ(cut->chooseStock(plan), -1);
    EXPECT_EQ(cut->fitEqual(plan, 1).entries, 0);
    EXPECT_EQ(cut->fitRandom(plan).entries, 0);
    EXPECT_EQ(cut->fitSingle(plan).entries, 0);
}

TEST(ChooseStock, PriorityPreferenceDrawsUpToFiveTimes)
{
    // Stocks 0 and 2 are normal, 1 is a priority stock.
    const std::vector<StockSpec> stocks{{1000, 1, 0, false}, {900, 1, 0, true}, {800, 1, 0, false}};
    ScriptedRandom third({0, 2, 1});
    auto cut = makeCut({{100, 1}}, stocks, blade(0), third);
    ASSERT_TRUE(cut->preferPriority);
    strGroup plan = cut->newPlan();
    EXPECT_EQ(cut->chooseStock(plan), 1);
    EXPECT_EQ(third.used(), 3u);

    ScriptedRandom never({0, 2, 0, 2, 2});
    auto other = makeCut({{100, 1}}, stocks, blade(0), never);
    EXPECT_EQ(other->chooseStock(plan), 2); // the fifth draw
    EXPECT_EQ(never.used(), 5u);
}

TEST(RandomFit, PieceAsLongAsTheFreeLengthIsPlaced)
{
    // Draws: stock 0, one pick, candidate 0, one piece.
    ScriptedRandom random({0, 0, 0, 0});
    auto cut = makeCut({{1000, 3}}, {{1000, 5}}, blade(3), random);
    strGroup plan = cut->newPlan();
    const strPattern p = cut->fitRandom(plan);
    EXPECT_EQ(entriesOf(p), (Entries{{0, 1}}));
    EXPECT_EQ(p.waste, 0.0f);
    EXPECT_EQ(p.times, 3);
}

TEST(RandomFit, NeverPutsAPieceLongerThanTheBarOnIt)
{
    // Part 503 does not fit the 500 bar. A cut that was never taken must not be given back: the free
    // length would grow to 505 and the piece would land on the short bar.
    ScriptedRandom random({1, 1, 0, 0, 0});
    auto cut = makeCut({{503, 2}}, {{1000, 1}, {500, 1}}, blade(5), random);
    strGroup plan = cut->newPlan();
    const strPattern p = cut->fitRandom(plan);
    EXPECT_EQ(p.entries, 0);
    EXPECT_EQ(plan.stockLeft, (std::vector<int32_t>{1, 1}));
}

TEST(RandomFit, TimesIsTheLargestNumberOfBarsAllowed)
{
    RandomSource random(3);
    auto cut = makeCut({{300, 7}, {200, 40}}, {{1000, 50}}, blade(0), random);
    for (int round = 0; round < 20; ++round) {
        strGroup plan = cut->newPlan();
        const strPattern p = cut->fitRandom(plan);
        ASSERT_GE(p.entries, 1);
        int32_t bound = 50;
        for (int32_t e = 0; e < p.entries; ++e)
            bound = std::min(bound, cut->parts[size_t(p.part[e])].qty / p.count[e]);
        EXPECT_EQ(p.times, bound);
        addPattern(plan, p);
        EXPECT_TRUE(planConsistent(*cut, plan, false));
    }
}

TEST(RandomFit, StopsFillingAtFiveHundredTwelveEntries)
{
    RandomSource random(5);
    std::vector<PartSpec> parts;
    for (int i = 0; i < 1000; ++i)
        parts.push_back({1, 1});
    auto cut = makeCut(parts, {{5000, 1}}, blade(0), random);
    strGroup plan = cut->newPlan();
    const strPattern p = cut->fitRandom(plan);
    EXPECT_EQ(p.entries, kMaxPatternEntries);
    addPattern(plan, p);
    EXPECT_TRUE(planConsistent(*cut, plan, false));
}

TEST(BarFit, ExactFitsNeverMatchPastTheRealBar)
{
    RandomSource random(1);
    struct Case {
        const char* name;
        std::vector<PartSpec> parts;
        float stock;
        CutSettings settings;
        int32_t a; // fitMixed(a, 1), or fitEqual(1) when 0
    };
    const Case cases[] = {
        // 2 x 2000.0001 + 2000 rounds to 6000 as a float, yet is 0.0002 too long.
        {"MixedRoundedToTheBar", {{2000.0001f, 2}, {2000, 1}}, 6000, blade(0), 2},
        // 8388608 + 8388608 + 1 = 16777217 rounds to 16777216.
        {"MixedPastTheLastWholeFloat", {{8388608, 2}, {1, 1}}, 16777216, blade(0), 2},
        // 1000 - 0.1 rounds up to 999.9000244 as a float; the pair sums to that, past the real usable length.
        {"EqualPastTheStub", {{500, 1}, {499.9000244140625f, 1}}, 1000, blade(0, 0.1f), 0},
    };
    for (const Case& c : cases) {
        auto cut = makeCut(c.parts, {{c.stock, 3}}, c.settings, random);
        strGroup plan = cut->newPlan();
        const strPattern p = c.a > 0 ? cut->fitMixed(plan, c.a, 1) : cut->fitEqual(plan, 1);
        EXPECT_EQ(p.entries, 0) << c.name;
        // Whatever the generators then cut instead fits the bar.
        const strGroup built = cut->buildPlan();
        EXPECT_TRUE(planConsistent(*cut, built, false)) << c.name;
    }
}

TEST(BarFit, RandomFillMeasuresTheDecimalsTyped)
{
    // Draws: stock 0, one pick, candidate 1, ten pieces. 10 x 0.3 + 15997 is 16000 to the last tenth, though
    // the floats of 0.3 add up to a little more: the bar takes both.
    ScriptedRandom random({0, 0, 1, 9});
    auto cut = makeCut({{15997, 1}, {0.3f, 10}}, {{16000, 1}}, blade(0), random);
    strGroup plan = cut->newPlan();
    const strPattern p = cut->fitRandom(plan);
    EXPECT_EQ(entriesOf(p), (Entries{{1, 10}, {0, 1}}));
    EXPECT_EQ(p.waste, 0.0f);
    EXPECT_TRUE(fitsBar(*cut, p));
}
