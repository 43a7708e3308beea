#include "job_builder.h"
#include "plan_checks.h"
#include "support/counted_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace optimizer;
using namespace optimizer::testing;

namespace {

// Checks every plan of the population after every generation, and can ask the search to stop.
class CheckingObserver : public SearchObserver {
public:
    explicit CheckingObserver(const rpCut& cut, int32_t stopAfter = -1) : m_cut(cut), m_stopAfter(stopAfter) {}

    void generationFinished(int32_t generation) override
    {
        ++generations;
        EXPECT_EQ(generation, generations) << "generation";
        for (size_t i = 0; i < m_cut.population.size(); ++i) {
            EXPECT_TRUE(planConsistent(m_cut, m_cut.population[i], true)) << "member " << i;
            if (i > 0) {
                EXPECT_LE(m_cut.population[i - 1].score, m_cut.population[i].score) << "member " << i;
            }
        }
    }
    bool stopRequested() override { return m_stopAfter >= 0 && generations >= m_stopAfter; }

    int32_t generations = 0;

private:
    const rpCut& m_cut;
    int32_t m_stopAfter;
};

struct Job {
    std::vector<PartSpec> parts;
    std::vector<StockSpec> stocks;
    CutSettings settings;
};

// A random workshop job: lists sorted by descending length as the calculation run hands them over.
Job randomJob(uint32_t seed)
{
    std::mt19937 gen(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    Job job;
    job.settings.qualityLevel = pick(1, 3);
    job.settings.bladeWidth = float(pick(0, 3)) * (pick(0, 1) ? 1.0f : 0.5f);
    job.settings.stubLength = float(pick(0, 2) * 5);
    job.settings.changeOptimization = pick(0, 3) == 0;
    job.settings.costOptimization = pick(0, 3) == 0;
    const int stockKinds = pick(1, 4);
    for (int j = 0; j < stockKinds; ++j)
        job.stocks.push_back(
            {float(pick(8, 60) * 50), pick(0, 6) == 0 ? 0 : pick(1, 40), float(pick(0, 90)), pick(0, 2) != 0});
    float longest = 0;
    for (const StockSpec& stock : job.stocks)
        longest = std::max(longest, stock.length);
    const int partKinds = pick(1, 12);
    for (int i = 0; i < partKinds; ++i) {
        const float length = pick(0, 4) == 0 ? float(pick(100, 1800)) + 0.5f : float(pick(40, 1800));
        job.parts.push_back({std::min(length, longest - job.settings.stubLength), pick(0, 15)});
    }
    // Enough bars in all for the pieces half as much again, so that most jobs have layouts.
    double partTotal = 0;
    double stockTotal = 0;
    for (const PartSpec& part : job.parts)
        partTotal += double(part.length) * part.qty;
    for (const StockSpec& stock : job.stocks)
        stockTotal += double(stock.length) * stock.qty;
    if (stockTotal < 1.5 * partTotal)
        job.stocks.front().qty += int32_t((1.5 * partTotal - stockTotal) / job.stocks.front().length) + 1;
    std::sort(job.parts.begin(), job.parts.end(), [](auto& a, auto& b) { return a.length > b.length; });
    std::sort(job.stocks.begin(), job.stocks.end(), [](auto& a, auto& b) { return a.length > b.length; });
    return job;
}

std::vector<float> patternSummary(const strGroup& plan)
{
    std::vector<float> out{plan.score, plan.ratio, float(plan.patternCount)};
    for (const strPattern& p : plan.patterns) {
        out.insert(out.end(), {float(p.stock), float(p.times), p.waste});
        for (int32_t e = 0; e < p.entries; ++e)
            out.insert(out.end(), {float(p.part[e]), float(p.count[e])});
    }
    return out;
}

} // namespace

TEST(Search, SameSeedGivesTheSamePlan)
{
    const Job job = randomJob(2024);
    std::vector<float> first;
    for (int run = 0; run < 2; ++run) {
        RandomSource random(99);
        auto cut = makeCut(job.parts, job.stocks, job.settings, random);
        ASSERT_EQ(cut->runSearch(), 0);
        const auto summary = patternSummary(cut->takeResult(0));
        if (run == 0)
            first = summary;
        else
            EXPECT_EQ(summary, first);
    }
}

TEST(Search, RandomJobsKeepEveryInvariant)
{
    int solved = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        const Job job = randomJob(seed);
        RandomSource random(seed * 7919u);
        auto cut = makeCut(job.parts, job.stocks, job.settings, random);
        CheckingObserver observer(*cut);
        const int32_t result = cut->runSearch(&observer);
        EXPECT_LE(observer.generations, 20 * job.settings.qualityLevel) << "seed " << seed;
        if (result != 0) {
            EXPECT_EQ(observer.generations, 0) << "seed " << seed;
            continue;
        }
        ++solved;
        const strGroup plan = cut->takeResult(0);
        ASSERT_TRUE(planConsistent(*cut, plan, true)) << "seed " << seed;
        double used = 0;
        double left = 0;
        for (size_t k = 0; k < plan.patterns.size(); ++k) {
            if (k > 0) {
                EXPECT_LE(plan.patterns[k - 1].waste, plan.patterns[k].waste) << "seed " << seed;
            }
            used += double(plan.patterns[k].times) * cut->stocks[size_t(plan.patterns[k].stock)].length;
            left += double(plan.patterns[k].times) * plan.patterns[k].waste;
        }
        EXPECT_NEAR(plan.ratio, (used - left) / used * 100, 1e-3) << "seed " << seed;
        EXPECT_EQ(plan.score, cut->population[0].score);
    }
    EXPECT_GT(solved, 130); // most jobs have layouts; a regression that fails them shows here
}

