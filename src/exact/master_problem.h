#pragma once

#include "exact_job.h"
#include "knapsack.h"

#include <chrono>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

class ClpSimplex;

namespace exact {

using Clock = std::chrono::steady_clock;

// When a solve must end: a point in time and a stop request.
struct Limits {
    Clock::time_point deadline = Clock::time_point::max();
    std::function<bool()> stopRequested;

    bool reached() const { return Clock::now() >= deadline || stopped(); }
    bool stopped() const { return stopRequested && stopRequested(); }
};

// The linear relaxation of the cutting-stock model over the patterns found so far, with new patterns priced
// by the knapsack (Gilmore and Gomory's column generation). Rows: each item's pieces still to cut (at least),
// each stock kind's bars still free (at most). Every item also has an artificial column of prohibitive cost,
// so the relaxation is always solvable and its use tells that the pieces can't all be cut.
class MasterProblem {
public:
    explicit MasterProblem(const ExactJob& job);
    ~MasterProblem();
    MasterProblem(const MasterProblem&) = delete;
    MasterProblem& operator=(const MasterProblem&) = delete;

    struct Solution {
        bool solved = false;  // false when the limits ended the solve first
        bool covered = false; // no artificial column is used
        double value = 0;     // objective of the relaxation (sum of bar costs)
        double bound = 0;     // a proven lower bound on it (equals value when priced out exactly)
        bool boundProven = false;
        std::vector<std::pair<int32_t, double>> columns; // pattern index and its value, values above 0
    };

    void setDemand(const std::vector<int32_t>& demand);
    void setBars(const std::vector<int64_t>& bars);
    // Column generation to the optimum of the relaxation or to a proven bound whose rounding meets it; with
    // tailingOff also once the objective has stopped falling. With boundOnly the columns may still lean on the
    // exchanges between lengths: only the bound is wanted.
    // With a bound alone wanted it also ends once the bound rounds up to `enough`, a plan's cost: the plan is then
    // proven best, and the value may still lie above the relaxation's optimum.
    Solution solve(const Limits& limits, bool tailingOff = false, bool boundOnly = false,
                   double enough = std::numeric_limits<double>::infinity());
    // True when even without any cost the pieces can't all be cut from the bars (phase one of the simplex
    // method, with the same pricing).
    bool provenUncoverable(const Limits& limits);

    int32_t addColumn(const Cut& cut);
    const Cut& column(int32_t index) const { return m_columns[size_t(index)]; }
    int32_t columns() const { return int32_t(m_columns.size()); }
    // Rounds a lower bound up to the next value a plan can have.
    double roundUp(double bound) const;

private:
    Solution generate(const Limits& limits, bool phaseOne, bool tailingOff, bool boundOnly,
                      double enough = std::numeric_limits<double>::infinity());
    double materialBound() const;
    // No artificial column is used in the last solve.
    bool covered() const;
    // Lower bounds on the reduced cost of the best pattern of each stock kind, from a coarse table of about `cells`
    // cells per row.
    std::vector<double> coarseReduced(const double* duals, int64_t cells);
    void price(const double* duals, bool phaseOne, std::vector<Cut>& found, std::vector<double>& reduced, bool& exact,
               bool quickly = false);
    // The stronger of the Lagrangian and Farley's bound from duals whose best reduced costs per stock kind are known
    // (or bounded from below).
    double lagrangianBound(const std::vector<double>& duals, const std::vector<double>& reduced, bool phaseOne) const;

    // Runs the simplex method until it ends or the limits are reached.
    bool runPrimal(const Limits& limits);

    // The coarse table of quick pricing on long bars: cells per row, and patterns taken per bar length.
    static constexpr int64_t kCoarseCells = 4000;
    static constexpr int32_t kCoarsePatterns = 8;

    const ExactJob& m_job;
    std::unique_ptr<ClpSimplex> m_lp;
    std::vector<Cut> m_columns;
    std::vector<int32_t> m_demand;
    std::vector<int64_t> m_bars;
    Knapsack m_knapsack;
    double m_artificialCost = 0;
    double m_tolerance = 0;
    bool m_largeKnapsack = false;
    double m_widest = 0;
    bool m_coarse = false;
    bool m_exchangesOn = true;
    int m_firstPattern = 0; // LP column of pattern 0: after the artificial and the exchange columns
};

} // namespace exact
