#include "calculation_run.h"

#include "grids.h"
#include "layout_table.h"
#include "number_text.h"
#include "run_checks.h"

#include "plan_quality_text.h"

#include "exact/both_engines.h"
#include "localization/translate.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

namespace calculation {

using localization::translate;

namespace {

constexpr int kFirstRow = GridModel::kFirstDataRow;

// A search bounded in time: past its deadline a stop is requested, as the Stop button requests it, so each
// engine ends with the best plan it has.
class BoundedSearch final : public optimizer::SearchObserver {
public:
    BoundedSearch(optimizer::SearchObserver* target, double seconds)
        : m_target(target),
          m_deadline(std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                            std::chrono::duration<double>(seconds)))
    {
    }
    void generationFinished(int32_t generation) override
    {
        if (m_target)
            m_target->generationFinished(generation);
    }
    bool stopRequested() override { return timeUp() || (m_target && m_target->stopRequested()); }
    // Past the deadline even a search without a plan ends: the bound holds for the whole run.
    bool endRequested() override { return timeUp() || (m_target && m_target->endRequested()); }

private:
    bool timeUp() const { return std::chrono::steady_clock::now() >= m_deadline; }

    optimizer::SearchObserver* m_target;
    std::chrono::steady_clock::time_point m_deadline;
};

} // namespace

template <typename Record> void sortByLengthDesc(std::vector<Record>& list, int first, int last)
{
    if (first >= last)
        return;
    int i = first;
    int j = last;
    const float pivot = list[size_t((first + last) / 2)].length;
    do {
        while (list[size_t(i)].length > pivot)
            ++i;
        while (list[size_t(j)].length < pivot)
            --j;
        if (i <= j) {
            std::swap(list[size_t(i)], list[size_t(j)]);
            ++i;
            --j;
        }
    } while (i < j);
    if (first < j)
        sortByLengthDesc(list, first, j);
    if (i < last)
        sortByLengthDesc(list, i, last);
}

template void sortByLengthDesc(std::vector<optimizer::strPart>&, int, int);
template void sortByLengthDesc(std::vector<optimizer::strStock>&, int, int);

CalculationRun::CalculationRun(RunGrids grids, optimizer::strGroupArg& lastRun, MessageSink& messages,
                               const Clock& clock, ProgressSink* progress)
    : m_grids(grids), m_lastRun(lastRun), m_messages(messages), m_clock(clock), m_progress(progress)
{
}

CalculationRun::~CalculationRun() = default;

void CalculationRun::stepProgress()
{
    if (m_progress)
        m_progress->step();
}