TEST(Search, QuickExactFitsGiveTheSamePlansAsVisitingEverySubset)
{
    // Many part kinds, so that the subset limit and the skipped runs of subsets both come into play.
    for (uint32_t seed = 1; seed <= 5; ++seed) {
        std::mt19937 gen(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
        std::vector<PartSpec> parts;
        const int kinds = pick(12, 45);
        for (int i = 0; i < kinds; ++i)
            parts.push_back({float(pick(20, 400)) + (pick(0, 5) == 0 ? 0.25f : 0.0f), pick(1, 6)});
        std::sort(parts.begin(), parts.end(), [](auto& a, auto& b) { return a.length > b.length; });
        CutSettings settings;
        settings.qualityLevel = 1;
        settings.bladeWidth = float(pick(0, 2));
        settings.stubLength = float(pick(0, 1) * 5);
        const std::vector<StockSpec> stocks{{float(pick(6, 12) * 100), 400}, {float(pick(3, 5) * 100), 400}};
        std::vector<float> plans[2];
        for (int quick = 0; quick < 2; ++quick) {
            RandomSource random(seed);
            auto cut = makeCut(parts, stocks, settings, random);
            cut->setQuickExactFits(quick == 1);
            ASSERT_EQ(cut->runSearch(), 0) << "seed " << seed;
            plans[quick] = patternSummary(cut->takeResult(0));
        }
        EXPECT_EQ(plans[0], plans[1]) << "seed " << seed;
    }
}

TEST(Search, NoPlanAtAllReturnsFailureWithoutAGeneration)
{
    RandomSource random(4);
    auto cut = makeCut({{900, 11}}, {{2000, 2}}, CutSettings{}, random);
    CheckingObserver observer(*cut);
    EXPECT_EQ(cut->runSearch(&observer), -1);
    EXPECT_EQ(observer.generations, 0);
    EXPECT_EQ(cut->generation, 0);
}

TEST(Search, WasteFreeBestEndsBeforeTheFirstGeneration)
{
    RandomSource random(4);
    auto cut = makeCut({{600, 10}, {400, 10}}, {{1000, 10}}, CutSettings{}, random);
    ASSERT_EQ(cut->runSearch(), 0);
    EXPECT_EQ(cut->generation, 0);
    const strGroup plan = cut->takeResult(0);
    EXPECT_FLOAT_EQ(plan.ratio, 100);
    EXPECT_FLOAT_EQ(plan.score, 20000);
}

TEST(Search, RatesOfTheDefaultQuality)
{
    RandomSource random(4);
    auto cut = makeCut({{700, 10}, {433, 7}}, {{2000, 20}}, CutSettings{}, random);
    ASSERT_EQ(cut->runSearch(), 0);
    EXPECT_EQ(cut->generationLimit, 100);
    EXPECT_FLOAT_EQ(cut->crossoverStep, 0.005f);
    EXPECT_FLOAT_EQ(cut->mutationStep, 0.003f);
    EXPECT_GE(cut->generation, 1);
    EXPECT_LE(cut->generation, 100);
}

TEST(Search, InputTheGeneratorsCannotWorkOnIsRefused)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        std::vector<PartSpec> parts;
        std::vector<StockSpec> stocks;
        float blade;
    };
    const Case cases[] = {
        {{{0, 5}}, {{1000, 5}}, 0},    {{{-10, 5}}, {{1000, 5}}, 0},  {{{100, 5}}, {{0, 5}}, 0},
        {{{nan, 5}}, {{1000, 5}}, 0},  {{{100, 5}}, {{inf, 5}}, 0},   {{{100, -1}}, {{1000, 5}}, 0},
        {{{100, 5}}, {{1000, -2}}, 0}, {{{100, 5}}, {{1000, 5}}, -1}, {{}, {{1000, 5}}, 0},
        {{{100, 5}}, {}, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        RandomSource random(1);
        CutSettings settings;
        settings.bladeWidth = cases[i].blade;
        auto cut = makeCut(cases[i].parts, cases[i].stocks, settings, random);
        EXPECT_EQ(cut->runSearch(), -1) << "case " << i;
    }
}

