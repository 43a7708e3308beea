#pragma once

#include "grid_model.h"
#include "run_seams.h"

#include "exact/exact_engine.h"
#include "optimizer/cut_job.h"
#include "optimizer/records.h"
#include "optimizer/rpcut.h"

#include <memory>
#include <string>
#include <vector>

namespace calculation {

// What a run reads from the settings controls besides the grids.
struct CalcControls {
    QString bladeWidth = QStringLiteral("0");   // "Blade Width:"
    QString stubLength = QStringLiteral("0");   // "Stub Length:"
    QString reuseLength = QStringLiteral("15"); // "Rpt Use Len:"
    int qualityLevel = 5;                       // the fastest | best track bar, 1 to 12
    bool changeOptimization = false;
    bool costOptimization = false;
    int displayMode = 2;       // how pieces are written: 0 "Label(Length) X Qty", 1 "Length X Qty", 2 "Label X Qty"
    int formatIndex = 0;       // the number format of lengths, 0 to 4
    bool exactSearch = true;   // "Exact Search": the exact engine beside the genetic search
    bool geneticSearch = true; // the command-line program may leave the genetic search out
    double exactSeconds = -1;  // the exact engine's time budget; below 0 it follows the quality level
    double runSeconds = -1;    // the whole search's bound, both engines; below 0 none but the engines' own
};

// Which engine made the plan a run shows.
enum class PlanEngine { None, Genetic, Exact, Kept };

// Which grid gets the focus after a run that ended on a check.
enum class RunFocus { None, Parts, Stocks };

struct InputRefusal;

// The grids a run works on.
struct RunGrids {
    GridModel& parts;
    GridModel& stocks;
    GridModel& layout;
};

// What "Calc" does, in three phases so that the window can run the search on a worker thread:
// prepare() checks and reads the input and fills a fresh optimizer (the window's thread), search() runs
// the optimizer (any thread; it touches nothing but the optimizer), finish() shows the result and
// remembers the input (the window's thread). The command-line program calls run().
class CalculationRun {
public:
    CalculationRun(RunGrids grids, optimizer::strGroupArg& lastRun, MessageSink& messages, const Clock& clock,
                   ProgressSink* progress = nullptr);
    ~CalculationRun();

    // False when a check ended the run (its message has been shown; focus() tells where the focus goes).
    bool prepare(const CalcControls& controls, optimizer::RandomSource& random);
    // runSearch's answer: 0 with a plan, -1 without.
    int32_t search(optimizer::SearchObserver* observer = nullptr);
    // True when a layout is shown.
    bool finish();
    // prepare, search and finish in one; true when a layout is shown.
    bool run(const CalcControls& controls, optimizer::RandomSource& random,
             optimizer::SearchObserver* observer = nullptr);

    RunFocus focus() const { return m_focus; }
    // The progress bar's maximum: 20 times the quality level.
    int progressMaximum() const { return 20 * m_settings.qualityLevel; }
    const optimizer::CutSettings& settings() const { return m_settings; }

    // After a finish that showed a layout: the plan shown and the lists its indices refer to.
    const optimizer::strGroup& shownPlan() const { return m_shownPlan; }
    const std::vector<optimizer::strPart>& shownParts() const { return m_shownParts; }
    const std::vector<optimizer::strStock>& shownStocks() const { return m_shownStocks; }
    PlanEngine shownEngine() const { return m_shownEngine; }
    // How good the shown plan is against the exact engine's bound (boundKnown false without one).
    const exact::PlanQuality& shownQuality() const { return m_shownQuality; }
    // The lower bound of the job's objective and whether the shown plan meets it, for scripts.
    const exact::ExactOutcome& exactOutcome() const { return m_exactOutcome; }
    // The line below the layout table that tells how good the shown plan is; empty without a bound.
    QString qualityText() const;

private:
    // Shows the refusal's message and sets the focus; false.
    bool refuse(const InputRefusal& refusal);
    // Fills both lists from the filled rows and rewrites both totals rows.
    void readInputLists();
    bool inputsChanged() const;
    void storeInput();
    void snapshotInput();
    void clearResult();
    void stepProgress();
    void runEngines(optimizer::SearchObserver* observer);
    QString noPlanMessage() const;

    RunGrids m_grids;
    optimizer::strGroupArg& m_lastRun;
    MessageSink& m_messages;
    const Clock& m_clock;
    ProgressSink* m_progress;

    CalcControls m_controls;
    optimizer::CutSettings m_settings;
    std::vector<optimizer::strPart> m_partList;
    std::vector<optimizer::strStock> m_stockList;
    int32_t m_priorityCount = 0;
    // The grid columns that decide whether a kept plan still fits the job, as they were when the search was
    // prepared: the grids may change before the run finishes.
    struct InputTexts {
        std::string partLengths, partQtys, stockLengths, stockQtys, stockCosts;
    } m_searched;
    QString m_remnantPrefix;
    optimizer::CutJob m_job;
    std::unique_ptr<optimizer::rpCut> m_cut;
    optimizer::strGroup m_shownPlan;
    std::vector<optimizer::strPart> m_shownParts;
    std::vector<optimizer::strStock> m_shownStocks;
    int32_t m_searchResult = -1;
    bool m_failed = false; // an engine ended on an exception
    optimizer::strGroup m_candidate;
    PlanEngine m_candidateEngine = PlanEngine::None;
    PlanEngine m_shownEngine = PlanEngine::None;
    exact::ExactOutcome m_exactOutcome;
    exact::PlanQuality m_shownQuality;
    std::unique_ptr<exact::ExactEngine> m_exact;
    RunFocus m_focus = RunFocus::None;
};

// Sorts part or stock records by descending length between two indices, both included. The optimizer's
// part and stock indices are the positions after this exact sort.
template <typename Record> void sortByLengthDesc(std::vector<Record>& list, int first, int last);

} // namespace calculation
