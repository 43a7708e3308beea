#include "run_fixture.h"

#include "optimizer/plan_checks.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <random>

using calculation::RunFocus;

namespace {

// Jobs per run: thousands in the normal build, fewer where the sanitizers slow everything down;
// BARVIK_PROPERTY_JOBS asks for another number (a longer soak).
int jobCount()
{
    if (const char* text = std::getenv("BARVIK_PROPERTY_JOBS"))
        return std::max(1, std::atoi(text));
#ifdef __SANITIZE_ADDRESS__
    return 80;
#else
    return 1500;
#endif
}

struct JobText {
    std::vector<QStringList> parts;
    std::vector<QStringList> stocks;
    calculation::CalcControls controls;
    bool surelyFeasible = false; // built so that a waste-free plan exists and the generators find it
};

// Random workshop jobs, some with hostile cells (zero, negative, huge, not finite, not numbers), some of
// 1024 kinds, some with exactly enough stock for one waste-free pattern per bar.
class JobMaker {
public:
    explicit JobMaker(uint32_t seed) : m_gen(seed) {}

    JobText make()
    {
        JobText job;
        job.controls.qualityLevel = 1;
        job.controls.costOptimization = pick(0, 3) == 0;
        job.controls.changeOptimization = pick(0, 3) == 0;
        // The exact engine runs its whole time budget on many jobs: beside the genetic search on some, briefly.
        job.controls.exactSearch = pick(0, 49) == 0;
        job.controls.exactSeconds = 0.02;
        if (pick(0, 4) == 0)
            return exactlyEnough(job);
        job.controls.bladeWidth = hostile(10) ? hostileNumber() : QString::number(pick(0, 6) * 0.5);
        job.controls.stubLength = hostile(10) ? hostileNumber() : QString::number(pick(0, 3) * 5);
        const int partKinds = pick(0, 150) == 0 ? 1024 + pick(0, 1) : pick(1, 8);
        const int stockKinds = pick(0, 150) == 0 ? 1024 : pick(1, 4);
        for (int i = 0; i < partKinds; ++i) {
            const QString length = hostile(30)     ? hostileNumber()
                                   : partKinds > 8 ? QString::number(pick(1, 100))
                                                   : partLength();
            job.parts.push_back({label("P", i), length, hostile(30) ? hostileCount() : QString::number(pick(0, 12))});
        }
        for (int j = 0; j < stockKinds; ++j) {
            const QString length = hostile(30) ? hostileNumber() : QString::number(pick(10, 120) * 50);
            const QString qty = hostile(30) ? hostileCount() : QString::number(pick(0, 40));
            const QString cost = hostile(20)       ? hostileNumber()
                                 : pick(0, 2) == 0 ? QString()
                                                   : QString::number(pick(1, 90));
            job.stocks.push_back({label("S", j), length, qty, cost, pick(0, 2) == 0 ? "No" : "Yes"});
        }
        return job;
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_gen); }
    bool hostile(int oneIn) { return pick(1, oneIn) == 1; }
    static QString label(const char* prefix, int i) { return QString::fromLatin1(prefix) + QString::number(i); }

    QString partLength()
    {
        switch (pick(0, 3)) {
        case 0:
            return QString::number(pick(1, 1999)) + ".5";
        case 1:
            return QString::number(pick(1, 1999999) / 1000.0, 'f', 3);
        default:
            return QString::number(pick(20, 2000));
        }
    }
    QString hostileNumber()
    {
        static const char* const kTexts[] = {"0",    "-5",    "nan",    "inf",       "1e30", "16777216", "16777217",
                                             "1e-7", "1e-50", "3.4e38", "2000.0001", "abc",  "",         "-0"};
        return QString::fromLatin1(kTexts[pick(0, int(std::size(kTexts)) - 1)]);
    }
    QString hostileCount()
    {
        static const char* const kTexts[] = {"0", "-1", "100000", "2147483647", "2147483648", "1.5", "x", "1 000"};
        return QString::fromLatin1(kTexts[pick(0, int(std::size(kTexts)) - 1)]);
    }

    // One to five kinds, one piece of each per bar, and bars of exactly their length, stub and blade widths.
    JobText& exactlyEnough(JobText& job)
    {
        const int blade = pick(0, 4);
        const int stub = pick(0, 2) * 5;
        job.controls.bladeWidth = QString::number(blade);
        job.controls.stubLength = QString::number(stub);
        const int kinds = pick(1, 5);
        const int bars = pick(1, 30);
        int barLength = stub + (kinds - 1) * blade;
        for (int i = 0; i < kinds; ++i) {
            const int length = pick(50, 3000);
            barLength += length;
            job.parts.push_back({label("P", i), QString::number(length), QString::number(bars)});
        }
        job.stocks.push_back({"Bar", QString::number(barLength), QString::number(bars), "", "Yes"});
        job.surelyFeasible = true;
        return job;
    }

    std::mt19937 m_gen;
};

} // namespace

TEST_F(RunTest, RandomJobsEndInAValidPlanOrAClearRefusal)
{
    const int jobs = jobCount();
    int shown = 0;
    qint64 slowest = 0;
    QElapsedTimer all;
    all.start();
    for (int n = 0; n < jobs; ++n) {
        const uint32_t seed = 1000u + uint32_t(n);
        JobMaker maker(seed);
        const JobText job = maker.make();
        fill(*parts, job.parts);
        fill(*stocks, job.stocks);
        lastRun = {};
        // Every tenth job runs twice with the same input, so the kept plan can stand in.
        for (int repeat = 0; repeat < (n % 10 == 0 ? 2 : 1); ++repeat) {
            messages.shown.clear();
            calculation::CalculationRun run({*parts, *stocks, *layout}, lastRun, messages, clock, &progress);
            optimizer::RandomSource random(seed + uint32_t(repeat));
            QElapsedTimer timer;
            timer.start();
            const bool ok = run.run(job.controls, random);
            slowest = std::max(slowest, timer.elapsed());
            if (!ok) {
                ASSERT_EQ(messages.shown.size(), 1u) << "seed " << seed;
                EXPECT_FALSE(messages.shown[0].first.isEmpty()) << "seed " << seed;
                EXPECT_FALSE(job.surelyFeasible) << "seed " << seed << ": " << lastMessage().toStdString();
                continue;
            }
            ++shown;
            EXPECT_TRUE(messages.shown.empty()) << "seed " << seed;
            // The shown plan against the lists its indices refer to, with the run's settings.
            optimizer::rpCut check(run.settings(), random);
            check.parts = run.shownParts();
            check.stocks = run.shownStocks();
            check.partCount = int32_t(check.parts.size());
            check.stockCount = int32_t(check.stocks.size());
            ASSERT_TRUE(optimizer::testing::planConsistent(check, run.shownPlan(), true)) << "seed " << seed;
            const QString totals = layout->cell(5, 0);
            EXPECT_TRUE(totals.startsWith(QStringLiteral("Total cost= "))) << "seed " << seed;
            EXPECT_FALSE(totals.contains(QStringLiteral("inf")) || totals.contains(QStringLiteral("nan")))
                << "seed " << seed << ": " << totals.toStdString();
            EXPECT_EQ(layout->rows(), 2 + int(run.shownPlan().patterns.size())) << "seed " << seed;
        }
    }
    // Both ends are reached: the jobs are not all refused, nor all cut.
    EXPECT_GT(shown, jobs / 10);
    EXPECT_LT(shown, jobs);
    std::cout << jobs << " jobs, " << shown << " plans shown, slowest run " << slowest << " ms, all " << all.elapsed()
              << " ms\n";
}
