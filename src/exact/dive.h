#pragma once

#include "heuristics.h"
#include "incumbent.h"
#include "master_problem.h"

#include <cstdint>
#include <random>
#include <vector>

namespace exact {

// Plans from the relaxation: at each node the relaxation rounded down and the rest cut by the quick plans, then one
// fractional column rounded up and the node below solved again, with limited discrepancy search over the columns
// tried (Belov and Scheithauer's residual rounding). A node whose bound can't beat the best plan is left.
class Diver {
public:
    Diver(const ExactJob& job, MasterProblem& master, Heuristics& heuristics, Incumbent& incumbent);

    // Dives from the node, with up to `discrepancies` columns taken out of the relaxation's order; a `variation`
    // above 0 shuffles that order among columns of nearly the same value, so that later dives go elsewhere.
    void dive(const Rest& node, int32_t discrepancies, const Limits& limits, uint32_t variation = 0);

private:
    void descend(Rest node, int32_t discrepancies, std::vector<Cut> tabu);
    bool stopped() const { return m_incumbent.proven() || m_limits->reached(); }

    const ExactJob& m_job;
    MasterProblem& m_master;
    Heuristics& m_heuristics;
    Incumbent& m_incumbent;
    const Limits* m_limits = nullptr;
    uint32_t m_variation = 0;
    std::mt19937 m_random;
};

} // namespace exact
