#include "both_engines.h"

#include "plan_choice.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace exact {

namespace {

// Both engines on one progress bar: the genetic search's generations, then the exact engine's share of its time
// budget while it still runs; the bar never moves back. Stop requests reach both engines.
class MergedProgress final : public optimizer::SearchObserver {
public:
    MergedProgress(optimizer::SearchObserver* target, int32_t limit) : m_target(target), m_limit(limit) {}

    void generationFinished(int32_t generation) override
    {
        m_generations = true;
        advanceTo(generation);
    }
    // Whether the genetic search has a plan and works on it.
    bool generations() const { return m_generations; }
    bool stopRequested() override { return m_settled || m_infeasible || (m_target && m_target->stopRequested()); }
    bool endRequested() override { return m_infeasible || (m_target && m_target->endRequested()); }
    // The exact engine proved its plan best: the genetic search can at most tie with it, so it stops with the
    // best plan it has, which a tie still keeps.
    void settle() { m_settled = true; }
    // The exact engine proved that no plan cuts every piece, or an engine failed: the other one stops, with or
    // without a plan.
    void refuse() { m_infeasible = true; }
    bool settled() const { return m_settled; }
    // Called from the thread of the genetic search only.
    void advanceTo(int32_t position)
    {
        position = std::min(position, m_limit);
        while (m_posted < position) {
            ++m_posted;
            if (m_target)
                m_target->generationFinished(m_posted);
        }
    }
    int32_t posted() const { return m_posted; }

private:
    optimizer::SearchObserver* m_target;
    int32_t m_limit;
    int32_t m_posted = 0;
    std::atomic<bool> m_settled = false;
    std::atomic<bool> m_infeasible = false;
    std::atomic<bool> m_generations = false;
};

// The exact engine's run, on its own thread.
void runExact(ExactEngine* engine, const optimizer::CutJob& job, MergedProgress& progress,
              const std::atomic<bool>& geneticDone, ExactOutcome& outcome)
{
    outcome = engine->run(&progress);
    // Only the proof that there is no plan ends a genetic search that has none, so while that search still
    // looks for its first plan the engine goes on, each time with twice the budget.
    ExactSettings longer;
    longer.seconds = engine->budget();
    // The genetic search still holds the second core.
    longer.secondCore = false;
    while (outcome.status == ExactOutcome::Status::NoPlan && !geneticDone && !progress.generations() &&
           !progress.stopRequested()) {
        longer.seconds *= 2;
        outcome = ExactEngine(job, longer).run(&progress);
    }
    // With change optimization the plans are weighed by their pattern count too, which the proof leaves out.
    if (outcome.optimal && !job.settings.changeOptimization)
        progress.settle();
    if (outcome.status == ExactOutcome::Status::Infeasible)
        progress.refuse();
}

} // namespace

EnginesResult runBothEngines(optimizer::rpCut* cut, ExactEngine* engine, const optimizer::CutJob& job,
                             optimizer::SearchObserver* observer, int32_t progressMaximum)
{
    using Clock = std::chrono::steady_clock;
    EnginesResult result;
    // The bar's end is left for the moment both engines have ended.
    MergedProgress progress(observer, engine && cut ? progressMaximum - 1 : progressMaximum);
    std::atomic<bool> failed = false;

    // 1 - the exact engine on a thread of its own, the genetic search on this one
    std::thread exactThread;
    // Set as the engine's thread ends, so that the wait below ends with it rather than at its next look.
    std::promise<void> exactEnded;
    std::future<void> exactDone = exactEnded.get_future();
    std::atomic<bool> geneticDone = cut == nullptr;
    const Clock::time_point start = Clock::now();
    if (engine) {
        // The engine's second worker waits for the core the genetic search uses.
        if (cut)
            engine->holdSecondCore();
        exactThread = std::thread([&] {
            try {
                runExact(engine, job, progress, geneticDone, result.outcome);
            } catch (...) {
                failed = true;
                progress.refuse();
            }
            exactEnded.set_value();
        });
    }
    if (cut) {
        try {
            result.genetic = cut->runSearch(&progress);
        } catch (...) {
            failed = true;
            progress.refuse();
        }
    }
    geneticDone = true;
    if (engine)
        engine->releaseSecondCore();

    // 2 - the engine's share of its budget on the bar while it works on
    if (exactThread.joinable()) {
        const double budget = std::max(engine->budget(), 1e-3);
        while (exactDone.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
            const double share = std::chrono::duration<double>(Clock::now() - start).count() / budget;
            progress.advanceTo(std::max(progress.posted(), int32_t(share * progressMaximum)));
        }
        exactThread.join();
    }
    if (failed) {
        result.failed = true;
        return result;
    }
    // 3 - the better plan; a tie keeps the genetic one, unless the proof of the exact plan cut the genetic search
    // short: then the genetic plan is an unfinished one, and can at most tie
    const bool exactPlan = result.outcome.status == ExactOutcome::Status::Plan;
    if (result.genetic == 0) {
        result.plan = cut->takeResult(0);
        result.source = PlanSource::Genetic;
    }
    if (exactPlan && (result.genetic != 0 || progress.settled() ||
                      secondIsBetter(result.plan, result.outcome.plan, job.stocks, job.settings))) {
        result.plan = result.outcome.plan;
        result.source = PlanSource::Exact;
    }
    return result;
}

} // namespace exact
