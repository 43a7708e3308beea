#include "exact_engine.h"

#include "dff_bounds.h"
#include "fewer_patterns.h"
#include "proof_search.h"

#include "optimizer/plan_scoring.h"

#include <algorithm>
#include <cmath>

namespace exact {

namespace {

// Steps of the search that fills bars to the last unit: a short try on every job of one bar length, and
// many more where the bars must be filled almost to the last unit and the relaxation did not finish.
constexpr int64_t kCompletionSteps = 200'000;
constexpr int64_t kTightCompletionSteps = 50'000'000;
// Pieces a bar holds on average from which the relaxation seldom leads to bars filled to the last unit.
constexpr int64_t kManyPerBar = 8;
// Steps of the proof search's first round; each round doubles them.
constexpr int64_t kProofSteps = 20'000;
// Steps of each search for a plan at the bound before the first dive, and the share of the time they may take.
constexpr int64_t kAtBoundSteps = 300'000;
constexpr double kAtBoundShare = 0.6;
// The first round's share of time, at the least.
constexpr double kFirstSlice = 0.01;
// The second worker joins runs that go on longer than this, in seconds: quick ones stay on one core.
constexpr double kSecondWorkerAfter = 0.1;

Clock::time_point after(Clock::time_point from, double seconds)
{
    return from + std::chrono::microseconds(int64_t(seconds * 1e6));
}

} // namespace

ExactEngine::ExactEngine(const optimizer::CutJob& job, const ExactSettings& exactSettings)
    : m_cutJob(job), m_exactSettings(exactSettings), m_job(job), m_master(m_job), m_heuristics(m_job),
      m_completion(m_job), m_incumbent(m_job), m_diver(m_job, m_master, m_heuristics, m_incumbent)
{
}

double ExactEngine::budgetFor(int32_t qualityLevel)
{
    const double level = std::clamp(qualityLevel, 1, 12);
    return 0.15 * level * level;
}

Limits ExactEngine::atBoundLimits() const
{
    Limits limits = m_limits;
    limits.deadline = std::min(m_limits.deadline, after(Clock::now(), kAtBoundShare * m_exactSettings.seconds));
    return limits;
}

void ExactEngine::quickPlan()
{
    const Rest root = Rest::wholeJob(m_job);
    const std::optional<Layout> quick = m_heuristics.complete(root.demand, root.bars);
    if (!quick)
        return;
    m_incumbent.offer(*quick);
    // A relaxation that starts from real patterns instead of the artificial columns needs far fewer rounds.
    if (m_master.columns() == 0)
        for (const auto& [cut, times] : quick->cuts)
            m_master.addColumn(cut);
}

void ExactEngine::cheapBounds()
{
    // No bar costs less than its pieces' share of the credit: the pieces' widths poured into the bars.
    if (m_job.pieceCredit() > 0)
        m_incumbent.raiseBound(m_master.roundUp(m_job.pieceCredit()));
    // Dual feasible functions on bars of one length: a proof before the relaxation where they suffice.
    if (!m_job.integral() || !m_job.barsMeasure())
        return;
    std::vector<int64_t> widths;
    std::vector<int64_t> counts;
    for (int32_t i = 0; i < m_job.items(); ++i) {
        widths.push_back(std::llround(m_job.width(i)));
        counts.push_back(m_job.demand(i));
    }
    for (int32_t j = 0; j < m_job.stocks(); ++j) {
        if (m_job.stockQty(j) > 0 && m_job.capacity(j) > 0) {
            const int64_t bars = dffBound(widths, counts, std::llround(m_job.capacity(j)));
            m_incumbent.raiseBound(double(bars) * m_job.barCost(j));
            return;
        }
    }
}

bool ExactEngine::fillBarsFully(int64_t steps, const Limits& limits)
{
    if (!m_completion.oneCapacity() || !m_job.barsMeasure() || done())
        return false;
    const int64_t fewest = m_completion.fewestBars();
    const std::optional<Layout> best = m_incumbent.best();
    if (best && best->bars() <= fewest)
        return false;
    const std::optional<Layout> filled = m_completion.search(fewest, limits, steps);
    if (!filled)
        return false;
    m_incumbent.offer(*filled);
    // No plan needs fewer bars than the pieces' lengths fill.
    m_incumbent.raiseBound(filled->cost(m_job));
    return true;
}

bool ExactEngine::rootRelaxation(ExactOutcome& outcome)
{
    // Where the bars must be filled to the last unit the relaxation is slow and seldom leads to the plan: it gets
    // half the time, the search the rest.
    const bool tight =
        m_completion.oneCapacity() && m_job.barsMeasure() && m_completion.tight(m_completion.fewestBars());
    Limits rootLimits = m_limits;
    if (tight)
        rootLimits.deadline = Clock::now() + (m_limits.deadline - Clock::now()) / 2;
    const MasterProblem::Solution solution =
        done() ? MasterProblem::Solution{} : m_master.solve(rootLimits, false, true, m_incumbent.cost());
    if (solution.solved && !solution.covered && !m_incumbent.hasPlan() && m_master.provenUncoverable(m_limits)) {
        outcome.status = ExactOutcome::Status::Infeasible;
        for (int32_t i = 0; i < m_job.items() && outcome.infeasibleReason.empty(); ++i) {
            bool fitsSome = false;
            for (int32_t j = 0; j < m_job.stocks(); ++j)
                fitsSome = fitsSome || (m_job.stockQty(j) > 0 && m_job.capacity(j) >= m_job.width(i));
            if (!fitsSome)
                outcome.infeasibleReason = m_cutJob.parts[size_t(m_job.partKind(i))].label;
        }
        return false;
    }
    if (solution.solved && solution.covered && solution.boundProven)
        m_incumbent.raiseBound(m_master.roundUp(solution.bound));
    // A finished relaxation leads the dives to bars filled to the last unit where a bar holds a few pieces; where it
    // holds many, seldom, and the completion search gets the time as if the relaxation had not finished.
    int64_t pieces = 0;
    for (int32_t i = 0; i < m_job.items(); ++i)
        pieces += m_job.demand(i);
    const bool manyPerBar = pieces >= kManyPerBar * std::max<int64_t>(1, m_completion.fewestBars());
    if (tight && (!solution.solved || manyPerBar))
        fillBarsFully(kTightCompletionSteps, m_limits);
    return true;
}

void ExactEngine::search()
{
    // Dives and the complete search take turns, each turn twice as long as the one before: dives with more
    // discrepancies and, from the third turn, other orders of near-equal columns; the proof search with twice the
    // steps. Neither ends the run while time is left and the plan is not proven best. The first dive, a single path
    // down, sets the length of the first turns.
    const Rest root = Rest::wholeJob(m_job);
    Limits slice = m_limits;
    ProofSearch proof(m_job, m_master, m_completion,
                      [&](const Rest& node, uint32_t variation) { m_diver.dive(node, 0, slice, variation); });
    // Every choice of bars at the bound at once, or where they are too many, single ones for a share of the time.
    proof.settleAtBound(m_incumbent, atBoundLimits(), kAtBoundSteps, kAtBoundSteps);
    const Clock::time_point first = Clock::now();
    m_diver.dive(root, 0, m_limits);
    double seconds = std::max(kFirstSlice, std::chrono::duration<double>(Clock::now() - first).count());
    for (int32_t round = 0; !done(); ++round) {
        if (round > 0) {
            slice.deadline = std::min(m_limits.deadline, after(Clock::now(), seconds));
            m_diver.dive(root, round, slice, round >= 2 ? uint32_t(round) : 0);
        }
        slice.deadline = std::min(m_limits.deadline, after(Clock::now(), seconds));
        const int64_t steps = kProofSteps << std::min(round, 30);
        if (!done())
            proof.advance(m_incumbent, slice, steps, uint32_t(round));
        seconds *= 2;
    }
}

void ExactEngine::fewerPatterns(Clock::time_point end, const std::function<bool()>& stop)
{
    // With change optimization, the same cost from fewer patterns, in the last fifth of the budget.
    const std::optional<Layout> best = m_incumbent.best();
    if (!m_cutJob.settings.changeOptimization || !best || best->cuts.size() <= 1)
        return;
    Limits reduction;
    reduction.deadline = end;
    reduction.stopRequested = stop;
    if (std::optional<Layout> fewer = exact::fewerPatterns(m_job, m_master, m_heuristics, *best, reduction))
        m_incumbent.replace(*fewer);
}

void ExactEngine::startSecondWorker(const std::function<bool()>& stop)
{
    if (!m_exactSettings.secondCore || !SecondCore::available() || m_incumbent.proven())
        return;
    // Whichever worker proves the plan best ends both: the first one looks at the proof as often as at Stop.
    m_limits.stopRequested = [this, stop] {
        const bool stopped = m_incumbent.proven() || (stop && stop());
        if (!stopped)
            m_secondCore.poll();
        return stopped;
    };
    Limits second = m_limits;
    second.stopRequested = [this, stop] { return m_secondCore.look() || m_incumbent.proven() || (stop && stop()); };
    m_secondCore.arm(after(Clock::now(), kSecondWorkerAfter),
                     [this, second] { searchOnSecondCore(m_job, m_incumbent, second); });
}

bool ExactEngine::firstWorker(ExactOutcome& outcome)
{
    // 2 - bars filled to the last unit on jobs of one bar length
    fillBarsFully(kCompletionSteps, m_limits);
    // 3 - on jobs with too many choices of bars at the bound to list, plans at the bound before the relaxation, which
    // takes long on them
    if (!done()) {
        ProofSearch early(m_job, m_master, m_completion, [](const Rest&, uint32_t) {});
        early.settleAtBound(m_incumbent, atBoundLimits(), kAtBoundSteps, 1);
    }
    // 4 - the relaxation's bound, or the proof that the pieces can't all be cut
    if (!done() && !rootRelaxation(outcome))
        return false;
    // 5 - dives and the complete search until a plan meets the bound or the time is up
    search();
    return true;
}

ExactOutcome ExactEngine::run(optimizer::SearchObserver* observer)
{
    ExactOutcome outcome;
    const Clock::time_point start = Clock::now();
    // With change optimization the last fifth of the budget goes to fewer patterns.
    const double share = m_cutJob.settings.changeOptimization ? 0.8 : 1.0;
    const Clock::time_point end = after(start, m_exactSettings.seconds);
    m_limits.deadline = after(start, share * m_exactSettings.seconds);
    std::function<bool()> stop;
    if (observer)
        stop = [observer] { return observer->stopRequested(); };
    m_limits.stopRequested = stop;
    if (m_job.items() == 0 || !m_job.usable())
        return outcome;

    // 1 - a quick plan, so that even a stop at once has one, and bounds without the relaxation; from here on the
    // second core works beside the first
    quickPlan();
    cheapBounds();
    startSecondWorker(stop);
    // The second worker ends with the first, also when the first fails: it asks the caller's observer for Stop.
    struct EndSecond {
        SecondCore& core;
        ~EndSecond()
        {
            try {
                core.end();
            } catch (...) {
                // The first worker's failure is the one the caller hears of.
            }
        }
    } endSecond{m_secondCore};
    const bool cuttable = firstWorker(outcome);
    m_secondCore.end();
    if (!cuttable)
        return outcome;
    // 6 - the same cost from fewer patterns with change optimization
    fewerPatterns(end, stop);

    outcome.boundKnown = m_incumbent.boundKnown();
    outcome.bound = m_incumbent.bound();
    if (const std::optional<Layout> best = m_incumbent.best()) {
        outcome.status = ExactOutcome::Status::Plan;
        outcome.plan = toPlan(*best);
        outcome.objective = best->cost(m_job);
        outcome.optimal = m_incumbent.proven();
    }
    return outcome;
}

std::optional<double> ExactEngine::lowerBound()
{
    if (m_job.items() == 0 || !m_job.usable())
        return std::nullopt;
    m_limits = Limits{};
    quickPlan();
    // Bars filled by the pieces' lengths alone bound the relaxation from below; a plan that fills them bounds it
    // from above, so the rounded bound is known without it.
    if (fillBarsFully(kCompletionSteps, m_limits) && m_incumbent.proven())
        return m_incumbent.bound();
    const MasterProblem::Solution solution = m_master.solve(m_limits, false, true, m_incumbent.cost());
    if (!solution.solved || !solution.covered || !solution.boundProven)
        return std::nullopt;
    return m_master.roundUp(solution.bound);
}

optimizer::strGroup ExactEngine::toPlan(const Layout& layout) const
{
    optimizer::strGroup plan;
    for (const optimizer::strPart& part : m_cutJob.parts)
        plan.partLeft.push_back(part.qty);
    for (const optimizer::strStock& stock : m_cutJob.stocks)
        plan.stockLeft.push_back(stock.qty);
    for (const auto& [pieces, times] : layout.cuts) {
        optimizer::strPattern pattern;
        pattern.stock = pieces.stock;
        pattern.times = int32_t(times);
        pattern.waste = m_job.waste(pieces);
        for (const auto& [item, count] : pieces.entries) {
            const int32_t kind = m_job.partKind(item);
            pattern.addEntry(kind, count);
            plan.partLeft[size_t(kind)] -= int32_t(times * count);
        }
        plan.stockLeft[size_t(pattern.stock)] -= int32_t(times);
        plan.patterns.push_back(std::move(pattern));
    }
    // The longest left-over last, as the score's bonus rewards.
    std::stable_sort(plan.patterns.begin(), plan.patterns.end(),
                     [](const optimizer::strPattern& a, const optimizer::strPattern& b) { return a.waste < b.waste; });
    float total = 0;
    for (const optimizer::strPattern& pattern : plan.patterns)
        total = float(total + optimizer::patternCharge(pattern, m_cutJob.stocks, m_cutJob.settings, m_cutJob.scale));
    optimizer::finishPlan(plan, total, plan.patterns.empty() ? 0.0f : plan.patterns.back().waste, m_cutJob.settings);
    // The utilization as the result of the search gets it.
    optimizer::finishResult(plan, m_cutJob.stocks);
    return plan;
}

PlanQuality ExactEngine::quality(const optimizer::strGroup& plan, const ExactOutcome& outcome) const
{
    PlanQuality quality;
    quality.boundKnown = outcome.boundKnown;
    quality.barsMeasure = m_job.barsMeasure();
    quality.costMeasure = m_job.costOptimization();
    double cost = 0;
    for (const optimizer::strPattern& pattern : plan.patterns) {
        quality.bars += pattern.times;
        cost += double(pattern.times) * m_job.barCost(pattern.stock);
    }
    if (!outcome.boundKnown)
        return quality;
    const double tolerance = 1e-9 * std::max(1.0, outcome.bound);
    quality.optimal = cost <= outcome.bound + tolerance;
    const double gap = std::max(0.0, cost - outcome.bound);
    if (quality.barsMeasure && !plan.patterns.empty()) {
        const double perBar = m_job.barCost(plan.patterns.front().stock);
        quality.boundBars = std::llround(outcome.bound / perBar);
        quality.excess = double(quality.bars - quality.boundBars);
        quality.excessPercent = quality.boundBars > 0 ? 100.0 * quality.excess / double(quality.boundBars) : 0;
    } else if (quality.costMeasure) {
        quality.excess = gap / 100.0;
        quality.excessPercent = outcome.bound > 0 ? 100.0 * gap / outcome.bound : 0;
    } else {
        quality.excess = gap / double(m_cutJob.scale);
        quality.excessPercent = outcome.bound > 0 ? 100.0 * gap / outcome.bound : 0;
    }
    return quality;
}

} // namespace exact
