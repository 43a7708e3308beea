#include "exact_engine.h"

#include "fewer_patterns.h"

#include "optimizer/plan_scoring.h"

#include <algorithm>
#include <cmath>

namespace exact {

namespace {

// Steps of the search that fills bars to the last unit: a short try on every job of one bar length, and
// many more where the bars must be filled almost to the last unit and the relaxation did not finish.
constexpr int64_t kCompletionSteps = 200'000;
constexpr int64_t kTightCompletionSteps = 50'000'000;
// Choices of bar counts walked at most, cheapest first, on jobs of several stock kinds.
constexpr size_t kMostBarCounts = 200'000;

bool integralValue(double x)
{
    return std::fabs(x - std::nearbyint(x)) < 1e-6;
}

// Among plans of one cost: more bars of the stocks marked Yes, then the left-over gathered in one long remnant.
std::pair<int64_t, float> preference(const ExactJob& job, const Layout& layout)
{
    std::pair<int64_t, float> preferred{0, 0.0f};
    for (const auto& [cut, times] : layout.cuts) {
        if (job.stockPriority(cut.stock))
            preferred.first += times;
        preferred.second = std::max(preferred.second, job.waste(cut));
    }
    return preferred;
}

} // namespace

ExactEngine::ExactEngine(const optimizer::CutJob& job, const ExactSettings& exactSettings)
    : m_cutJob(job), m_exactSettings(exactSettings), m_job(job), m_master(m_job), m_heuristics(m_job),
      m_completion(m_job)
{
}

double ExactEngine::budgetFor(int32_t qualityLevel)
{
    const double level = std::clamp(qualityLevel, 1, 12);
    return 0.15 * level * level;
}

bool ExactEngine::done() const
{
    if (m_best && m_boundKnown && m_bestCost <= m_bound + 1e-9 * std::max(1.0, m_bound))
        return true;
    return m_limits.reached();
}

void ExactEngine::offer(const Layout& layout)
{
    const double cost = layout.cost(m_job);
    const double tolerance = 1e-9 * std::max(1.0, cost);
    const std::pair<int64_t, float> preferred = preference(m_job, layout);
    if (!m_best || cost < m_bestCost - tolerance || (cost <= m_bestCost + tolerance && preferred > m_bestPreference)) {
        m_best = layout;
        m_bestCost = cost;
        m_bestPreference = preferred;
        m_limits.havePlan = true;
    }
}

bool ExactEngine::fillBarsFully(int64_t steps, const Limits& limits)
{
    if (!m_completion.applies() || done())
        return false;
    const int64_t fewest = m_completion.fewestBars();
    if (m_best && m_best->bars() <= fewest)
        return false;
    const std::optional<Layout> filled = m_completion.search(fewest, limits, steps);
    if (!filled)
        return false;
    offer(*filled);
    // No plan needs fewer bars than the pieces' lengths fill.
    m_bound = std::max(m_boundKnown ? m_bound : 0.0, filled->cost(m_job));
    m_boundKnown = true;
    return true;
}

void ExactEngine::searchBarCounts()
{
    std::vector<double> barCost;
    std::vector<int64_t> available;
    for (int32_t j = 0; j < m_job.stocks(); ++j) {
        barCost.push_back(m_job.barCost(j));
        available.push_back(m_job.stockQty(j));
    }
    auto belowBest = [this] { return m_bestCost - 1e-9 * std::max(1.0, m_bestCost); };
    const BarRoom room(m_job);
    // While every cheaper choice is proven impossible, the cost of the next one bounds every plan.
    bool cheaperRuledOut = true;
    // The choices are walked in windows of cost, narrowed where they crowd.
    const double narrowest = m_job.costStep() > 0 ? m_job.costStep() : 1e-6 * std::max(1.0, m_bound);
    double from = m_bound;
    double width = std::max(narrowest, 1e-3 * m_bound);
    while (m_best && from < belowBest() && !done()) {
        const double below = std::min(belowBest(), from + width);
        const std::optional<std::vector<BarCounts>> choices =
            barCountsBetween(barCost, available, from, below, kMostBarCounts);
        if (!choices) {
            if (width <= narrowest)
                return;
            width = std::max(narrowest, width / 4);
            continue;
        }
        for (const BarCounts& choice : *choices) {
            if (done() || choice.cost >= belowBest())
                break;
            if (cheaperRuledOut)
                m_bound = std::max(m_bound, choice.cost);
            if (!room.enough(choice.bars))
                continue;
            Node node = Rest::wholeJob(m_job);
            node.bars = choice.bars;
            m_master.setDemand(node.demand);
            m_master.setBars(node.bars);
            // Phase one alone: bars that can't take the pieces even in the relaxation rule the choice out.
            if (m_master.provenUncoverable(m_limits))
                continue;
            if (m_limits.reached())
                return;
            dive(std::move(node), m_exactSettings.discrepancies, {});
            // A plan from these bars costs at most the choice: with every cheaper choice ruled out, it is best.
            if (!m_best || m_bestCost > choice.cost + 1e-9 * std::max(1.0, choice.cost))
                cheaperRuledOut = false;
        }
        if (done())
            return;
        from = below;
        if (choices->size() < kMostBarCounts / 100)
            width *= 2;
    }
    // Every choice cheaper than the plan is impossible.
    if (cheaperRuledOut && m_best && from >= belowBest())
        m_bound = std::max(m_bound, m_bestCost);
}

void ExactEngine::seedColumns(const Layout& layout)
{
    // A relaxation that starts from real patterns instead of the artificial columns needs far fewer rounds.
    if (m_master.columns() == 0)
        for (const auto& [cut, times] : layout.cuts)
            m_master.addColumn(cut);
}

void ExactEngine::dive(Node node, int32_t discrepancies, std::vector<Cut> tabu)
{
    if (done())
        return;
    if (node.finished()) {
        offer(node.fixed);
        return;
    }
    m_master.setDemand(node.demand);
    m_master.setBars(node.bars);
    const MasterProblem::Solution solution = m_master.solve(m_limits, true);
    if (!solution.solved || !solution.covered)
        return;
    const double fixedCost = node.fixed.cost(m_job);
    if (m_best && solution.boundProven &&
        m_master.roundUp(fixedCost + solution.bound) >= m_bestCost - 1e-9 * std::max(1.0, m_bestCost))
        return;

    // 1 - the relaxation rounded down, the rest by the residual heuristics
    Node rounded = node;
    std::vector<std::pair<int32_t, double>> fractional;
    for (const auto& [column, x] : solution.columns) {
        if (std::floor(x + 1e-6) >= 1)
            rounded.take(m_master.column(column), int64_t(std::floor(x + 1e-6)));
        if (!integralValue(x))
            fractional.emplace_back(column, x);
    }
    if (std::optional<Layout> rest = m_heuristics.complete(rounded.demand, rounded.bars)) {
        Layout whole = rounded.fixed;
        for (const auto& [cut, times] : rest->cuts)
            addCuts(whole, cut, times);
        offer(whole);
    }
    if (fractional.empty() || done())
        return;

    // 2 - every column at a whole value stays; then one fractional column rounded up, the closest to its
    // ceiling first, others as discrepancies near the top of the dive
    Node base = node;
    for (const auto& [column, x] : solution.columns)
        if (integralValue(x) && std::nearbyint(x) >= 1)
            base.take(m_master.column(column), int64_t(std::nearbyint(x)));
    std::stable_sort(fractional.begin(), fractional.end(),
                     [](auto& a, auto& b) { return std::ceil(a.second) - a.second < std::ceil(b.second) - b.second; });
    int32_t tried = 0;
    for (const auto& [column, x] : fractional) {
        const Cut cut = m_master.column(column); // a copy: deeper dives add columns
        if (std::find(tabu.begin(), tabu.end(), cut) != tabu.end())
            continue;
        Node child = base;
        if (!child.take(cut, int64_t(std::ceil(x))))
            continue;
        const int32_t spent = tried > 0 ? 1 : 0;
        dive(std::move(child), discrepancies - spent, tabu);
        if (done())
            return;
        tabu.push_back(cut);
        ++tried;
        if (tried > discrepancies)
            return;
    }
}

ExactOutcome ExactEngine::run(optimizer::SearchObserver* observer)
{
    ExactOutcome outcome;
    const Clock::time_point start = Clock::now();
    m_limits.deadline = start + std::chrono::microseconds(int64_t(m_exactSettings.seconds * 1e6));
    m_limits.lastDeadline = start + std::chrono::microseconds(int64_t((4 * m_exactSettings.seconds + 2) * 1e6));
    m_limits.havePlan = false;
    if (observer)
        m_limits.stopRequested = [observer] { return observer->stopRequested(); };
    if (m_job.items() == 0 || !m_job.usable())
        return outcome;

    const Node root = Rest::wholeJob(m_job);

    // 1 - a quick plan, so that even a stop at once has one; its patterns start the relaxation
    if (std::optional<Layout> quick = m_heuristics.complete(root.demand, root.bars)) {
        offer(*quick);
        seedColumns(*quick);
    }

    // 2 - bars filled to the last unit on jobs of one bar length: a short search first
    fillBarsFully(kCompletionSteps, m_limits);

    // 3 - the bound, or the proof that the pieces can't all be cut. Where the bars must be filled to the last
    // unit the relaxation is slow and seldom leads to the plan: it gets half the time, the search the rest.
    const bool tight = m_completion.applies() && m_completion.tight(m_completion.fewestBars());
    Limits rootLimits = m_limits;
    if (tight)
        rootLimits.deadline = std::min(m_limits.deadline, start + (m_limits.deadline - start) / 2);
    const MasterProblem::Solution solution = done() ? MasterProblem::Solution{} : m_master.solve(rootLimits);
    if (solution.solved && !solution.covered && !m_best && m_master.provenUncoverable(m_limits)) {
        outcome.status = ExactOutcome::Status::Infeasible;
        for (int32_t i = 0; i < m_job.items() && outcome.infeasibleReason.empty(); ++i) {
            bool fitsSome = false;
            for (int32_t j = 0; j < m_job.stocks(); ++j)
                fitsSome = fitsSome || (m_job.stockQty(j) > 0 && m_job.capacity(j) >= m_job.width(i));
            if (!fitsSome)
                outcome.infeasibleReason = m_cutJob.parts[size_t(m_job.partKind(i))].label;
        }
        return outcome;
    }
    if (solution.solved && solution.covered && solution.boundProven) {
        m_bound = std::max(m_boundKnown ? m_bound : 0.0, m_master.roundUp(solution.bound));
        m_boundKnown = true;
    }
    if (tight && !solution.solved)
        fillBarsFully(kTightCompletionSteps, m_limits);

    // 4 - rounding and diving until a plan meets the bound or the time is up. With several stock kinds the
    // bar counts of each kind come first, cheapest first, each proven impossible or dived into, which proves
    // most plans of such jobs best; a quarter of the time each for them and the dive, then both again.
    const bool byBarCounts = m_boundKnown && !m_job.barsMeasure();
    const Clock::time_point deadline = m_limits.deadline;
    auto quarter = [&] { return std::min(deadline, Clock::now() + (deadline - Clock::now()) / 4); };
    if (byBarCounts && !done()) {
        m_limits.deadline = quarter();
        searchBarCounts();
        m_limits.deadline = quarter();
    }
    if (!done())
        dive(root, m_exactSettings.discrepancies, {});
    m_limits.deadline = deadline;
    if (byBarCounts && !done())
        searchBarCounts();

    // 6 - with change optimization, the same cost from fewer patterns, in a fifth of the time more
    if (m_cutJob.settings.changeOptimization && m_best && m_best->cuts.size() > 1) {
        Limits reduction = m_limits;
        reduction.deadline = std::max(m_limits.deadline, Clock::now() + (m_limits.deadline - start) / 5);
        reduction.lastDeadline = reduction.deadline;
        if (std::optional<Layout> fewer = fewerPatterns(m_job, m_master, m_heuristics, *m_best, reduction)) {
            m_best = std::move(*fewer);
            m_bestCost = m_best->cost(m_job);
            m_bestPreference = preference(m_job, *m_best);
        }
    }

    outcome.boundKnown = m_boundKnown;
    outcome.bound = m_bound;
    if (m_best) {
        outcome.status = ExactOutcome::Status::Plan;
        outcome.plan = toPlan(*m_best);
        outcome.objective = m_bestCost;
        outcome.optimal = m_boundKnown && m_bestCost <= m_bound + 1e-9 * std::max(1.0, m_bound);
    }
    return outcome;
}

std::optional<double> ExactEngine::lowerBound()
{
    if (m_job.items() == 0 || !m_job.usable())
        return std::nullopt;
    m_limits = Limits{};
    const Node root = Rest::wholeJob(m_job);
    if (const std::optional<Layout> quick = m_heuristics.complete(root.demand, root.bars)) {
        offer(*quick);
        seedColumns(*quick);
    }
    // Bars filled by the pieces' lengths alone bound the relaxation from below; a plan that fills them bounds it
    // from above, so the rounded bound is known without it.
    if (fillBarsFully(kCompletionSteps, m_limits) && m_bestCost <= m_bound + 1e-9 * std::max(1.0, m_bound))
        return m_bound;
    const MasterProblem::Solution solution = m_master.solve(m_limits);
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
