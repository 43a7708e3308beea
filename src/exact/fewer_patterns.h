#pragma once

#include "heuristics.h"
#include "master_problem.h"

#include <optional>

namespace exact {

// With change optimization every pattern is one more set-up of the saw. The plan is built again from the
// patterns the relaxation knows, each time the one that cuts the most pieces in one set-up, as long as the
// relaxation of the rest says the cost can still be met. The new plan is handed back only when it needs
// fewer patterns at no higher cost.
std::optional<Layout> fewerPatterns(const ExactJob& job, MasterProblem& master, Heuristics& heuristics,
                                    const Layout& best, const Limits& limits);

} // namespace exact
