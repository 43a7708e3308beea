#include "proof_search.h"

#include <algorithm>
#include <cmath>

namespace exact {

namespace {

// Choices of bar counts listed at most at once; wider windows of cost are narrowed.
constexpr size_t kMostChoices = 200'000;
// The most remainders the choice of bars at one cost walks.
constexpr size_t kMostRemainders = 100'000;
// Tries of one choice of bars at the bound, each in another order, before the next choice.
constexpr size_t kTriesPerChoice = 4;
// Choices in a row whose tries can't find a plan before the tries end.
constexpr size_t kMostBarrenChoices = 8;
// Further orders of the completion search on a choice in each pass, and where their variations begin.
constexpr uint32_t kRestarts = 8;
constexpr uint32_t kRestartOrders = 1'000'000;

} // namespace

ProofSearch::ProofSearch(const ExactJob& job, MasterProblem& master, BinCompletion& completion,
                         std::function<void(const Rest&, uint32_t)> diveInto)
    : m_job(job), m_master(master), m_completion(completion), m_diveInto(std::move(diveInto)), m_room(job)
{
    for (int32_t j = 0; j < job.stocks(); ++j) {
        if (job.stockQty(j) <= 0 || job.capacity(j) <= 0)
            continue;
        size_t m = 0;
        while (m < m_merged.size() && !(job.capacity(m_merged[m].front()) == job.capacity(j) &&
                                        job.barCost(m_merged[m].front()) == job.barCost(j)))
            ++m;
        if (m == m_merged.size()) {
            m_merged.emplace_back();
            m_mergedCost.push_back(job.barCost(j));
            m_mergedAvailable.push_back(0);
        }
        m_merged[m].push_back(j);
        m_mergedAvailable[m] += job.stockQty(j);
    }
}

std::vector<int64_t> ProofSearch::barsOf(const std::vector<int64_t>& merged) const
{
    std::vector<int64_t> bars(size_t(m_job.stocks()), 0);
    for (size_t m = 0; m < m_merged.size(); ++m) {
        int64_t left = merged[m];
        // Stocks marked Yes first, as ties go to them.
        for (bool marked : {true, false})
            for (int32_t j : m_merged[m])
                if (m_job.stockPriority(j) == marked && left > 0) {
                    bars[size_t(j)] = std::min<int64_t>(left, m_job.stockQty(j));
                    left -= bars[size_t(j)];
                }
    }
    return bars;
}

bool ProofSearch::nextWindow(Incumbent& incumbent, const Limits& limits)
{
    const double below = incumbent.belowBest();
    while (m_from < below && !limits.reached()) {
        const double end = std::min(below, m_from + m_width);
        const std::optional<std::vector<BarCounts>> choices =
            barCountsBetween(m_mergedCost, m_mergedAvailable, m_from, end, kMostChoices, limits.stopRequested);
        if (limits.stopped())
            return true;
        if (!choices) {
            if (m_width <= m_narrowest) {
                m_tooMany = true;
                return false;
            }
            m_width = std::max(m_narrowest, m_width / 4);
            continue;
        }
        for (const BarCounts& counts : *choices)
            if (m_room.enough(barsOf(counts.bars)))
                m_open.push_back({counts});
        m_from = end;
        if (choices->size() < kMostChoices / 100)
            m_width *= 2;
        if (!m_open.empty())
            return true;
    }
    return true;
}

bool ProofSearch::ruledOutByRelaxation(Choice& choice, const Limits& limits)
{
    // Phase one alone: bars that can't take the pieces even in the relaxation rule the choice out.
    if (choice.relaxationChecked)
        return false;
    const Rest whole = Rest::wholeJob(m_job);
    m_master.setDemand(whole.demand);
    m_master.setBars(barsOf(choice.counts.bars));
    const bool uncoverable = m_master.provenUncoverable(limits);
    if (limits.reached())
        return false;
    choice.relaxationChecked = true;
    return uncoverable;
}

void ProofSearch::diveInto(Choice& choice, uint32_t variation)
{
    choice.divedWith = int64_t(variation);
    Rest node = Rest::wholeJob(m_job);
    node.bars = barsOf(choice.counts.bars);
    m_diveInto(node, variation);
}

ProofSearch::Step ProofSearch::decide(Choice& choice, Incumbent& incumbent, const Limits& limits, int64_t steps,
                                      uint32_t variation)
{
    // 1 - the relaxation
    if (ruledOutByRelaxation(choice, limits))
        return Step::RuledOut;
    if (limits.reached())
        return Step::Open;
    // 2 - the completion search, to its end or to a layout
    // On bars of one length a search stuck on one order often ends at once in another: a few more orders, each with
    // the same steps, after the one whose steps double each pass and that may prove the choice impossible. With
    // several lengths the time goes to the dives below.
    const uint32_t restarts = m_completion.oneCapacity() ? kRestarts : 0;
    for (uint32_t restart = 0; m_completion.applies() && restart <= restarts && !limits.reached(); ++restart) {
        Layout layout;
        const uint32_t order = restart == 0 ? variation : kRestartOrders + variation * kRestarts + restart;
        switch (m_completion.search(barsOf(choice.counts.bars), limits, steps, layout, order)) {
        case BinCompletion::Outcome::Found:
            incumbent.offer(layout);
            return Step::Cut;
        case BinCompletion::Outcome::Impossible:
            return Step::RuledOut;
        case BinCompletion::Outcome::Unfinished:
            break;
        }
    }
    // 3 - where it does not finish, a dive on these bars may still find a plan of this cost. With several bar
    // lengths the cheapest open choice gets another dive each pass, elsewhere than the last: a plan of its cost
    // often exists and the completion search seldom reaches it. On bars of one length the time goes to the
    // completion search's next, longer pass instead.
    const bool again = !m_completion.oneCapacity() && choice.divedWith < int64_t(variation);
    if ((choice.divedWith < 0 || again) && !limits.reached()) {
        diveInto(choice, variation);
        if (incumbent.cost() <= choice.counts.cost + 1e-9 * std::max(1.0, choice.counts.cost))
            return Step::Cut;
    }
    return Step::Open;
}

bool ProofSearch::settleWithin(double cost, Incumbent& incumbent, const Limits& limits, int64_t steps,
                               uint32_t variation)
{
    if (!m_completion.appliesWithin() || cost <= m_ruledOutTo || limits.reached())
        return false;
    Layout layout;
    switch (m_completion.searchWithin(cost, limits, steps, layout, variation)) {
    case BinCompletion::Outcome::Found:
        incumbent.offer(layout);
        return true;
    case BinCompletion::Outcome::Impossible:
        m_ruledOutTo = cost;
        return true;
    case BinCompletion::Outcome::Unfinished:
        break;
    }
    return false;
}

bool ProofSearch::cutAt(double cost, Incumbent& incumbent, const Limits& limits, int64_t steps)
{
    // Where every bar must be filled to the last unit, the cost fixes how many bars a plan has, and which lengths
    // make that cost decides whether the pieces fill them: per length, the choice with the most bars of it. The
    // fewest bars first (more pieces to a bar), then the most alike. Each choice gets a few tries, each in another
    // order of the pieces: a search stuck near its end often finishes at once in another order.
    const size_t kinds = m_mergedCost.size();
    if (!m_completion.applies() || !(m_job.costStep() > 0) || kinds < 2 || limits.reached())
        return false;
    if (m_choicesCost != cost) {
        m_choicesCost = cost;
        m_choicesAt.clear();
        std::vector<std::pair<std::pair<int64_t, double>, BarCounts>> ranked;
        for (size_t head = 0; head + 1 < kinds; ++head) {
            std::optional<BarCounts> counts =
                barCountsAt(m_mergedCost, m_mergedAvailable, cost, m_job.costStep(), head, kMostRemainders);
            if (!counts)
                continue;
            int64_t bars = 0;
            for (int64_t n : counts->bars)
                bars += n;
            const double alike = bars > 0 ? double(counts->bars[head]) / double(bars) : 0;
            ranked.push_back({{bars, -alike}, std::move(*counts)});
        }
        std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.first < b.first; });
        for (auto& [key, counts] : ranked)
            m_choicesAt.push_back(std::move(counts));
    }
    if (m_choicesAt.empty())
        return false;
    const size_t tries = m_cutTries++;
    const BarCounts& counts = m_choicesAt[(tries / kTriesPerChoice) % m_choicesAt.size()];
    Layout layout;
    switch (m_completion.search(barsOf(counts.bars), limits, steps, layout, uint32_t(1 + tries))) {
    case BinCompletion::Outcome::Found:
        incumbent.offer(layout);
        return true;
    case BinCompletion::Outcome::Impossible:
        return false;
    case BinCompletion::Outcome::Unfinished:
        break;
    }
    return true;
}

