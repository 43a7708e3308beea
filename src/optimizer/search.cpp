#include "rpcut.h"

#include "plan_scoring.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace optimizer {

namespace {

constexpr int32_t kFailedPlanLimit = 5000;
constexpr int32_t kRestartFirstSlot = 15;

bool finitePositive(float value)
{
    return std::isfinite(value) && value > 0 && value < 1.0e15f;
}

float wasteSum(const strGroup& plan)
{
    float sum = 0;
    for (const strPattern& pattern : plan.patterns)
        sum += pattern.waste;
    return sum;
}

} // namespace

rpCut::rpCut(const CutSettings& settings, RandomSource& random) : m_settings(settings), m_random(random) {}

int32_t rpCut::scaleFor(float maxStockLength)
{
    return optimizer::scaleFor(maxStockLength);
}

bool rpCut::inputUsable() const
{
    if (partCount < 1 || partCount > kMaxPartKinds || stockCount < 1 || stockCount > kMaxStockKinds)
        return false;
    if (int32_t(parts.size()) < partCount || int32_t(stocks.size()) < stockCount)
        return false;
    for (int32_t i = 0; i < partCount; ++i)
        if (!finitePositive(parts[i].length) || parts[i].qty < 0)
            return false;
    for (int32_t j = 0; j < stockCount; ++j)
        if (!finitePositive(stocks[j].length) || stocks[j].qty < 0 || !std::isfinite(stocks[j].cost))
            return false;
    const float blade = m_settings.bladeWidth;
    const float stub = m_settings.stubLength;
    return std::isfinite(blade) && blade >= 0 && std::isfinite(stub) && stub >= 0 && m_settings.qualityLevel >= 1 &&
           m_settings.qualityLevel <= 12;
}

int32_t rpCut::fillPopulation(int32_t firstSlot, int32_t lastSlot, int32_t step, SearchObserver* observer)
{
    // A stop request ends the building once the population has a plan to show: at once when refilling,
    // after the first plan when starting.
    const bool refilling = firstSlot != 0;
    int32_t stored = 0;
    int32_t failed = 0;
    for (int32_t slot = firstSlot; slot != lastSlot + step && failed < kFailedPlanLimit;) {
        if (observer && (observer->endRequested() || ((refilling || stored > 0) && observer->stopRequested())))
            break;
        strGroup plan = buildPlan();
        if (plan.patternCount <= 0) {
            ++failed;
            continue;
        }
        population[size_t(slot)] = std::move(plan);
        ++stored;
        m_hasPlan = true;
        slot += step;
    }
    return stored;
}

bool rpCut::dropping() const
{
    return m_observer && (m_observer->endRequested() || (m_hasPlan && m_observer->stopRequested()));
}

int32_t rpCut::runSearch(SearchObserver* observer)
{
    m_observer = observer;
    m_hasPlan = false;
    const int32_t result = searchPopulation(observer);
    m_observer = nullptr;
    return result;
}

int32_t rpCut::searchPopulation(SearchObserver* observer)
{
    if (!inputUsable())
        return -1;
    // 1 - weight of waste, independent of the length unit
    scale = scaleFor(maxStockLength);

    // 2 - initial population
    const int32_t stored = fillPopulation(0, kPopulationSize - 1, 1, observer);
    if (stored == 0)
        return -1;
    for (int32_t slot = stored; slot < kPopulationSize; ++slot)
        population[size_t(slot)] = population[size_t(m_random.random(stored))];
    sortPopulation();

    // 3 - search state
    generation = 0;
    sameBest = 0;
    stall = 0;
    firstAverage = averageScore();
    best = population[0];
    lastAverage = firstAverage;
    generationLimit = 20 * m_settings.qualityLevel;
    mutationStep = float(0.3L / generationLimit);
    crossoverStep = float(0.5L / generationLimit);
    if (observer && observer->stopRequested())
        return 0;

    // 4 - generations, until a plan without remnant, a stalled average, the limit or a stop request
    while (wasteSum(best) != 0) {
        runGeneration();
        trackBest(observer);
        ++generation;
        const float average = averageScore();
        long double change = 0;
        if (lastAverage != 0)
            change = std::fabs(std::trunc((long double)lastAverage - average)) / lastAverage;
        if (change >= 0.001L && change != 0) {
            stall = 0;
        } else if (++stall >= 0.5 * generationLimit) {
            break;
        }
        lastAverage = average;
        if (observer)
            observer->generationFinished(generation);
        if (generation >= generationLimit)
            break;
        if (observer && observer->stopRequested())
            break;
    }
    return 0;
}

