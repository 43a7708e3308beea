#include "exact/bar_counts.h"
#include "exact/exact_engine.h"
#include "exact/plan_choice.h"
#include "optimizer/job_builder.h"
#include "optimizer/plan_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace optimizer;
using namespace optimizer::testing;

namespace {

struct Job {
    std::vector<PartSpec> parts;
    std::vector<StockSpec> stocks;
    CutSettings settings;
};

// The optimizer's lists for the job, longest first as the calculation hands them over.
std::unique_ptr<rpCut> listsOf(Job& job, RandomSource& random)
{
    std::sort(job.parts.begin(), job.parts.end(), [](auto& a, auto& b) { return a.length > b.length; });
    std::sort(job.stocks.begin(), job.stocks.end(), [](auto& a, auto& b) { return a.length > b.length; });
    return makeCut(job.parts, job.stocks, job.settings, random);
}

// The job record of the optimizer's lists, as the calculation makes it.
CutJob jobOf(const rpCut& cut)
{
    return makeCutJob(cut.parts, cut.stocks, cut.settings());
}

exact::ExactOutcome solve(const rpCut& cut, double seconds = 5, SearchObserver* observer = nullptr)
{
    const CutJob job = jobOf(cut);
    exact::ExactEngine engine(job, {seconds});
    return engine.run(observer);
}

int64_t bars(const strGroup& plan)
{
    int64_t total = 0;
    for (const strPattern& pattern : plan.patterns)
        total += pattern.times;
    return total;
}

class StopAtOnce : public SearchObserver {
public:
    bool stopRequested() override { return true; }
};

} // namespace

TEST(ExactEngineTest, BoundsFollowTheLengthEquation)
{
    struct Case {
        const char* name;
        std::vector<PartSpec> parts;
        float blade;
        float stub;
        int64_t bars; // the bound in bars of 100
    };
    const Case cases[] = {
        {"two 40 per bar, half a bar rounded up", {{40, 3}}, 0, 0, 2},
        {"pairs that fill the bar", {{60, 2}, {40, 2}}, 0, 0, 2},
        {"10 + 44 + 2 + 44 is exactly 100", {{44, 4}}, 2, 10, 2},
        {"44.5 leaves one per bar", {{44.5f, 4}}, 2, 10, 4},
        {"a part of quantity 0 is not cut", {{44, 4}, {90, 0}}, 2, 10, 2},
    };
    for (const Case& c : cases) {
        Job job{c.parts, {{100, 50}}, {}};
        job.settings.bladeWidth = c.blade;
        job.settings.stubLength = c.stub;
        RandomSource random(1);
        auto cut = listsOf(job, random);
        const CutJob record = jobOf(*cut);
        exact::ExactEngine engine(record, {});
        const std::optional<double> bound = engine.lowerBound();
        ASSERT_TRUE(bound) << c.name;
        EXPECT_DOUBLE_EQ(*bound / engine.job().barCost(0), double(c.bars)) << c.name;
        const exact::ExactOutcome outcome = solve(*cut);
        EXPECT_TRUE(outcome.optimal) << c.name;
        EXPECT_EQ(bars(outcome.plan), c.bars) << c.name;
    }
}

