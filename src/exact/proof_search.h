#pragma once

#include "bar_counts.h"
#include "bin_completion.h"
#include "incumbent.h"
#include "master_problem.h"

#include <deque>
#include <functional>

namespace exact {

// Proves plans best by the bars they use. Every plan uses some number of bars of each stock kind and costs what
// they cost, so the choices of bar counts are walked cheapest first from the bound: each is ruled out (too little
// room for the pieces, no cover even in the relaxation, or the bin completion search runs to its end without a
// layout) or yields a plan of at most its cost. While every cheaper choice is ruled out, the next one's cost bounds
// every plan; once none is left below the best plan, that plan is proven best.
class ProofSearch {
public:
    // `diveInto` looks for a plan on the bars of a choice when the completion search does not finish; a variation
    // above 0 asks for a dive that goes elsewhere than the ones before.
    ProofSearch(const ExactJob& job, MasterProblem& master, BinCompletion& completion,
                std::function<void(const Rest&, uint32_t)> diveInto);

    // One pass: the cheapest open choices, each ruled out or cut or, when the completion search does not end
    // within `steps` steps (in an order set by `variation`), left open; then a dive on each choice after it, for
    // plans closer to the bound.
    void advance(Incumbent& incumbent, const Limits& limits, int64_t steps, uint32_t variation);
    // Every choice of bars at the bound at once, by one completion search each time the bound rises: no listing of
    // the choices, and often the plan at once where the bars can be filled to the last unit.
    // Where the choices at the bound are too many to list, single choices are tried until the limits end it. The
    // search over every choice gets `withinSteps` steps, each single choice `steps`.
    void settleAtBound(Incumbent& incumbent, const Limits& limits, int64_t steps, int64_t withinSteps);
    // Single choices at the bound, where there are too many to list, until a plan meets it or the limits end it.
    void tryChoicesAtBound(Incumbent& incumbent, const Limits& limits, int64_t steps);

private:
    struct Choice {
        BarCounts counts; // per merged kind
        bool relaxationChecked = false;
        int64_t divedWith = -1; // the variation of the last dive on its bars, -1 before the first
    };
    // False when the choices crowd too densely to be listed. Listing a wide window takes long: the limits are
    // checked before each try.
    bool nextWindow(Incumbent& incumbent, const Limits& limits);
    // Bars per stock kind for the bars per merged kind.
    std::vector<int64_t> barsOf(const std::vector<int64_t>& merged) const;
    enum class Step { RuledOut, Cut, Open };
    bool ruledOutByRelaxation(Choice& choice, const Limits& limits);
    Step decide(Choice& choice, Incumbent& incumbent, const Limits& limits, int64_t steps, uint32_t variation);
    void diveInto(Choice& choice, uint32_t variation);
    // One completion search over every choice of at most this cost: where many choices cost the same, it settles
    // them together. True when it found a plan or ruled them all out.
    bool settleWithin(double cost, Incumbent& incumbent, const Limits& limits, int64_t steps, uint32_t variation);
    // A plan on one choice of bars that costs just this: each call tries another choice and order. False when the
    // try could not have found one (no such choice, or its bars are too short for the pieces).
    bool cutAt(double cost, Incumbent& incumbent, const Limits& limits, int64_t steps);
    // Whether the choices of one cost are too many to list, for the last cost asked.
    bool crowdedAt(double cost, const Limits& limits);

    const ExactJob& m_job;
    MasterProblem& m_master;
    BinCompletion& m_completion;
    std::function<void(const Rest&, uint32_t)> m_diveInto;
    BarRoom m_room;
    // Stock kinds of one capacity and one cost are one kind to the walk: their bars are alike.
    std::vector<std::vector<int32_t>> m_merged;
    std::vector<double> m_mergedCost;
    std::vector<int64_t> m_mergedAvailable;
    std::deque<Choice> m_open;
    bool m_started = false;
    bool m_tooMany = false; // the choices crowd too densely to be listed
    double m_from = 0;
    double m_width = 0;
    double m_narrowest = 0;
    double m_ruledOutTo = -1; // every plan costs more than this
    size_t m_cutTries = 0;
    double m_choicesCost = -1;
    std::vector<BarCounts> m_choicesAt; // the choices at that cost, in the order they are tried
    double m_crowdedCost = -1;
    bool m_crowded = false;
};

} // namespace exact