float rpCut::populationSpread() const
{
    const float average = averageScore();
    if (!(average > 0))
        return 0;
    return float(((long double)population[kPopulationSize - 1].score - population[0].score) / average);
}

int32_t rpCut::crossoverCount(float spread) const
{
    if (!(spread >= 0.01f))
        return 9;
    return int32_t(std::floor((0.8L - (long double)generation * crossoverStep) * kPopulationSize));
}

int32_t rpCut::mutationCount(float spread) const
{
    if (!(spread >= 0.01f))
        return 12;
    return int32_t(std::floor(((long double)generation * mutationStep + 0.1L) * kPopulationSize));
}

void rpCut::runGeneration()
{
    // 1 - crossover phase: two children per crossover, the second made with the first child as donor
    const int32_t crossovers = crossoverCount(populationSpread());
    for (int32_t n = 0; n < crossovers && !dropping(); ++n) {
        try {
            const int32_t i = selectPlan();
            const int32_t j = selectPlan();
            strGroup a = population[size_t(i)];
            strGroup b = population[size_t(j)];
            if (a.patternCount <= 0 || b.patternCount <= 0)
                continue;
            const int32_t cutA = m_random.random(a.patternCount);
            const int32_t cutB = m_random.random(b.patternCount);
            crossPlans(a, cutA, b, cutB);
            if (a.patternCount > 0) {
                const int32_t at = insertPosition(a.score);
                if (at != -1)
                    insertPlan(at, a);
            }
            crossPlans(b, cutB, a, cutA);
            if (b.patternCount > 0) {
                const int32_t at = insertPosition(b.score);
                if (at != -1)
                    insertPlan(at, b);
            }
        } catch (const std::bad_alloc&) {
            // An operation that can't get memory is abandoned; the population is unchanged by it.
        }
    }

    // 2 - mutation phase
    const int32_t mutations = mutationCount(populationSpread());
    for (int32_t n = 0; n < mutations && !dropping(); ++n) {
        try {
            strGroup a = population[size_t(selectPlan())];
            if (a.patternCount < 2)
                continue;
            const int32_t x = m_random.random(a.patternCount);
            const int32_t y = m_random.random(a.patternCount);
            if (x == y)
                continue;
            mutatePlan(a, x, y);
            if (a.patternCount > 0) {
                const int32_t at = insertPosition(a.score);
                if (at != -1)
                    insertPlan(at, a);
            }
        } catch (const std::bad_alloc&) {
        }
    }
}

void rpCut::trackBest(SearchObserver* observer)
{
    if (population[0].score != best.score) {
        best = population[0];
        sameBest = 0;
        lastAverage = averageScore();
        return;
    }
    if (++sameBest != 5)
        return;
    const float average = averageScore();
    if (lastAverage > 0) {
        // The best plan has not changed for 5 generations and the average hardly moves: refill the
        // worse half with fresh plans.
        if (((long double)lastAverage - average) / lastAverage < 0.1L && population[0].score > 0) {
            fillPopulation(kPopulationSize - 1, kRestartFirstSlot, -1, observer);
            sortPopulation();
        }
        sameBest = 0;
    }
}

bool rpCut::repairPlan(strGroup& plan, float& total, float& lastWaste)
{
    for (;;) {
        if (dropping())
            return false;
        strPattern pattern = fitRandom(plan);
        if (pattern.entries < 1)
            break;
        total = float(total + patternCharge(pattern));
        const float waste = pattern.waste;
        if (addPattern(plan, pattern))
            lastWaste = waste;
    }
    return true;
}