void CalculationRun::readInputLists()
{
    GridModel& parts = m_grids.parts;
    GridModel& stocks = m_grids.stocks;
    m_partList.clear();
    m_stockList.clear();
    m_priorityCount = 0;

    // 1, 2 - parts: every row with a quantity
    float length = 0;
    int64_t quantity = 0;
    for (int row = kFirstRow; row < parts.rows(); ++row) {
        if (parts.cell(kQtyColumn, row).isEmpty())
            continue;
        optimizer::strPart part;
        part.row = row;
        part.qty = parseInteger(parts.cell(kQtyColumn, row)).value_or(0);
        part.length = parseNumber(parts.cell(kLengthColumn, row)).value_or(0);
        part.label = parts.cell(kLabelColumn, row).toStdString();
        part.lengthText = parts.cell(kLengthColumn, row).toStdString();
        quantity += part.qty;
        length = float(length + (long double)part.qty * part.length);
        m_partList.push_back(std::move(part));
    }
    parts.setCell(kLengthColumn, GridModel::kTotalsRow, formatTotal(length));
    parts.setCell(kQtyColumn, GridModel::kTotalsRow, QString::number(quantity));

    // 3, 4 - stocks, with cost and priority
    const QString yes = translate("Yes");
    length = 0;
    quantity = 0;
    float cost = 0;
    for (int row = kFirstRow; row < stocks.rows(); ++row) {
        if (stocks.cell(kQtyColumn, row).isEmpty())
            continue;
        optimizer::strStock stock;
        stock.row = row;
        stock.qty = parseInteger(stocks.cell(kQtyColumn, row)).value_or(0);
        stock.length = parseNumber(stocks.cell(kLengthColumn, row)).value_or(0);
        const QString costText = stocks.cell(kCostColumn, row);
        stock.cost = costText.isEmpty() ? 0.0f : parseNumber(costText).value_or(0);
        const QString priority = stocks.cell(kPriorityColumn, row);
        stock.priority = priority.isEmpty() || priority == yes;
        m_priorityCount += stock.priority ? 1 : 0;
        stock.label = stocks.cell(kLabelColumn, row).toStdString();
        stock.lengthText = stocks.cell(kLengthColumn, row).toStdString();
        quantity += stock.qty;
        length = float(length + (long double)stock.qty * stock.length);
        cost = float(cost + (long double)stock.qty * stock.cost);
        m_stockList.push_back(std::move(stock));
    }
    stocks.setCell(kLengthColumn, GridModel::kTotalsRow, formatTotal(length));
    stocks.setCell(kQtyColumn, GridModel::kTotalsRow, QString::number(quantity));
    stocks.setCell(kCostColumn, GridModel::kTotalsRow, formatTotal(cost));
}

bool CalculationRun::refuse(const InputRefusal& refusal)
{
    m_messages.showMessage(refusal.message, MessageIcon::Information);
    m_focus = refusal.focus;
    return false;
}

bool CalculationRun::prepare(const CalcControls& controls, optimizer::RandomSource& random)
{
    m_controls = controls;
    m_focus = RunFocus::None;
    m_exact.reset();
    m_cut.reset();
    m_searchResult = -1;
    m_failed = false;
    GridModel& parts = m_grids.parts;
    GridModel& stocks = m_grids.stocks;

    // 1, 2 - the first row of each grid
    if (!parseNumber(parts.cell(kLengthColumn, kFirstRow)) || !parseInteger(parts.cell(kQtyColumn, kFirstRow)))
        return refuse({translate("Parts is incorrect!"), RunFocus::Parts});
    if (!parseNumber(stocks.cell(kLengthColumn, kFirstRow)) || !parseInteger(stocks.cell(kQtyColumn, kFirstRow)))
        return refuse({translate("Stocks is incorrect!"), RunFocus::Stocks});
    // Every other row and the settings, before anything is changed.
    if (std::optional<InputRefusal> refusal = checkInput(parts, stocks, controls))
        return refuse(*refusal);

    // 3, 4 - the lists and the totals
    m_settings = optimizer::CutSettings{};
    m_settings.bladeWidth = parseNumber(controls.bladeWidth).value_or(0);
    m_settings.stubLength = parseNumber(controls.stubLength).value_or(0);
    readInputLists();

    // 5, 7 - jobs that can't be cut at all
    if (std::optional<InputRefusal> refusal = checkJob(m_partList, m_stockList, m_settings)) {
        m_partList.clear();
        m_stockList.clear();
        return refuse(*refusal);
    }

    // 6 - longest first; the optimizer's indices are these positions
    sortByLengthDesc(m_partList, 0, int(m_partList.size()) - 1);
    sortByLengthDesc(m_stockList, 0, int(m_stockList.size()) - 1);

    // 8, 9 - settings and progress
    m_settings.qualityLevel = controls.qualityLevel;
    m_settings.changeOptimization = controls.changeOptimization;
    m_settings.costOptimization = controls.costOptimization;
    if (m_progress) {
        m_progress->setPosition(0);
        m_progress->setMaximum(progressMaximum());
        m_progress->step();
    }

    // 10 - one job for both engines, and a fresh optimizer filled from it
    m_job = optimizer::makeCutJob(m_partList, m_stockList, m_settings);
    m_cut = std::make_unique<optimizer::rpCut>(m_settings, random);
    m_remnantPrefix = remnantPrefix(m_clock.now());
    optimizer::fillCut(*m_cut, m_job);

    // 11, 12 - the layout table back to one data row; the remnant length for the display
    m_grids.layout.setRows(kFirstRow + 1);
    m_settings.reuseLength = parseNumber(controls.reuseLength).value_or(0);
    snapshotInput();
    return true;
}

