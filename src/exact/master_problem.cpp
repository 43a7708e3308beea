#include "master_problem.h"

#include <ClpEventHandler.hpp>
#include <ClpSimplex.hpp>

#include <algorithm>
#include <cmath>

namespace exact {
namespace {

constexpr double kUsed = 1e-9;
constexpr int kMaxRounds = 100000;
constexpr size_t kTailRounds = 10;
constexpr int kExtraPricings = 10;
// The coarse table that bounds the best pattern's value on long bars.
constexpr int64_t kBoundCells = 20000;
// The relaxation is solved when its value is this close to the best bound, relative to the value.
constexpr double kClosedGap = 1e-4;

// Asks the limits between the iterations of a long simplex run, so that Stop and the deadline are answered within
// a fraction of a second even on large relaxations.
class LimitsEvents final : public ClpEventHandler {
public:
    LimitsEvents() = default;
    LimitsEvents(const LimitsEvents& other) = default;
    ClpEventHandler* clone() const override { return new LimitsEvents(*this); }

    const Limits* limits = nullptr;

    int event(Event which) override
    {
        if (which != endOfIteration || !limits || ++m_iterations % 32 != 0)
            return -1;
        return limits->reached() ? 0 : -1;
    }

private:
    int64_t m_iterations = 0;
};

} // namespace

MasterProblem::MasterProblem(const ExactJob& job) : m_job(job), m_lp(std::make_unique<ClpSimplex>())
{
    m_lp->setLogLevel(0);
    // The solver keeps a copy of the handler: the copy is the one told the limits of each run.
    const LimitsEvents events;
    m_lp->passInEventHandler(&events);
    const int items = job.items();
    const int stocks = job.stocks();
    m_lp->resize(items + stocks, 0);
    double costliest = 1;
    for (int j = 0; j < stocks; ++j)
        costliest = std::max(costliest, job.barCost(j));
    m_artificialCost = 1000.0 * costliest;
    // The artificial columns must stay within the solver's range of objective values.
    m_artificialCost = std::min(m_artificialCost, 1e21);
    m_tolerance = 1e-9 * costliest;
    double widest = 0;
    for (int j = 0; j < stocks; ++j)
        widest = std::max(widest, job.capacity(j));
    m_largeKnapsack = !job.integral() || double(items) * widest > 2.0e6;
    m_widest = widest;
    // Long bars, where the table grows with the length though few pieces fit: coarse tables for quick pricing.
    m_coarse = job.integral() && widest > 5.0 * double(kCoarseCells);
    m_demand.assign(size_t(items), 0);
    m_bars.assign(size_t(stocks), 0);
    for (int i = 0; i < items; ++i)
        m_demand[size_t(i)] = job.demand(i);
    for (int j = 0; j < stocks; ++j)
        m_bars[size_t(j)] = job.stockQty(j);
    setDemand(m_demand);
    setBars(m_bars);
    for (int i = 0; i < items; ++i) {
        const double one = 1.0;
        m_lp->addColumn(1, &i, &one, 0.0, COIN_DBL_MAX, m_artificialCost);
    }
    // A bar that holds a piece holds a shorter one in its place: a free column that lets a longer piece's
    // place cover the next shorter one keeps the duals of longer pieces at least those of shorter ones. No
    // plan gets cheaper, yet the prices stop swinging and far fewer rounds are needed on jobs of many kinds.
    std::vector<int> byWidth(static_cast<size_t>(items));
    for (int i = 0; i < items; ++i)
        byWidth[size_t(i)] = i;
    std::sort(byWidth.begin(), byWidth.end(), [&](int a, int b) { return job.width(a) > job.width(b); });
    int exchanges = 0;
    auto exchange = [&](int longer, int shorter) {
        const int rows[] = {shorter, longer};
        const double elements[] = {1.0, -1.0};
        m_lp->addColumn(2, rows, elements, 0.0, COIN_DBL_MAX, 0.0);
        ++exchanges;
    };
    for (size_t k = 1; k < byWidth.size(); ++k) {
        exchange(byWidth[k - 1], byWidth[k]);
        if (job.width(byWidth[k - 1]) == job.width(byWidth[k]))
            exchange(byWidth[k], byWidth[k - 1]);
    }
    m_firstPattern = items + exchanges;
}

MasterProblem::~MasterProblem() = default;

bool MasterProblem::runPrimal(const Limits& limits)
{
    auto* events = dynamic_cast<LimitsEvents*>(m_lp->eventHandler());
    if (events)
        events->limits = &limits;
    // Each round sets the solver up afresh. Keeping its factorization from the last round made the bound a little
    // quicker, but the relaxation then ended on other solutions, the dives made worse plans from them, and a whole
    // run took longer (triplets: a median of 0.13 s against 0.07 s).
    m_lp->primal();
    if (!m_lp->isProvenOptimal() && !limits.reached()) {
        m_lp->allSlackBasis(true);
        m_lp->primal();
    }
    if (events)
        events->limits = nullptr;
    return m_lp->isProvenOptimal();
}

void MasterProblem::setDemand(const std::vector<int32_t>& demand)
{
    m_demand = demand;
    for (int i = 0; i < m_job.items(); ++i) {
        m_lp->setRowLower(i, double(demand[size_t(i)]));
        m_lp->setRowUpper(i, COIN_DBL_MAX);
    }
}

void MasterProblem::setBars(const std::vector<int64_t>& bars)
{
    m_bars = bars;
    for (int j = 0; j < m_job.stocks(); ++j) {
        m_lp->setRowLower(m_job.items() + j, -COIN_DBL_MAX);
        m_lp->setRowUpper(m_job.items() + j, double(bars[size_t(j)]));
    }
}

int32_t MasterProblem::addColumn(const Cut& cut)
{
    std::vector<int> rows;
    std::vector<double> elements;
    for (const auto& [item, count] : cut.entries) {
        rows.push_back(item);
        elements.push_back(double(count));
    }
    rows.push_back(m_job.items() + cut.stock);
    elements.push_back(1.0);
    m_lp->addColumn(int(rows.size()), rows.data(), elements.data(), 0.0, COIN_DBL_MAX, m_job.barCost(cut.stock));
    m_columns.push_back(cut);
    return int32_t(m_columns.size()) - 1;
}

MasterProblem::Solution MasterProblem::generate(const Limits& limits, bool phaseOne, bool tailingOff, bool boundOnly,
                                                double enough)
{
    // Pricing on large tables takes long: Stop cuts it short, and the round's answers are then dropped.
    struct Interrupt {
        Knapsack& knapsack;
        ~Interrupt() { knapsack.setInterrupt({}); }
    } interrupt{m_knapsack};
    m_knapsack.setInterrupt(limits.stopRequested);
    Solution solution;
    const int items = m_job.items();
    const int rows = items + m_job.stocks();
    std::vector<Cut> found;
    std::vector<double> reduced;
    std::vector<double> out(static_cast<size_t>(rows));
    std::vector<double> mixed(static_cast<size_t>(rows));
    // The duals of the best Lagrangian bound so far: pricing at a point between them and the current duals
    // (Wentges' smoothing) keeps the duals from swinging and saves most rounds on degenerate jobs.
    std::vector<double> center;
    double bestBound = -COIN_DBL_MAX;
    auto reducedAt = [&](const Cut& cut, const std::vector<double>& duals) {
        double value = (phaseOne ? 0.0 : m_job.barCost(cut.stock)) - duals[size_t(items + cut.stock)];
        for (const auto& [item, count] : cut.entries)
            value -= duals[size_t(item)] * count;
        return value;
    };
    if (!phaseOne)
        bestBound = materialBound();
    std::vector<double> values;
    int64_t boundCells = kBoundCells;
    int staleRounds = 0;
    for (int round = 0; round < kMaxRounds; ++round) {
        if (limits.reached() || !runPrimal(limits))
            return solution;
        const double value = m_lp->objectiveValue();
        values.push_back(value);
        // Inside a dive a relaxation that has stopped improving is good enough to choose the next column.
        if (tailingOff && values.size() > kTailRounds &&
            value > values[values.size() - 1 - kTailRounds] * (1 - 1e-4) - m_tolerance) {
            solution.solved = true;
            solution.value = value;
            solution.boundProven = bestBound > -COIN_DBL_MAX;
            solution.bound = std::max(bestBound, 0.0);
            break;
        }
        std::copy(m_lp->dualRowSolution(), m_lp->dualRowSolution() + rows, out.begin());

        bool exact = true;
        bool pricedOut = false;
        std::vector<Cut> useful;
        // On large tables quick pricing first, and a bound from a coarse table; the exact knapsack only when the
        // quick pricing finds nothing.
        // Where the frontier prices exactly in little time, every round is priced exactly.
        const bool large = m_largeKnapsack && m_knapsack.frontierFailed();
        if (large) {
            bool unused = true;
            price(out.data(), phaseOne, found, reduced, unused, true);
            if (limits.stopped())
                return solution;
            for (const Cut& cut : found)
                if (reducedAt(cut, out) < -m_tolerance * (phaseOne ? 1e-6 : 1.0))
                    useful.push_back(cut);
            exact = useful.empty();
            // Only a table much coarser than the exact one is worth its time every round.
            if (!phaseOne && m_job.integral() && 2 * boundCells <= int64_t(m_widest)) {
                for (int r = 0; r < rows; ++r)
                    mixed[size_t(r)] = center.empty() ? out[size_t(r)] : 0.7 * center[size_t(r)] + 0.3 * out[size_t(r)];
                const std::vector<double> coarse = coarseReduced(mixed.data(), boundCells);
                if (limits.stopped())
                    return solution;
                const double bound = lagrangianBound(mixed, coarse, phaseOne);
                if (bound > bestBound) {
                    bestBound = bound;
                    center = mixed;
                    staleRounds = 0;
                } else if (++staleRounds >= 3 && values.size() > 3 &&
                           value > values[values.size() - 4] * (1 - 5e-4) - m_tolerance) {
                    // The duals have settled and the bound has not moved: the coarse table may be what holds it back.
                    boundCells *= 4;
                    staleRounds = 0;
                }
            }
        }
        for (double alpha : {center.empty() ? 0.0 : 0.7, 0.0}) {
            if (!useful.empty())
                break;
            for (int r = 0; r < rows; ++r)
                mixed[size_t(r)] =
                    alpha > 0 ? alpha * center[size_t(r)] + (1 - alpha) * out[size_t(r)] : out[size_t(r)];
            bool pricedExactly = true;
            price(mixed.data(), phaseOne, found, reduced, pricedExactly);
            if (limits.stopped())
                return solution;
            exact = exact && pricedExactly;
            // Any duals give a Lagrangian bound: no plan costs less, whatever the columns not yet found.
            if (pricedExactly) {
                const double bound = lagrangianBound(mixed, reduced, phaseOne);
                if (bound > bestBound) {
                    bestBound = bound;
                    center = mixed;
                }
            }
            for (const Cut& cut : found)
                if (reducedAt(cut, out) < -m_tolerance * (phaseOne ? 1e-6 : 1.0))
                    useful.push_back(cut);
            if (!useful.empty())
                break;
            if (alpha == 0)
                pricedOut = true;
        }
        // Close enough: the last rounds of a relaxation creep towards a bound already known (often the pieces'
        // lengths poured into the bars) and change neither the bound nor the plan that the columns lead to.
        // Where the charge counts whole bars, the gap must stay far below one bar.
        const double closedGap = std::min(kClosedGap * std::max(1.0, std::fabs(value)),
                                          m_job.barsMeasure() ? 1e-3 * m_job.barCost(0) : COIN_DBL_MAX);
        // The best bound holds whatever the columns not yet found (it comes from exact pricing or is the poured
        // lengths); once it rounds up to the value of the columns found, the rounded bound is settled.
        const bool boundKnown = !phaseOne && bestBound > -COIN_DBL_MAX;
        const bool gapClosed = boundKnown && !tailingOff && value - bestBound <= closedGap;
        // A bound that reaches a plan's cost proves the plan; it counts once the pieces are all cut from patterns.
        const bool boundMeets = boundKnown && (roundUp(bestBound) >= roundUp(value) - m_tolerance ||
                                               (boundOnly && roundUp(bestBound) >= enough - m_tolerance && covered()));
        // Plans are made from patterns alone: once the exchanges have done their work the relaxation is
        // finished without them, which takes a few rounds from duals that are nearly right. A bound alone is
        // settled with them.
        if ((pricedOut || boundMeets || gapClosed) && !phaseOne && m_exchangesOn && !boundOnly) {
            for (int k = items; k < m_firstPattern; ++k)
                m_lp->setColumnUpper(k, 0.0);
            m_exchangesOn = false;
            continue;
        }
        if (pricedOut || boundMeets || gapClosed) {
            solution.solved = true;
            solution.value = value;
            solution.boundProven = (pricedOut && exact) || boundKnown;
            solution.bound = pricedOut && exact ? value : std::max(bestBound, 0.0);
            break;
        }
        // More columns per round: priced again with the pieces of the columns found so far at no value, so
        // the next ones cover other pieces. Fewer rounds of the linear program, which dominate on jobs of
        // many kinds.
        // Coarse tables give several patterns each already: fewer extra pricings there.
        const int extras = m_coarse ? 2 : kExtraPricings;
        for (int extra = 0; extra < extras && !useful.empty(); ++extra) {
            std::vector<double> rest = out;
            for (const Cut& cut : useful)
                for (const auto& entry : cut.entries)
                    rest[size_t(entry.first)] = 0;
            bool unused = true;
            price(rest.data(), phaseOne, found, reduced, unused, large);
            if (limits.stopped())
                return solution;
            const size_t before = useful.size();
            for (const Cut& cut : found)
                if (reducedAt(cut, out) < -m_tolerance * (phaseOne ? 1e-6 : 1.0))
                    useful.push_back(cut);
            if (useful.size() == before)
                break;
        }
        for (const Cut& cut : useful) {
            const int32_t p = addColumn(cut);
            if (phaseOne)
                m_lp->setObjectiveCoefficient(m_firstPattern + p, 0.0);
        }
    }
    if (!solution.solved)
        return solution;
    const double* x = m_lp->primalColumnSolution();
    solution.covered = covered();
    for (int32_t p = 0; p < columns(); ++p)
        if (x[m_firstPattern + p] > kUsed)
            solution.columns.emplace_back(p, x[m_firstPattern + p]);
    return solution;
}

bool MasterProblem::covered() const
{
    const double* x = m_lp->primalColumnSolution();
    for (int i = 0; i < m_job.items(); ++i)
        if (x[i] > 1e-7)
            return false;
    return true;
}

MasterProblem::Solution MasterProblem::solve(const Limits& limits, bool tailingOff, bool boundOnly, double enough)
{
    return generate(limits, false, tailingOff, boundOnly, enough);
}

bool MasterProblem::provenUncoverable(const Limits& limits)
{
    const int items = m_job.items();
    for (int32_t p = 0; p < columns(); ++p)
        m_lp->setObjectiveCoefficient(m_firstPattern + p, 0.0);
    for (int i = 0; i < items; ++i)
        m_lp->setObjectiveCoefficient(i, 1.0);
    const Solution phaseOne = generate(limits, true, false, false);
    for (int32_t p = 0; p < columns(); ++p)
        m_lp->setObjectiveCoefficient(m_firstPattern + p, m_job.barCost(m_columns[size_t(p)].stock));
    for (int i = 0; i < items; ++i)
        m_lp->setObjectiveCoefficient(i, m_artificialCost);
    return phaseOne.solved && phaseOne.boundProven && phaseOne.value > 1e-6;
}

} // namespace exact