bool ProofSearch::crowdedAt(double cost, const Limits& limits)
{
    if (m_crowdedCost != cost) {
        const double step = m_job.costStep() > 0 ? m_job.costStep() : 1e-9 * std::max(1.0, cost);
        const bool crowded = barCountsCrowd(m_mergedCost, m_mergedAvailable, cost, cost + 0.5 * step, kMostChoices,
                                            [&] { return limits.reached(); });
        // A walk cut short by the limits tells nothing.
        if (limits.reached())
            return false;
        m_crowdedCost = cost;
        m_crowded = crowded;
    }
    return m_crowded;
}

void ProofSearch::settleAtBound(Incumbent& incumbent, const Limits& limits, int64_t steps, int64_t withinSteps)
{
    // Plans cost whole multiples of the cost step: the next one above a bound ruled out bounds them.
    while (incumbent.hasPlan() && incumbent.boundKnown() && !incumbent.proven() && !limits.reached()) {
        const double bound = incumbent.bound();
        if (settleWithin(bound, incumbent, limits, withinSteps, uint32_t(m_cutTries))) {
            if (m_ruledOutTo < bound || !(m_job.costStep() > 0))
                return;
            incumbent.raiseBound((std::floor(bound / m_job.costStep() + 1e-9) + 1) * m_job.costStep());
            continue;
        }
        tryChoicesAtBound(incumbent, limits, steps);
        return;
    }
}