int32_t CalculationRun::search(optimizer::SearchObserver* observer)
{
    m_searchResult = -1;
    m_failed = false;
    if (m_cut)
        runEngines(observer);
    return m_searchResult;
}

void CalculationRun::runEngines(optimizer::SearchObserver* observer)
{
    m_exactOutcome = exact::ExactOutcome{};
    if (m_controls.exactSearch) {
        exact::ExactSettings exactSettings;
        exactSettings.seconds = m_controls.exactSeconds >= 0 ? m_controls.exactSeconds
                                                             : exact::ExactEngine::budgetFor(m_settings.qualityLevel);
        if (m_controls.runSeconds >= 0)
            exactSettings.seconds = std::min(exactSettings.seconds, m_controls.runSeconds);
        m_exact = std::make_unique<exact::ExactEngine>(m_job, exactSettings);
    }
    std::optional<BoundedSearch> bounded;
    if (m_controls.runSeconds >= 0)
        observer = &bounded.emplace(observer, m_controls.runSeconds);
    exact::EnginesResult result;
    try {
        result = exact::runBothEngines(m_controls.geneticSearch ? m_cut.get() : nullptr, m_exact.get(), m_job, observer,
                                       progressMaximum());
    } catch (...) {
        result.failed = true;
    }
    m_failed = result.failed;
    m_exactOutcome = std::move(result.outcome);
    m_candidate = std::move(result.plan);
    m_candidateEngine = result.source == exact::PlanSource::Exact     ? PlanEngine::Exact
                        : result.source == exact::PlanSource::Genetic ? PlanEngine::Genetic
                                                                      : PlanEngine::None;
    m_searchResult = m_candidateEngine == PlanEngine::None ? -1 : 0;
}

bool CalculationRun::finish()
{
    if (!m_cut)
        return false;

    // 13 - the plan to show: the new one, or the kept one while the input is unchanged and it is better
    optimizer::strGroup candidate = std::move(m_candidate);
    const optimizer::strGroup* chosen = nullptr;
    m_shownEngine = PlanEngine::None;
    m_shownQuality = exact::PlanQuality{};
    if (m_failed) {
        // An engine ended on an error (such as memory running out): nothing of this run can be trusted.
        m_lastRun.keptRatio = 0;
        clearResult();
        m_messages.showMessage(
            translate("The calculation stopped on an unexpected error, so no layout was made. Please try again."),
            MessageIcon::Error);
    } else if (m_searchResult != 0) {
        if (inputsChanged() || m_lastRun.keptRatio <= 0.1f) {
            m_lastRun.keptRatio = 0;
            clearResult();
            m_messages.showMessage(noPlanMessage(), MessageIcon::Error);
        } else {
            chosen = &m_lastRun.keptPlan;
        }
    } else {
        const bool keepOld = m_lastRun.keptRatio > 0.1f && !inputsChanged() && m_lastRun.keptRatio >= candidate.ratio;
        chosen = keepOld ? &m_lastRun.keptPlan : &candidate;
    }
    if (chosen) {
        m_shownEngine = chosen == &candidate ? m_candidateEngine : PlanEngine::Kept;
        // The kept plan is of the same job (the input is unchanged), so the bound measures it too.
        if (m_exact && m_exactOutcome.boundKnown)
            m_shownQuality = m_exact->quality(*chosen, m_exactOutcome);
    }

    // 14, 15 - show it and keep it
    if (chosen) {
        stepProgress();
        const LayoutStyle style{m_controls.displayMode, m_controls.formatIndex};
        fillLayoutTable(*chosen, m_partList, m_stockList, m_settings.reuseLength, m_remnantPrefix, style,
                        m_grids.layout, m_grids.stocks, m_progress);
        if (chosen != &m_lastRun.keptPlan)
            m_lastRun.keptPlan = *chosen;
        m_lastRun.keptRatio = m_lastRun.keptPlan.ratio;
        m_shownPlan = m_lastRun.keptPlan;
        m_shownParts = std::move(m_partList);
        m_shownStocks = std::move(m_stockList);
    }

    // 16 - 18
    if (m_progress)
        m_progress->setPosition(progressMaximum());
    storeInput();
    m_exact.reset();
    m_cut.reset();
    m_partList.clear();
    m_stockList.clear();
    return chosen != nullptr;
}