TEST(ExactEngineTest, TripletsAndWholeBarsReachTheirOptimum)
{
    std::mt19937 gen(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    // Triplets that fill a bar of 1000 exactly.
    Job triplets{{}, {{1000, 200}}, {}};
    for (int t = 0; t < 40; ++t) {
        const int a = pick(380, 490);
        const int b = pick(250, (1000 - a) / 2);
        for (int length : {a, b, 1000 - a - b})
            triplets.parts.push_back({float(length), 1});
    }
    // Bars cut into pieces with blade 3 and stub 10 and nothing left; on bars of 12000 the relaxation alone
    // takes longer than the time given, so the bars must be filled to the last unit directly.
    auto wholeBars = [&](float length, int count) {
        Job whole{{}, {{length, count + 20}}, {}};
        whole.settings.bladeWidth = 3;
        whole.settings.stubLength = 10;
        for (int bar = 0; bar < count; ++bar) {
            float room = length - 10;
            while (room > 1200) {
                const float piece = float(pick(300, 900));
                whole.parts.push_back({piece, 1});
                room -= piece + 3;
            }
            whole.parts.push_back({room, 1});
        }
        return whole;
    };
    Job whole = wholeBars(6000, 12);
    Job long12 = wholeBars(12000, 40);
    for (auto [job, optimum] : {std::pair{&triplets, 40}, std::pair{&whole, 12}, std::pair{&long12, 40}}) {
        RandomSource random(1);
        auto cut = listsOf(*job, random);
        const exact::ExactOutcome outcome = solve(*cut, 20);
        ASSERT_EQ(outcome.status, exact::ExactOutcome::Status::Plan);
        EXPECT_TRUE(outcome.optimal);
        EXPECT_EQ(bars(outcome.plan), optimum);
        EXPECT_TRUE(planConsistent(*cut, outcome.plan, true));
    }
}

TEST(ExactEngineTest, FilledBarsNeverFewerThanThePiecesNeed)
{
    // Three pieces of 60 and one of 20 fill two bars of 100 by length, yet each 60 needs a bar of its own.
    Job job{{{60, 3}, {20, 1}}, {{100, 5}}, {}};
    RandomSource random(1);
    auto cut = listsOf(job, random);
    const CutJob record = jobOf(*cut);
    exact::ExactEngine engine(record, {});
    exact::BinCompletion completion(engine.job());
    ASSERT_TRUE(completion.applies());
    EXPECT_EQ(completion.fewestBars(), 2);
    const exact::Limits limits;
    EXPECT_FALSE(completion.search(2, limits, 1000));
    const std::optional<exact::Layout> three = completion.search(3, limits, 1000);
    ASSERT_TRUE(three);
    EXPECT_EQ(three->bars(), 3);

    // Sixteen thousand pieces that fill 6000 bars exactly: the search keeps its own stack, however many pieces.
    Job many{{{600, 4000}, {400, 4000}, {250, 8000}}, {{1000, 7000}}, {}};
    auto manyCut = listsOf(many, random);
    const CutJob manyRecord = jobOf(*manyCut);
    exact::ExactEngine manyEngine(manyRecord, {});
    exact::BinCompletion manyCompletion(manyEngine.job());
    ASSERT_TRUE(manyCompletion.applies());
    ASSERT_EQ(manyCompletion.fewestBars(), 6000);
    const std::optional<exact::Layout> filled = manyCompletion.search(6000, limits, 1'000'000);
    ASSERT_TRUE(filled);
    EXPECT_EQ(filled->bars(), 6000);
    int64_t pieces = 0;
    for (const auto& [cut, times] : filled->cuts) {
        EXPECT_TRUE(manyEngine.job().fits(cut));
        for (const auto& [item, count] : cut.entries)
            pieces += count * times;
    }
    EXPECT_EQ(pieces, 16000);
}

TEST(ExactEngineTest, PlansOfRandomJobsKeepThePlanInvariants)
{
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        std::mt19937 gen(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
        Job job;
        job.settings.bladeWidth = float(pick(0, 4)) * (pick(0, 1) ? 1.0f : 0.5f);
        job.settings.stubLength = float(pick(0, 2) * 5);
        job.settings.costOptimization = pick(0, 2) == 0;
        job.settings.changeOptimization = pick(0, 3) == 0;
        for (int j = pick(1, 4); j > 0; --j)
            job.stocks.push_back({float(pick(20, 60) * 100), pick(1, 30), float(pick(1, 90)), pick(0, 1) == 1});
        for (int i = pick(1, 15); i > 0; --i)
            job.parts.push_back({float(pick(50, 1900)) + (pick(0, 3) == 0 ? 0.25f : 0.0f), pick(0, 12)});
        if (std::all_of(job.parts.begin(), job.parts.end(), [](auto& p) { return p.qty == 0; }))
            job.parts.front().qty = 1;
        RandomSource random(seed);
        auto cut = listsOf(job, random);
        const exact::ExactOutcome outcome = solve(*cut, 0.02);
        if (outcome.status == exact::ExactOutcome::Status::Plan) {
            EXPECT_TRUE(planConsistent(*cut, outcome.plan, true)) << "seed " << seed;
            EXPECT_GT(outcome.plan.score, 0) << "seed " << seed;
            if (outcome.boundKnown) {
                EXPECT_GE(outcome.objective, outcome.bound * (1 - 1e-9)) << "seed " << seed;
            }
        } else {
            // Without a plan the stock must truly be short: the genetic search finds none either.
            EXPECT_NE(cut->runSearch(), 0) << "seed " << seed;
        }
    }
}

TEST(ExactEngineTest, StopAndInfeasibleJobs)
{
    // A stop at once still hands back the quick plan.
    Job job{{{433, 25}, {271, 45}, {122, 30}}, {{1000, 100}}, {}};
    RandomSource random(1);
    auto cut = listsOf(job, random);
    StopAtOnce stop;
    const exact::ExactOutcome stopped = solve(*cut, 5, &stop);
    ASSERT_EQ(stopped.status, exact::ExactOutcome::Status::Plan);
    EXPECT_TRUE(planConsistent(*cut, stopped.plan, true));

    // Three pieces of 600 on two bars of 1000: the total fits, the bars don't.
    Job shortStock{{{600, 3}}, {{1000, 2}}, {}};
    auto tooFew = listsOf(shortStock, random);
    const exact::ExactOutcome refused = solve(*tooFew);
    EXPECT_EQ(refused.status, exact::ExactOutcome::Status::Infeasible);
    EXPECT_TRUE(refused.infeasibleReason.empty());

    // The only bars long enough for the part are used up.
    Job usedUp{{{1500, 1}, {500, 2}}, {{2000, 0}, {1000, 5}}, {}};
    auto none = listsOf(usedUp, random);
    const exact::ExactOutcome named = solve(*none);
    EXPECT_EQ(named.status, exact::ExactOutcome::Status::Infeasible);
    EXPECT_EQ(named.infeasibleReason, "P0");
}

namespace {

// The cheapest plan by trying every way to share the pieces out over bars: fine for a handful of pieces.
double cheapestByHand(const exact::ExactJob& job)
{
    std::vector<int32_t> itemOf;
    for (int32_t i = 0; i < job.items(); ++i)
        itemOf.insert(itemOf.end(), size_t(job.demand(i)), i);
    const uint32_t all = (1u << itemOf.size()) - 1;
    std::vector<double> cheapest(all + 1, 1e300);
    cheapest[0] = 0;
    for (uint32_t mask = 1; mask <= all; ++mask) {
        const uint32_t lowest = mask & (~mask + 1);
        for (uint32_t bar = mask; bar > 0; bar = (bar - 1) & mask) {
            if (!(bar & lowest) || cheapest[mask ^ bar] >= 1e300)
                continue;
            for (int32_t j = 0; j < job.stocks(); ++j) {
                exact::Cut cut;
                cut.stock = j;
                for (size_t k = 0; k < itemOf.size(); ++k)
                    if (bar & (1u << k)) {
                        if (!cut.entries.empty() && cut.entries.back().first == itemOf[k])
                            ++cut.entries.back().second;
                        else
                            cut.entries.emplace_back(itemOf[k], 1);
                    }
                if (job.fits(cut))
                    cheapest[mask] = std::min(cheapest[mask], job.barCost(j) + cheapest[mask ^ bar]);
            }
        }
    }
    return cheapest[all];
}

} // namespace

TEST(ExactEngineTest, SeveralStockKindsBoundAndOptimumHoldAgainstEveryPlan)
{
    int proven = 0;
    int searchedWithin = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 gen(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
        Job job;
        job.settings.bladeWidth = float(pick(0, 3));
        job.settings.stubLength = float(pick(0, 1) * 10);
        job.settings.costOptimization = pick(0, 1) == 0;
        for (int j = pick(2, 3); j > 0; --j)
            job.stocks.push_back({float(pick(10, 40) * 50), 20, float(pick(5, 60)), false});
        int pieces = 0;
        for (int i = pick(2, 4); i > 0 && pieces < 9; --i) {
            const int qty = std::min(pick(1, 4), 9 - pieces);
            job.parts.push_back({float(pick(150, 900)), qty});
            pieces += qty;
        }
        RandomSource random(seed);
        auto cut = listsOf(job, random);
        const CutJob record = jobOf(*cut);
        exact::ExactEngine engine(record, {1.0});
        const exact::ExactOutcome outcome = engine.run();
        const double best = cheapestByHand(engine.job());
        ASSERT_EQ(outcome.status, exact::ExactOutcome::Status::Plan) << "seed " << seed;
        const double tolerance = 1e-9 * best;
        EXPECT_GE(outcome.objective, best - tolerance) << "seed " << seed;
        ASSERT_TRUE(outcome.boundKnown) << "seed " << seed;
        EXPECT_LE(outcome.bound, best + tolerance) << "seed " << seed;
        if (outcome.optimal) {
            EXPECT_NEAR(outcome.objective, best, tolerance) << "seed " << seed;
            ++proven;
        }
        // One completion search over every choice of bars: a layout at the cheapest cost, none below it.
        exact::BinCompletion completion(engine.job());
        if (!completion.appliesWithin())
            continue;
        ++searchedWithin;
        exact::Layout layout;
        ASSERT_EQ(completion.searchWithin(best, {}, int64_t(1) << 40, layout), exact::BinCompletion::Outcome::Found)
            << "seed " << seed;
        EXPECT_LE(layout.cost(engine.job()), best + tolerance) << "seed " << seed;
        std::vector<int64_t> pieceCount(size_t(engine.job().items()), 0);
        for (const auto& [pieces, times] : layout.cuts) {
            EXPECT_TRUE(engine.job().fits(pieces)) << "seed " << seed;
            for (const auto& [item, count] : pieces.entries)
                pieceCount[size_t(item)] += count * times;
        }
        for (int32_t i = 0; i < engine.job().items(); ++i)
            EXPECT_EQ(pieceCount[size_t(i)], engine.job().demand(i)) << "seed " << seed;
        EXPECT_EQ(completion.searchWithin(best * (1 - 1e-6), {}, int64_t(1) << 40, layout),
                  exact::BinCompletion::Outcome::Impossible)
            << "seed " << seed;
    }
    // The bar counts of each kind prove most of these small jobs.
    EXPECT_GE(proven, 30);
    EXPECT_GE(searchedWithin, 20);
}

TEST(ExactEngineTest, ChangeOptimizationNeverCostsMoreNorAddsPatterns)
{
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        std::mt19937 gen(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
        Job job;
        job.stocks.push_back({100000, 500, 0, false});
        for (int i = pick(5, 12); i > 0; --i)
            job.parts.push_back({float(pick(5000, 45000)), pick(10, 100)});
        RandomSource random(seed);
        auto cut = listsOf(job, random);
        // Both runs end at their proof; the budget only has to outlast a slow machine, where a run cut short by
        // its budget may end with any plan.
        const exact::ExactOutcome plain = solve(*cut, 60);
        ASSERT_TRUE(plain.optimal) << "seed " << seed;
        job.settings.changeOptimization = true;
        auto changes = listsOf(job, random);
        const exact::ExactOutcome reduced = solve(*changes, 60);
        ASSERT_EQ(reduced.status, exact::ExactOutcome::Status::Plan);
        EXPECT_TRUE(reduced.optimal) << "seed " << seed;
        EXPECT_TRUE(planConsistent(*changes, reduced.plan, true)) << "seed " << seed;
        EXPECT_LE(reduced.objective, plain.objective) << "seed " << seed;
        EXPECT_LE(reduced.plan.patterns.size(), plain.plan.patterns.size()) << "seed " << seed;
    }
}

TEST(ExactEngineTest, TiesGoToTheBarsMarkedYes)
{
    // Two stocks alike but for the mark: every bar of the plan should be one marked Yes.
    for (bool costs : {false, true}) {
        Job job{{{430, 7}, {260, 9}, {120, 5}}, {{1000, 40, 12, false}, {1000, 40, 12, true}}, {}};
        job.settings.costOptimization = costs;
        RandomSource random(3);
        auto cut = listsOf(job, random);
        const exact::ExactOutcome outcome = solve(*cut, 1);
        ASSERT_EQ(outcome.status, exact::ExactOutcome::Status::Plan);
        for (const strPattern& pattern : outcome.plan.patterns)
            EXPECT_TRUE(cut->stocks[size_t(pattern.stock)].priority) << "costs " << costs;
    }
}

TEST(ExactEngineTest, HugeQuantitiesAreCutAsQuantitiesNotPieceByPiece)
{
    // 2147483647 pieces of 1 on bars of 16777216: 128 bars, 127 of them alike.
    Job job{{{1, INT32_MAX}}, {{16777216, 1000}}, {}};
    RandomSource random(1);
    auto cut = listsOf(job, random);
    const CutJob record = jobOf(*cut);
    exact::ExactEngine engine(record, {0.5});
    exact::Heuristics heuristics(engine.job());
    const exact::Rest whole = exact::Rest::wholeJob(engine.job());
    const std::optional<exact::Layout> ffd = heuristics.firstFitDecreasing(whole.demand, whole.bars);
    ASSERT_TRUE(ffd);
    EXPECT_EQ(ffd->cuts.size(), 2u);
    EXPECT_EQ(ffd->bars(), 128);
    const exact::ExactOutcome outcome = engine.run();
    ASSERT_EQ(outcome.status, exact::ExactOutcome::Status::Plan);
    EXPECT_TRUE(planConsistent(*cut, outcome.plan, true));
    EXPECT_EQ(bars(outcome.plan), 128);
    EXPECT_TRUE(outcome.optimal);
}

TEST(ExactEngineTest, JobsOneBarAboveTheRoundedBoundAreCutAndProven)
{
    // Found by a search over small jobs; every way of sharing the pieces out over bars gives the optimum.
    struct Case {
        float bar;
        std::vector<PartSpec> parts;
        int64_t optimum;
    };
    const Case cases[] = {
        {198, {{98, 3}, {92, 1}, {84, 2}, {60, 2}, {57, 3}, {46, 3}}, 6},
        {97, {{37, 3}, {32, 3}, {23, 4}, {22, 1}, {21, 3}}, 5},
    };
    for (const Case& c : cases) {
        Job job{c.parts, {{c.bar, 20}}, {}};
        RandomSource random(1);
        auto cut = listsOf(job, random);
        const CutJob record = jobOf(*cut);
        exact::ExactEngine bound(record, {});
        const std::optional<double> relaxation = bound.lowerBound();
        ASSERT_TRUE(relaxation);
        EXPECT_EQ(std::llround(*relaxation / bound.job().barCost(0)), c.optimum - 1) << c.bar;
        const exact::ExactOutcome outcome = solve(*cut, 5);
        ASSERT_EQ(outcome.status, exact::ExactOutcome::Status::Plan);
        EXPECT_EQ(bars(outcome.plan), c.optimum) << c.bar;
        EXPECT_TRUE(outcome.optimal) << c.bar;
        EXPECT_TRUE(planConsistent(*cut, outcome.plan, true));
    }
}

TEST(ExactEngineTest, ChoicesOfBarsAtOneCostAddUpToItWithinStock)
{
    const std::vector<double> costs = {11993, 8993, 5993, 4993, 2993};
    const std::vector<int64_t> plenty(costs.size(), 5000);
    for (size_t head = 0; head + 1 < costs.size(); ++head) {
        const std::optional<exact::BarCounts> counts = exact::barCountsAt(costs, plenty, 6639720, 1, head, 1'000'000);
        ASSERT_TRUE(counts.has_value()) << "head " << head;
        double total = 0;
        for (size_t k = 0; k < costs.size(); ++k)
            total += double(counts->bars[k]) * costs[k];
        EXPECT_EQ(total, 6639720) << "head " << head;
        EXPECT_EQ(counts->cost, 6639720) << "head " << head;
    }
    // Costs of 4 and 6 make only even sums, and a choice keeps to the bars in stock.
    EXPECT_FALSE(exact::barCountsAt({4, 6}, {10, 10}, 7, 1, 0, 100).has_value());
    const std::optional<exact::BarCounts> ten = exact::barCountsAt({4, 6}, {10, 10}, 10, 1, 0, 100);
    ASSERT_TRUE(ten.has_value());
    EXPECT_EQ(ten->bars, (std::vector<int64_t>{1, 1}));
    EXPECT_FALSE(exact::barCountsAt({4, 6}, {0, 1}, 10, 1, 0, 100).has_value());
    EXPECT_EQ(exact::barCountsAt({4, 6}, {3, 0}, 12, 1, 0, 100)->bars, (std::vector<int64_t>{3, 0}));
}