float rpCut::crossPlans(strGroup& target, int32_t cut, const strGroup& donor, int32_t donorCut)
{
    // 1 - reset
    strGroup fresh = newPlan();
    target.partLeft = std::move(fresh.partLeft);
    target.stockLeft = std::move(fresh.stockLeft);
    float total = 0;
    float lastWaste = 0;

    // 2 - the target's head stays
    if (int32_t(target.patterns.size()) > cut)
        target.patterns.resize(size_t(std::max(cut, 0)));
    for (const strPattern& pattern : target.patterns) {
        bookTimes(target, pattern, pattern.times);
        total = float(total + patternCharge(pattern));
        lastWaste = pattern.waste;
    }

    // 3 - the donor's tail, as far as bars and pieces allow
    for (size_t k = size_t(std::max(donorCut, 0)); k < donor.patterns.size(); ++k) {
        const strPattern& source = donor.patterns[k];
        const int32_t times = std::min(source.times, target.stockLeft[source.stock]);
        if (times <= 0)
            continue;
        bool fits = true;
        for (int32_t e = 0; e < source.entries && fits; ++e)
            fits = int64_t(target.partLeft[source.part[e]]) >= int64_t(source.count[e]) * times;
        if (!fits)
            continue;
        strPattern pattern = source;
        pattern.times = times;
        bookTimes(target, pattern, times);
        total = float(total + patternCharge(pattern));
        if (addPattern(target, pattern))
            lastWaste = pattern.waste;
    }

    // 4 - repair with the random generator, 5 - score; a repair given up on Stop leaves no child
    if (!repairPlan(target, total, lastWaste)) {
        target.patternCount = 0;
        return 0;
    }
    return finishPlan(target, total, lastWaste);
}

float rpCut::mutatePlan(strGroup& plan, int32_t x, int32_t y)
{
    strGroup fresh = newPlan();
    plan.partLeft = std::move(fresh.partLeft);
    plan.stockLeft = std::move(fresh.stockLeft);
    float total = 0;
    float lastWaste = 0;
    const auto count = int32_t(plan.patterns.size());
    for (int32_t k = 0; k < count; ++k) {
        if (k == x || k == y)
            continue;
        const strPattern& pattern = plan.patterns[size_t(k)];
        bookTimes(plan, pattern, pattern.times);
        total = float(total + patternCharge(pattern));
        lastWaste = pattern.waste;
    }
    const int32_t high = std::max(x, y);
    const int32_t low = std::min(x, y);
    if (high < count)
        plan.patterns.erase(plan.patterns.begin() + high);
    if (low >= 0 && low < count)
        plan.patterns.erase(plan.patterns.begin() + low);
    if (!repairPlan(plan, total, lastWaste)) {
        plan.patternCount = 0;
        return 0;
    }
    return finishPlan(plan, total, lastWaste);
}

int32_t rpCut::selectPlan()
{
    float total = 0;
    for (const strGroup& plan : population)
        total += plan.score;
    // Totals beyond the 32-bit range draw from the largest 32-bit value.
    int32_t whole = 0;
    if (total >= 2147483647.0f)
        whole = INT32_MAX;
    else if (total >= 1)
        whole = int32_t(total);
    int32_t threshold = m_random.random(whole);
    float acc = 0;
    int32_t draws = 0;
    int32_t k = kPopulationSize - 1;
    // Bounded so that a population of odd scores can never hold the search here.
    for (int32_t guard = 0; acc < threshold && guard < 1000000; ++guard) {
        if (++draws == kPopulationSize) {
            acc = 0;
            draws = 0;
            threshold = m_random.random(whole);
        }
        k = m_random.random(kPopulationSize);
        acc += population[size_t(k)].score;
    }
    return std::clamp(kPopulationSize - 1 - k, 0, kPopulationSize - 1);
}

int32_t rpCut::insertPosition(float score) const
{
    if (!(score < population[kPopulationSize - 1].score))
        return -1;
    for (int32_t i = 0; i < kPopulationSize; ++i)
        if (score < population[size_t(i)].score)
            return i;
    return -1;
}

void rpCut::insertPlan(int32_t index, const strGroup& plan)
{
    std::move_backward(population.begin() + index, population.end() - 1, population.end());
    population[size_t(index)] = plan;
}

void rpCut::sortPopulation()
{
    auto sort = [this](auto& self, int32_t first, int32_t last) -> void {
        if (first >= last)
            return;
        int32_t i = first;
        int32_t j = last;
        const float pivot = population[size_t((first + last) / 2)].score;
        do {
            while (population[size_t(i)].score < pivot)
                ++i;
            while (population[size_t(j)].score > pivot)
                --j;
            if (i <= j) {
                std::swap(population[size_t(i)], population[size_t(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (first < j)
            self(self, first, j);
        if (i < last)
            self(self, i, last);
    };
    sort(sort, 0, kPopulationSize - 1);
}

} // namespace optimizer
