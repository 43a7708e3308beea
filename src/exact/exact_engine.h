#pragma once

#include "bar_counts.h"
#include "bin_completion.h"
#include "dive.h"
#include "exact_job.h"
#include "heuristics.h"
#include "incumbent.h"
#include "master_problem.h"
#include "second_worker.h"

#include "optimizer/cut_job.h"
#include "optimizer/records.h"
#include "optimizer/search_observer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace exact {

// How good a plan is against the best possible one, in the measure of the job's objective.
struct PlanQuality {
    bool boundKnown = false;
    bool optimal = false;     // no plan is better
    bool barsMeasure = false; // one stock length without cost: bars count
    bool costMeasure = false; // cost optimization: bar costs count, else waste
    int64_t bars = 0;         // bars of the plan
    int64_t boundBars = 0;    // fewest bars any plan can have (bars measure)
    double excess = 0;        // how much worse than the bound the plan may be: bars, waste length or cost
    double excessPercent = 0;
};

// What the exact engine hands back.
struct ExactOutcome {
    enum class Status { Plan, Infeasible, NoPlan };
    Status status = Status::NoPlan;
    optimizer::strGroup plan; // a finished optimizer plan when status is Plan
    bool boundKnown = false;
    double bound = 0;     // lower bound on the sum of bar costs
    double objective = 0; // the plan's sum of bar costs
    bool optimal = false;
    std::string infeasibleReason; // which stock falls short, in English (the caller translates)
};

struct ExactSettings {
    double seconds = 1.0; // time budget
    int32_t discrepancies = 2;
    // A second worker on the machine's second core, while the genetic search does not use it.
    bool secondCore = true;
};

// Beside the genetic search: bounds (the pieces' lengths, dual feasible functions, the linear relaxation by column
// generation), plans made from the relaxation by rounding and diving, and a complete search that walks the numbers
// of bars a plan can use, cheapest first, ruling each out or cutting it. It runs until a plan meets the bound, the
// time is up or the observer asks it to stop.
class ExactEngine {
public:
    // The job must outlive the engine.
    ExactEngine(const optimizer::CutJob& job, const ExactSettings& exactSettings);

    ExactOutcome run(optimizer::SearchObserver* observer = nullptr);

    // The time budget for a quality level: a fraction of a second at 1, tens of seconds at 12.
    static double budgetFor(int32_t qualityLevel);
    // This engine's time budget in seconds.
    double budget() const { return m_exactSettings.seconds; }
    // The lower bound alone (column generation to the optimum of the relaxation).
    std::optional<double> lowerBound();
    // The quality of any plan of this job against a bound found by run().
    PlanQuality quality(const optimizer::strGroup& plan, const ExactOutcome& outcome) const;
    const ExactJob& job() const { return m_job; }
    // The genetic search uses the second core until release(): the second worker waits for it. From any thread.
    void holdSecondCore() { m_secondCore.hold(); }
    void releaseSecondCore() { m_secondCore.release(); }

private:
    bool done() const { return m_incumbent.proven() || m_limits.reached(); }
    // The limits of the search for plans at the bound: a share of the budget from now.
    Limits atBoundLimits() const;
    void quickPlan();
    void cheapBounds();
    bool fillBarsFully(int64_t steps, const Limits& limits);
    // False when the pieces can't all be cut (the outcome says why).
    bool rootRelaxation(ExactOutcome& outcome);
    void search();
    void startSecondWorker(const std::function<bool()>& stop);
    // Steps 2 to 5 of the run; false when the pieces can't all be cut.
    bool firstWorker(ExactOutcome& outcome);
    void fewerPatterns(Clock::time_point end, const std::function<bool()>& stop);
    optimizer::strGroup toPlan(const Layout& layout) const;

    const optimizer::CutJob& m_cutJob;
    ExactSettings m_exactSettings;
    ExactJob m_job;
    MasterProblem m_master;
    Heuristics m_heuristics;
    BinCompletion m_completion;
    Incumbent m_incumbent;
    Diver m_diver;
    Limits m_limits;
    // Last: it ends its thread before the members that thread uses go.
    SecondCore m_secondCore;
};

} // namespace exact