bool CalculationRun::run(const CalcControls& controls, optimizer::RandomSource& random,
                         optimizer::SearchObserver* observer)
{
    if (!prepare(controls, random))
        return false;
    search(observer);
    return finish();
}

QString CalculationRun::qualityText() const
{
    return planQualityText(m_shownQuality);
}

QString CalculationRun::noPlanMessage() const
{
    if (m_exactOutcome.status != exact::ExactOutcome::Status::Infeasible)
        return translate("There is no available layouts, please add stocks or reduce parts and then try again!");
    if (!m_exactOutcome.infeasibleReason.empty())
        return translate("No plan can cut every piece: part \"%1\" fits on no bar in stock.")
            .arg(QString::fromStdString(m_exactOutcome.infeasibleReason));
    return translate("No plan can cut every piece: the bars in stock are too few or too short, even cut without "
                     "any waste.");
}

void CalculationRun::clearResult()
{
    // Without a plan to show, an earlier result must not stay on screen as if it were this run's.
    clearLayoutResult(m_grids.layout, m_grids.stocks, m_stockList);
}

void CalculationRun::snapshotInput()
{
    m_searched.partLengths = m_grids.parts.columnText(kLengthColumn).toStdString();
    m_searched.partQtys = m_grids.parts.columnText(kQtyColumn).toStdString();
    m_searched.stockLengths = m_grids.stocks.columnText(kLengthColumn).toStdString();
    m_searched.stockQtys = m_grids.stocks.columnText(kQtyColumn).toStdString();
    m_searched.stockCosts = m_grids.stocks.columnText(kCostColumn).toStdString();
}

bool CalculationRun::inputsChanged() const
{
    const optimizer::strGroupArg& last = m_lastRun;
    if (m_controls.changeOptimization != last.changeOptimization ||
        m_controls.costOptimization != last.costOptimization)
        return true;
    if (m_settings.bladeWidth != last.bladeWidth || m_settings.stubLength != last.stubLength)
        return true;
    if (m_searched.partLengths != last.partLengthsText || m_searched.partQtys != last.partQtysText ||
        m_searched.stockLengths != last.stockLengthsText || m_searched.stockQtys != last.stockQtysText ||
        m_searched.stockCosts != last.stockCostsText)
        return true;
    return m_priorityCount != last.priorityCount;
}

void CalculationRun::storeInput()
{
    optimizer::strGroupArg& last = m_lastRun;
    last.partLengthsText = m_searched.partLengths;
    last.partQtysText = m_searched.partQtys;
    last.stockLengthsText = m_searched.stockLengths;
    last.stockQtysText = m_searched.stockQtys;
    last.stockCostsText = m_searched.stockCosts;
    last.changeOptimization = m_controls.changeOptimization;
    last.costOptimization = m_controls.costOptimization;
    last.bladeWidth = m_settings.bladeWidth;
    last.stubLength = m_settings.stubLength;
    last.priorityCount = m_priorityCount;
}

} // namespace calculation