void ProofSearch::tryChoicesAtBound(Incumbent& incumbent, const Limits& limits, int64_t steps)
{
    // Too many choices at the bound to walk one by one: one choice after another, each in its own order.
    if (!incumbent.hasPlan() || !incumbent.boundKnown() || !crowdedAt(incumbent.bound(), limits))
        return;
    // Tries that can't lead anywhere (no choice at that cost, or bars too short for the pieces) end it.
    for (size_t barren = 0; barren < kTriesPerChoice * kMostBarrenChoices && !limits.reached() && !incumbent.proven();)
        barren = cutAt(incumbent.bound(), incumbent, limits, steps) ? 0 : barren + 1;
}

void ProofSearch::advance(Incumbent& incumbent, const Limits& limits, int64_t steps, uint32_t variation)
{
    if (!incumbent.hasPlan() || !incumbent.boundKnown())
        return;
    // 0 - every choice at the bound at once, before they are listed (or where they can't be)
    if (m_open.empty())
        settleAtBound(incumbent, limits, steps, steps);
    if (m_tooMany)
        return;
    if (!m_started) {
        m_started = true;
        m_from = incumbent.bound();
        m_narrowest = m_job.costStep() > 0 ? m_job.costStep() : 1e-6 * std::max(1.0, m_from);
        m_width = std::max(m_narrowest, 1e-3 * m_from);
    }
    // 1 - the cheapest choices, until one stays open; each new cost first settled at once
    double settled = -1;
    while (!limits.reached() && !incumbent.proven()) {
        if (m_open.empty() && !nextWindow(incumbent, limits))
            return;
        while (!m_open.empty() && m_open.back().counts.cost >= incumbent.belowBest())
            m_open.pop_back();
        if (m_open.empty()) {
            // Every choice cheaper than the best plan is ruled out.
            if (m_from >= incumbent.belowBest())
                incumbent.raiseBound(incumbent.cost());
            continue;
        }
        Choice& front = m_open.front();
        incumbent.raiseBound(front.counts.cost);
        const double tolerance = 1e-9 * std::max(1.0, front.counts.cost);
        if (front.counts.cost > settled + tolerance) {
            settled = front.counts.cost;
            if (settleWithin(front.counts.cost, incumbent, limits, steps, variation))
                continue;
        }
        if (front.counts.cost <= m_ruledOutTo + tolerance) {
            m_open.pop_front();
            continue;
        }
        if (decide(front, incumbent, limits, steps, variation) == Step::Open)
            break;
        m_open.pop_front();
    }
    // 2 - a dive on each choice after it, for plans closer to the bound; those the relaxation rules out go
    for (size_t k = 1; k < m_open.size() && !limits.reached() && !incumbent.proven(); ++k) {
        Choice& choice = m_open[k];
        if (choice.counts.cost >= incumbent.belowBest())
            break;
        if (ruledOutByRelaxation(choice, limits)) {
            m_open.erase(m_open.begin() + std::ptrdiff_t(k--));
            continue;
        }
        if (choice.divedWith < 0 && !limits.reached())
            diveInto(choice, 0);
    }
}

} // namespace exact
