#pragma once

#include "exact_engine.h"

#include "optimizer/rpcut.h"

#include <cstdint>

namespace exact {

// Which engine made the plan a run of both shows.
enum class PlanSource { None, Genetic, Exact };

struct EnginesResult {
    int32_t genetic = -1; // the genetic search's answer: 0 with a plan, -1 without (or when it did not run)
    PlanSource source = PlanSource::None;
    optimizer::strGroup plan; // the better of the two plans, finished as a search result
    ExactOutcome outcome;     // the exact engine's answer, bound included
    bool failed = false;      // an engine ended on an exception: the run has no plan
};

// Calc's search: the genetic search on this thread and the exact engine on a second one, both on one progress
// bar (the generations, then the engine's share of its budget). Stop requests reach both; once the engine proves
// its plan best, the genetic search stops with the best plan it has. The better plan wins; a tie keeps the
// genetic one unless the proof cut that search short. Either engine may be left out (a null pointer).
EnginesResult runBothEngines(optimizer::rpCut* cut, ExactEngine* engine, const optimizer::CutJob& job,
                             optimizer::SearchObserver* observer, int32_t progressMaximum);

} // namespace exact