TEST(Search, StopRequestEndsAfterTheCurrentGeneration)
{
    const Job job = randomJob(77);
    RandomSource random(5);
    CutSettings settings = job.settings;
    settings.qualityLevel = 12;
    auto cut =
        makeCut({{731, 40}, {517, 33}, {389, 51}, {241, 29}, {113, 70}}, {{6000, 200}, {4000, 100}}, settings, random);
    CheckingObserver observer(*cut, 2);
    ASSERT_EQ(cut->runSearch(&observer), 0);
    EXPECT_EQ(observer.generations, 2);
    EXPECT_EQ(cut->generation, 2);
    EXPECT_TRUE(planConsistent(*cut, cut->takeResult(0), true));
}

// Counts the draws at the end of each generation and raises Stop at the given check inside the second one (never
// at 0).
class MidGenerationStop : public SearchObserver {
public:
    MidGenerationStop(const CountedRandom& draws, int32_t stopAtCheck) : m_draws(draws), m_stopAtCheck(stopAtCheck) {}
    void generationFinished(int32_t) override { atGenerationEnd.push_back(m_draws.draws); }
    bool stopRequested() override
    {
        if (atGenerationEnd.size() == 1 && !stopped && ++m_checks == m_stopAtCheck) {
            stopped = true;
            drawsAtStop = m_draws.draws;
        }
        return stopped;
    }

    std::vector<int64_t> atGenerationEnd;
    bool stopped = false;
    int64_t drawsAtStop = 0;

private:
    const CountedRandom& m_draws;
    int32_t m_stopAtCheck;
    int32_t m_checks = 0;
};

