#include "job_builder.h"
#include "plan_checks.h"

#include <gtest/gtest.h>

using namespace optimizer;
using namespace optimizer::testing;

TEST(Scale, EachBoundBelongsToTheUpperRange)
{
    const std::pair<float, int32_t> cases[] = {{9.99f, 10000}, {10, 1000}, {99, 1000}, {100, 100},
                                               {999, 100},     {1000, 10}, {10000, 1}, {60000, 1}};
    for (auto [length, scale] : cases)
        EXPECT_EQ(rpCut::scaleFor(length), scale) << length;
}

TEST(SamePattern, EntryOrderDoesNotMatterButStockDoes)
{
    strPattern a = makePattern(0, {{2, 1}, {0, 3}});
    strPattern b = makePattern(0, {{0, 3}, {2, 1}}, 4, 12);
    EXPECT_TRUE(samePattern(a, b));
    EXPECT_EQ(a.part[0], 0); // compared patterns keep their entries sorted by part kind
    strPattern c = makePattern(1, {{0, 3}, {2, 1}});
    EXPECT_FALSE(samePattern(a, c));
    strPattern d = makePattern(0, {{0, 2}, {2, 1}});
    EXPECT_FALSE(samePattern(a, d));
}

TEST(AddPattern, MergesIdenticalAndAppendsOthers)
{
    strGroup plan;
    EXPECT_TRUE(addPattern(plan, makePattern(0, {{0, 1}, {1, 2}}, 2, 5)));
    EXPECT_TRUE(addPattern(plan, makePattern(1, {{0, 1}, {1, 2}}, 1, 9)));
    EXPECT_FALSE(addPattern(plan, makePattern(0, {{1, 2}, {0, 1}}, 3, 5)));
    ASSERT_EQ(plan.patterns.size(), 2u);
    EXPECT_EQ(plan.patterns[0].times, 5);
    EXPECT_EQ(plan.patterns[1].times, 1);
}

TEST(FinishPlan, BonusFromTheLastRemnantAndChangeOptimization)
{
    RandomSource random(1);
    auto cut = makeCut({{100, 1}}, {{1000, 3}}, CutSettings{}, random);
    strGroup plan = cut->newPlan();
    plan.partLeft[0] = 0;
    plan.patterns.push_back(makePattern(0, {{0, 1}}));
    EXPECT_FLOAT_EQ(cut->finishPlan(plan, 500, 250), 580);
    EXPECT_FLOAT_EQ(cut->finishPlan(plan, 500, 0), 20500);
    EXPECT_EQ(plan.patternCount, 1);

    CutSettings change;
    change.changeOptimization = true;
    auto changing = makeCut({{100, 1}}, {{1000, 3}}, change, random);
    plan.patterns.push_back(makePattern(0, {{0, 2}}));
    plan.patterns.push_back(makePattern(0, {{0, 3}}));
    EXPECT_FLOAT_EQ(changing->finishPlan(plan, 920, 250), 3000);
    EXPECT_EQ(plan.patternCount, 3);

    plan.partLeft[0] = 1;
    changing->finishPlan(plan, 920, 250);
    EXPECT_EQ(plan.patternCount, 0);
}

TEST(PatternCharge, WasteWeightedByScaleAndCostWhenAsked)
{
    RandomSource random(1);
    CutSettings cost;
    cost.costOptimization = true;
    auto cut = makeCut({{100, 1}}, {{1000, 3, 12.5f}}, cost, random);
    EXPECT_EQ(cut->scale, 10);
    EXPECT_FLOAT_EQ(float(cut->patternCharge(makePattern(0, {{0, 1}}, 3, 40))), 3 * 40 * 10 + 3 * 12.5f * 100);
}

TEST(BuildPlan, CompletePlanOrFailure)
{
    RandomSource random(11);
    CutSettings settings;
    settings.bladeWidth = 2;
    settings.stubLength = 10;
    auto cut = makeCut({{700, 4}, {450, 9}, {210, 13}}, {{2000, 20}, {1500, 5}}, settings, random);
    cut->scale = rpCut::scaleFor(cut->maxStockLength);
    for (int round = 0; round < 30; ++round) {
        const strGroup plan = cut->buildPlan();
        ASSERT_GE(plan.patternCount, 1);
        EXPECT_TRUE(planConsistent(*cut, plan, true));
    }

    // Two bars can't hold eleven pieces of 900.
    auto tooSmall = makeCut({{900, 11}}, {{2000, 2}}, settings, random);
    const strGroup failed = tooSmall->buildPlan();
    EXPECT_EQ(failed.patternCount, 0);
    EXPECT_GT(failed.partLeft[0], 0);
    EXPECT_TRUE(planConsistent(*tooSmall, failed, false));
}

TEST(TakeResult, SortsByWasteAndComputesTheRatio)
{
    RandomSource random(1);
    auto cut = makeCut({{100, 100}}, {{1000, 10}, {500, 10}}, CutSettings{}, random);
    strGroup& plan = cut->population[0];
    plan = cut->newPlan();
    plan.patterns.push_back(makePattern(0, {{0, 7}}, 2, 300));
    plan.patterns.push_back(makePattern(1, {{0, 5}}, 4, 0));
    plan.patterns.push_back(makePattern(0, {{0, 9}}, 1, 100));
    plan.patternCount = 3;
    const strGroup result = cut->takeResult(0);
    ASSERT_EQ(result.patterns.size(), 3u);
    EXPECT_EQ(result.patterns[0].waste, 0.0f);
    EXPECT_EQ(result.patterns[1].waste, 100.0f);
    EXPECT_EQ(result.patterns[2].waste, 300.0f);
    // Used 2*1000 + 4*500 + 1000 = 5000, left 600 + 100 = 700.
    EXPECT_FLOAT_EQ(result.ratio, 86.0f);

    plan.patterns = {makePattern(1, {{0, 5}}, 4, 0)};
    EXPECT_FLOAT_EQ(cut->takeResult(0).ratio, 100.0f);
}
