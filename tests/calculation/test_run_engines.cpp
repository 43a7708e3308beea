#include "exact/second_worker.h"
#include "run_fixture.h"
#include "support/counted_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <mutex>
#include <new>
#include <thread>

namespace {

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

// Each engine thread's processor time between its looks at Stop and the end request: how long a Stop may wait for
// it, whatever the machine's load. Stop is pressed once the search has run a while.
class StopLooks : public optimizer::SearchObserver {
public:
    explicit StopLooks(double pressAfter) : m_pressAfter(pressAfter) {}
    bool stopRequested() override
    {
        look();
        return m_pressed;
    }
    bool endRequested() override
    {
        look();
        return false;
    }
    struct Looks {
        double last = 0;
        double longestGap = 0;
        bool sawStop = false;
    };
    std::map<std::thread::id, Looks> threads() const
    {
        std::lock_guard lock(m_mutex);
        return m_threads;
    }

private:
    static double seconds(clockid_t clock)
    {
        timespec now{};
        clock_gettime(clock, &now);
        return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
    }
    void look()
    {
        const double now = seconds(CLOCK_THREAD_CPUTIME_ID);
        std::lock_guard lock(m_mutex);
        if (!m_pressed && seconds(CLOCK_MONOTONIC) - m_start >= m_pressAfter)
            m_pressed = true;
        auto [looks, first] = m_threads.try_emplace(std::this_thread::get_id(), Looks{now});
        if (!first)
            looks->second.longestGap = std::max(looks->second.longestGap, now - looks->second.last);
        looks->second.last = now;
        looks->second.sawStop = looks->second.sawStop || m_pressed;
    }

    double m_pressAfter;
    double m_start = seconds(CLOCK_MONOTONIC);
    mutable std::mutex m_mutex;
    std::map<std::thread::id, Looks> m_threads;
    std::atomic<bool> m_pressed = false;
};

TEST_F(RunEnginesTest, BothEnginesLookAtStopOftenAndEndOnItWithAPlan)
{
    // Many kinds on long bars: large pricing tables, and generations of many repairs. Neither engine may work longer
    // than the fifth of a second Stop is answered within, in its own time, without asking for Stop (the sanitizer
    // build, being slower, two and a half times that), and both end on it, with the best plan so far shown. Unloaded,
    // the longest wait is about a hundredth of a second; two other runs on the same cores can make it ten times that.
    // Without the genetic search the exact engine's second worker takes the free core, and is held to the same.
    std::vector<QStringList> rows;
    for (int kind = 0; kind < 1024; ++kind)
        rows.push_back({QStringLiteral("P%1").arg(kind), QString::number(500 + (kind * 7919) % 28500),
                        QString::number(2 + kind % 13)});
    fill(*parts, rows);
    fill(*stocks, {{"Long", "100000", "900", "", ""}, {"Short", "60000", "900", "", ""}});
    controls.qualityLevel = 12;
#if defined(__SANITIZE_ADDRESS__)
    const double longest = 0.5;
#else
    const double longest = 0.2;
#endif
    for (const bool genetic : {true, false}) {
        controls.geneticSearch = genetic;
        CountedRandom random;
        StopLooks stop(1.0);
        EXPECT_NE(search(random, &stop), calculation::PlanEngine::None);
        const std::map<std::thread::id, StopLooks::Looks> threads = stop.threads();
        EXPECT_EQ(threads.size(), genetic || exact::SecondCore::available() ? 2u : 1u);
        // A second worker paused for a busy core learns of the end from the first one rather than from Stop.
        size_t sawStop = 0;
        for (const auto& [thread, looks] : threads) {
            sawStop += looks.sawStop ? 1 : 0;
            EXPECT_LT(looks.longestGap, longest);
        }
        EXPECT_GE(sawStop, genetic ? 2u : 1u);
    }
}

} // namespace