TEST(Search, StopIsAnsweredWithinTheGenerationAndKeepsTheBestPlan)
{
    // Stop raised part-way through a generation is answered at the next pattern, without another draw, and the
    // population stays whole.
    CutSettings settings;
    settings.qualityLevel = 12;
    int64_t secondGeneration = 0;
    for (const int32_t stopAtCheck : {0, 2, 9, 40}) {
        CountedRandom random(5);
        auto cut = makeCut({{2351, 200}, {1183, 400}, {1045, 300}, {777, 250}}, {{6000, 2000}, {4000, 2000}}, settings,
                           random);
        MidGenerationStop observer(random, stopAtCheck);
        ASSERT_EQ(cut->runSearch(&observer), 0);
        ASSERT_GE(observer.atGenerationEnd.size(), 2u) << stopAtCheck;
        if (stopAtCheck == 0) {
            secondGeneration = observer.atGenerationEnd[1] - observer.atGenerationEnd[0];
            continue;
        }
        ASSERT_TRUE(observer.stopped) << stopAtCheck;
        EXPECT_EQ(random.draws, observer.drawsAtStop) << stopAtCheck;
        EXPECT_LT(observer.drawsAtStop - observer.atGenerationEnd[0], secondGeneration / 2) << stopAtCheck;
        EXPECT_EQ(cut->generation, 2) << stopAtCheck;
        for (const strGroup& plan : cut->population)
            EXPECT_TRUE(planConsistent(*cut, plan, true)) << stopAtCheck;
    }
}

TEST(Population, InsertPositionKeepsTiesBehind)
{
    RandomSource random(1);
    auto cut = makeCut({{100, 1}}, {{1000, 1}}, CutSettings{}, random);
    for (int i = 0; i < kPopulationSize; ++i)
        cut->population[size_t(i)].score = float(100 + 10 * i);
    EXPECT_EQ(cut->insertPosition(float(100 + 10 * 29)), -1);
    EXPECT_EQ(cut->insertPosition(1000), -1);
    EXPECT_EQ(cut->insertPosition(200), 11); // equal to member 10: goes behind it
    EXPECT_EQ(cut->insertPosition(5), 0);

    strGroup plan;
    plan.score = 200;
    cut->insertPlan(11, plan);
    EXPECT_EQ(cut->population[10].score, 200);
    EXPECT_EQ(cut->population[11].score, 200);
    EXPECT_EQ(cut->population[12].score, 210);
    EXPECT_EQ(cut->population[29].score, 380); // the old worst member is dropped
}

TEST(Population, SelectionFavoursTheLowScoringEnd)
{
    RandomSource random(8);
    auto cut = makeCut({{100, 1}}, {{1000, 1}}, CutSettings{}, random);
    for (auto& member : cut->population)
        member.score = 0;
    EXPECT_EQ(cut->selectPlan(), 0); // threshold 0 picks the best member

    for (int i = 0; i < kPopulationSize; ++i)
        cut->population[size_t(i)].score = float(1 + i * i);
    int low = 0;
    int high = 0;
    for (int n = 0; n < 3000; ++n) {
        const int32_t index = cut->selectPlan();
        ASSERT_GE(index, 0);
        ASSERT_LT(index, kPopulationSize);
        (index < 10 ? low : index >= 20 ? high : low) += index < 10 ? 1 : index >= 20 ? 1 : 0;
    }
    EXPECT_GT(low, high);

    // A total beyond the 32-bit range still draws and ends.
    for (auto& member : cut->population)
        member.score = 3.0e9f;
    EXPECT_GE(cut->selectPlan(), 0);
}

TEST(Population, SortIsAscendingByScore)
{
    RandomSource random(8);
    auto cut = makeCut({{100, 1}}, {{1000, 1}}, CutSettings{}, random);
    std::mt19937 gen(3);
    for (auto& member : cut->population)
        member.score = float(gen() % 50);
    cut->sortPopulation();
    for (int i = 1; i < kPopulationSize; ++i)
        EXPECT_LE(cut->population[size_t(i - 1)].score, cut->population[size_t(i)].score);
}
