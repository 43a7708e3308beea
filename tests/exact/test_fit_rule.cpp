#include "exact/exact_engine.h"
#include "optimizer/job_builder.h"
#include "optimizer/plan_checks.h"

#include <gtest/gtest.h>

using namespace optimizer;
using namespace optimizer::testing;

namespace {

int64_t barsOf(const strGroup& plan)
{
    int64_t bars = 0;
    for (const strPattern& pattern : plan.patterns)
        bars += pattern.times;
    return bars;
}

} // namespace

// Decimals as typed: both engines, the fit rule and the plan check agree on what one bar holds.
TEST(FitRule, DecimalEdgesAgreeInBothEnginesAndThePlanCheck)
{
    struct Case {
        const char* name;
        std::vector<PartSpec> parts;
        float bar;
        float blade;
        float stub;
        int64_t bars; // 1 when all pieces fit one bar
    };
    const Case cases[] = {
        {"500.1 + 500.2 fill 1000.3", {{500.2f, 1}, {500.1f, 1}}, 1000.3f, 0, 0, 1},
        {"500.2 + 500.2 is a tenth over", {{500.2f, 2}}, 1000.3f, 0, 0, 2},
        {"blade and stub fill the bar", {{500.05f, 2}}, 1000.4f, 0.1f, 0.2f, 1},
        {"blade and stub a unit over", {{500.05f, 2}}, 1000.3999f, 0.1f, 0.2f, 2},
        {"four places fill the bar", {{333.3333f, 3}}, 999.9999f, 0, 0, 1},
        {"whole lengths, a unit over", {{334, 3}}, 1001, 0, 0, 2},
    };
    for (const Case& c : cases) {
        CutSettings settings;
        settings.bladeWidth = c.blade;
        settings.stubLength = c.stub;
        settings.qualityLevel = 1;
        RandomSource random(5);
        auto cut = makeCut(c.parts, {{c.bar, 3}}, settings, random);

        // Every piece on one bar, by the rule and by the plan check.
        strPattern all;
        all.stock = 0;
        for (int32_t kind = 0; kind < cut->partCount; ++kind)
            all.addEntry(kind, cut->parts[size_t(kind)].qty);
        const FitRule rule(cut->parts, cut->stocks, c.blade, c.stub);
        EXPECT_EQ(rule.fits(all), c.bars == 1) << c.name;
        all.waste = rule.toLength(std::max(0.0L, rule.left(all)));
        EXPECT_EQ(bool(fitsBar(*cut, all)), c.bars == 1) << c.name;
        if (c.bars == 1) {
            EXPECT_EQ(all.waste, 0.0f) << c.name;
        }

        // The genetic search and the exact engine need the same bars.
        ASSERT_EQ(cut->runSearch(), 0) << c.name;
        const strGroup genetic = cut->takeResult(0);
        EXPECT_TRUE(planConsistent(*cut, genetic, true)) << c.name;
        EXPECT_EQ(barsOf(genetic), c.bars) << c.name;
        const CutJob job = makeCutJob(cut->parts, cut->stocks, settings);
        exact::ExactEngine engine(job, {1.0});
        const exact::ExactOutcome outcome = engine.run();
        ASSERT_EQ(outcome.status, exact::ExactOutcome::Status::Plan) << c.name;
        EXPECT_TRUE(planConsistent(*cut, outcome.plan, true)) << c.name;
        EXPECT_EQ(barsOf(outcome.plan), c.bars) << c.name;
        EXPECT_TRUE(outcome.optimal) << c.name;
    }
}
