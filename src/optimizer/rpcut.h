#pragma once

#include "exact_fit.h"
#include "fit_rule.h"
#include "random_source.h"
#include "records.h"
#include "search_observer.h"

#include <array>
#include <cstdint>
#include <vector>

namespace optimizer {

// The optimizer of one calculation run: the part and stock lists, the population of plans and all search
// state. The caller fills stockCount, partCount, parts, stocks, maxStockLength and preferPriority, with both
// lists sorted by descending length, then calls runSearch and takeResult(0).
class rpCut {
public:
    rpCut(const CutSettings& settings, RandomSource& random);

    std::array<strGroup, kPopulationSize> population;
    int32_t generation = 0;
    float mutationStep = 0;
    strGroup best;
    int32_t sameBest = 0;
    float lastAverage = 0;
    int32_t generationLimit = 0;
    float crossoverStep = 0;
    int32_t stall = 0;
    float firstAverage = 0;
    int32_t scale = 1;
    bool randomOnly = false;
    float maxStockLength = 0;
    int32_t stockCount = 0;
    int32_t partCount = 0;
    std::vector<strPart> parts;
    std::vector<strStock> stocks;
    bool preferPriority = false;

    const CutSettings& settings() const { return m_settings; }

    // Pattern generation. Each returns a pattern already booked against the plan, or one with entries < 1.
    int32_t chooseStock(const strGroup& plan);
    strPattern fitEqual(strGroup& plan, int32_t c);
    strPattern fitMixed(strGroup& plan, int32_t a, int32_t b);
    strPattern fitSingle(strGroup& plan);
    strPattern fitRandom(strGroup& plan);
    strPattern nextPattern(strGroup& plan);

    // Plan building and scoring.
    strGroup newPlan() const;
    strGroup buildPlan();
    long double patternCharge(const strPattern& pattern) const;
    float finishPlan(strGroup& plan, float total, float lastWaste) const;
    float averageScore() const;
    strGroup takeResult(int32_t index);

    // The search. Returns -1 when not a single plan could be built, else 0 with population[0] the best.
    int32_t runSearch(SearchObserver* observer = nullptr);
    int32_t selectPlan();
    int32_t insertPosition(float score) const;
    void insertPlan(int32_t index, const strGroup& plan);
    float crossPlans(strGroup& target, int32_t cut, const strGroup& donor, int32_t donorCut);
    float mutatePlan(strGroup& plan, int32_t x, int32_t y);
    void sortPopulation();

    static int32_t scaleFor(float maxStockLength);
    // False for input the generators can't work on safely: no kinds, too many kinds, lengths of 0 or
    // below, negative quantities, a negative blade width or stub, numbers that are not finite.
    bool inputUsable() const;
    // Tests compare the quick exact-fit search with the plain walk over every subset.
    void setQuickExactFits(bool quick) { m_quickFits = quick; }
    // The rule for what fits a bar. Made from the lists and settings when the generators first need it, unless the
    // job's own rule was handed over.
    void setFitRule(FitRule rule);

private:
    int32_t collectCandidates(const strGroup& plan);
    long double longestCandidate() const;
    void ensureFitRule();
    strPattern bookPattern(strGroup& plan, strPattern pattern) const;
    // Sets the waste from the bar's remainder by the fit rule, then books the pattern.
    strPattern bookExactPattern(strGroup& plan, strPattern pattern) const;
    void bookTimes(strGroup& plan, const strPattern& pattern, int32_t times) const;
    // False when the repair was given up on a stop request: the plan is then unfinished.
    bool repairPlan(strGroup& plan, float& total, float& lastWaste);
    // True when the plan being built or repaired is to be dropped: the search is asked to end, or to stop while the
    // population has a plan to show. Asked once per pattern, so that Stop is answered in a fraction of a second
    // even where one generation of a large job takes seconds.
    bool dropping() const;
    int32_t searchPopulation(SearchObserver* observer);
    int32_t crossoverCount(float spread) const;
    int32_t mutationCount(float spread) const;
    float populationSpread() const;
    int32_t fillPopulation(int32_t firstSlot, int32_t lastSlot, int32_t step, SearchObserver* observer);
    void runGeneration();
    void trackBest(SearchObserver* observer);

    CutSettings m_settings;
    RandomSource& m_random;
    Candidates m_candidates;
    FitRule m_fit;
    bool m_fitReady = false;
    bool m_quickFits = true;
    SearchObserver* m_observer = nullptr; // of the search under way
    bool m_hasPlan = false;               // the population holds a plan
};

// True when both patterns cut the same pieces from the same stock kind; sorts both entry lists by part kind.
bool samePattern(strPattern& a, strPattern& b);
// Merges the pattern into an identical one of the plan (adding its times) or appends it; true when appended.
bool addPattern(strGroup& plan, const strPattern& pattern);

} // namespace optimizer
