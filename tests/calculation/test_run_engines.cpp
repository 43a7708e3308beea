#include "run_fixture.h"

#include <gtest/gtest.h>

#include <new>
#include <thread>

namespace {

// Counts the genetic search's random draws: its work, whatever the machine's speed.
class CountedRandom : public optimizer::RandomSource {
public:
    CountedRandom() : RandomSource(1) {}
    int32_t random(int32_t n) override
    {
        ++draws;
        return RandomSource::random(n);
    }
    int64_t draws = 0;
};

// Memory that runs out in the genetic search.
class FailingRandom : public CountedRandom {
public:
    int32_t random(int32_t) override { throw std::bad_alloc(); }
};

class Generations : public optimizer::SearchObserver {
public:
    void generationFinished(int32_t generation) override { last = generation; }
    int32_t last = 0;
};

class RunEnginesTest : public RunTest {
protected:
    calculation::PlanEngine search(CountedRandom& random, optimizer::SearchObserver* observer = nullptr)
    {
        calculation::CalculationRun run({*parts, *stocks, *layout}, lastRun, messages, clock, &progress);
        run.run(controls, random, observer);
        return run.shownEngine();
    }
};

TEST_F(RunEnginesTest, TheTimeLimitEndsBothEnginesEachWithItsBestPlan)
{
    fill(*parts, {{"A", "1183", "40"}, {"B", "1045", "30"}, {"C", "2351", "20"}, {"D", "777", "25"}});
    fill(*stocks, {{"Bar", "6000", "200", "", ""}, {"Short", "4000", "200", "", ""}});
    controls.qualityLevel = 12;
    controls.exactSearch = false;
    CountedRandom random;
    Generations unbounded;
    ASSERT_EQ(search(random, &unbounded), calculation::PlanEngine::Genetic);
    ASSERT_GT(unbounded.last, 0);
    // The bound holds even before the genetic search has its first plan: a run without time has none.
    controls.runSeconds = 0;
    lastRun = {};
    Generations bounded;
    EXPECT_EQ(search(random, &bounded), calculation::PlanEngine::None);
    EXPECT_EQ(bounded.last, 0);
    // The exact engine makes a quick plan before it looks at the clock, so both engines show one.
    controls.exactSearch = true;
    EXPECT_EQ(search(random), calculation::PlanEngine::Exact);
}

TEST_F(RunEnginesTest, TheProofThatNoPlanExistsEndsTheGeneticSearch)
{
    // Every bar holds one piece: the genetic search fails plan after plan, the exact engine proves it at once.
    std::vector<QStringList> rows;
    for (int kind = 0; kind < 100; ++kind)
        rows.push_back({QStringLiteral("P%1").arg(kind), QString::number(3001 + kind), QStringLiteral("2")});
    fill(*parts, rows);
    fill(*stocks, {{"Bar", "6000", "199", "", ""}});
    controls.qualityLevel = 1;
    controls.exactSearch = false;
    CountedRandom alone;
    EXPECT_EQ(search(alone), calculation::PlanEngine::None);
    controls.exactSearch = true;
    CountedRandom both;
    EXPECT_EQ(search(both), calculation::PlanEngine::None);
    EXPECT_EQ(lastMessage(), "No plan can cut every piece: the bars in stock are too few or too short, even cut "
                             "without any waste.");
    EXPECT_LT(both.draws * 3, alone.draws) << both.draws << " of " << alone.draws;
}

// Memory that runs out in the exact engine, which asks for Stop on a thread of its own.
class FailingOffThisThread : public optimizer::SearchObserver {
public:
    bool stopRequested() override
    {
        if (std::this_thread::get_id() != caller)
            throw std::bad_alloc();
        return false;
    }
    std::thread::id caller = std::this_thread::get_id();
};

TEST_F(RunEnginesTest, AnErrorInEitherEngineFailsTheRunWithAMessage)
{
    // Enough kinds and two bar lengths, so that the exact engine must solve its relaxation.
    std::vector<QStringList> rows;
    for (int kind = 0; kind < 30; ++kind)
        rows.push_back({QStringLiteral("P%1").arg(kind), QString::number(1001 + 37 * kind), QStringLiteral("3")});
    fill(*parts, rows);
    fill(*stocks, {{"Bar", "6000", "200", "", ""}, {"Short", "4500", "200", "", ""}});
    CountedRandom random;
    ASSERT_NE(search(random), calculation::PlanEngine::None);
    FailingRandom failingGenetic;
    FailingOffThisThread failingExact;
    for (const bool genetic : {true, false}) {
        messages.shown.clear();
        progress = {};
        // The genetic search alone, as the exact engine may prove its plan before the search draws a number.
        controls.exactSearch = !genetic;
        EXPECT_EQ(genetic ? search(failingGenetic) : search(random, &failingExact), calculation::PlanEngine::None);
        EXPECT_EQ(lastMessage(),
                  "The calculation stopped on an unexpected error, so no layout was made. Please try again.");
        // Neither the old plan nor a half-made one stays on screen.
        EXPECT_TRUE(layout->cell(5, 0).isEmpty());
        EXPECT_EQ(progress.position, progress.maximum);
    }
}

} // namespace
