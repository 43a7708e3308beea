// The main window's calculation commands: Calc runs the search on a thread of its own while the job's
// controls are locked, Stop asks it to end, and the finished run fills the table and the diagrams.

#include "deruruvi.h"

#include "layout_wrap.h"

#include "widgets/cell_delegates.h"

#include "calculation/calculation_run.h"
#include "calculation/run_checks.h"
#include "diagrams/widgets/layout_diagrams.h"
#include "document/job_document.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QThread>

namespace mainwindow {

calculation::CalcControls TfrmMain::calcControls() const
{
    calculation::CalcControls controls;
    controls.bladeWidth = ui.edGap->text();
    controls.stubLength = ui.edMargin->text();
    controls.reuseLength = ui.edCircle->text();
    controls.qualityLevel = ui.tbFast->value();
    controls.changeOptimization = ui.ckChange->isChecked();
    controls.costOptimization = ui.ckCost->isChecked();
    controls.exactSearch = ui.ckExact->isChecked();
    controls.displayMode = ui.cbxDisplay->currentIndex();
    controls.formatIndex = ui.cbxFormat->currentIndex();
    return controls;
}

void TfrmMain::setJobEditable(bool editable)
{
    ui.sgPart->setReadOnly(!editable);
    ui.sgStock->setReadOnly(!editable);
    // Lists, row commands, remnants, settings and the language (it rewrites the grids' texts).
    const std::initializer_list<QWidget*> controls = {
        ui.btnPartSave,  ui.btnPartOpen,  ui.btnPartDelAll, ui.btnPartAdd,     ui.btnPartDel,
        ui.btnPartTimes, ui.btnStockSave, ui.btnStockOpen,  ui.btnStockDelAll, ui.btnStockAdd,
        ui.btnStockDel,  ui.btnLeft,      ui.btnImportLeft, ui.btnExportLeft,  ui.cmbLang,
        ui.tbFast,       ui.ckChange,     ui.ckCost,        ui.edGap,          ui.edMargin,
        ui.edCircle,     ui.cbxFormat,    ui.cbxDisplay,    ui.edUnit,         ui.ckExact};
    for (QWidget* control : controls)
        control->setEnabled(editable);
    // New, opening and saving projects and the edits of the lists; printing and exporting, which would take the
    // table cut to one row while a run is on.
    for (QWidget* control : {static_cast<QWidget*>(ui.btnPrint), static_cast<QWidget*>(ui.cbExport)})
        control->setEnabled(editable);
    for (QAction* action :
         {ui.mnNew, ui.O1, ui.S1, ui.mnSaveAs, ui.mnCut, ui.mnPaste, ui.mnDeleteRows, ui.P1, ui.mnPreview})
        action->setEnabled(editable);
    ui.mnRecent->setEnabled(editable && !ui.mnRecent->isEmpty());
}

void TfrmMain::btnCalcClick()
{
    if (m_searchThread)
        return;
    // A search let go on close shares the Stop request, which the new one clears.
    endAbandonedSearches();
    // What is being typed into a cell belongs to the job that is calculated.
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    m_run = std::make_unique<calculation::CalculationRun>(calculation::RunGrids{*m_parts, *m_stocks, *m_layout},
                                                          m_strGroupArg, m_dialogs, m_clock, &m_progress);
    const calculation::CalcControls controls = calcControls();
    m_runFormat = controls.formatIndex;
    if (!m_run->prepare(controls, m_random)) {
        if (m_run->focus() == calculation::RunFocus::Parts)
            ui.sgPart->setFocus();
        else if (m_run->focus() == calculation::RunFocus::Stocks)
            ui.sgStock->setFocus();
        m_run.reset();
        return;
    }
    ui.btnCalc->setEnabled(false);
    ui.btnStop->setEnabled(true);
    setJobEditable(false);
    m_relay.reset();
    calculation::CalculationRun* run = m_run.get();
    widgets::SearchRelay* relay = &m_relay;
    m_searchThread = QThread::create([run, relay] { run->search(relay); });
    connect(m_searchThread, &QThread::finished, this, &TfrmMain::searchFinished);
    m_searchThread->start();
}

void TfrmMain::searchFinished()
{
    // A search let go on close may still send its signal. The signal comes just before the thread ends, hence the
    // wait.
    if (!m_searchThread || sender() != m_searchThread)
        return;
    m_searchThread->wait();
    delete m_searchThread;
    m_searchThread = nullptr;
    ui.btnStop->setEnabled(false);
    // The parts grid still holds the job of the run, whose layout texts the table is about to show.
    m_layoutCells->setPieceNames(piecesWithBlanks(*m_parts));
    // The run writes "Left Qty": the program's, not an edit.
    bool shown = false;
    m_document->programChange(document::ListKind::Stocks, [&] { shown = m_run->finish(); });
    ui.lbQuality->setText(shown ? m_run->qualityText() : QString());
    if (shown) {
        const optimizer::CutSettings& settings = m_run->settings();
        m_diagrams->show({m_run->shownPlan(), m_run->shownParts(), m_run->shownStocks(), settings.bladeWidth,
                          settings.stubLength, m_runFormat, settings.reuseLength, settings.qualityLevel,
                          m_run->qualityText()});
    }
    m_run.reset();
    ui.btnCalc->setEnabled(true);
    setJobEditable(true);
    m_freshness.calculationEnded(shown);
    Q_EMIT calculationFinished(shown);
}

void TfrmMain::btnStopClick()
{
    m_relay.requestStop();
    ui.btnStop->setEnabled(false);
}

void TfrmMain::abandonSearch()
{
    if (!m_searchThread)
        return;
    m_relay.requestStop();
    disconnect(m_searchThread, nullptr, this, nullptr);
    m_abandoned.emplace_back(m_searchThread, std::move(m_run));
    m_searchThread = nullptr;
    ui.btnStop->setEnabled(false);
    ui.btnCalc->setEnabled(true);
    setJobEditable(true);
}

void TfrmMain::endAbandonedSearches()
{
    for (auto& [thread, run] : m_abandoned) {
        thread->wait();
        delete thread;
        run.reset();
    }
    m_abandoned.clear();
}

void TfrmMain::ckCostClick(bool checked)
{
    if (!checked)
        return;
    if (const std::optional<calculation::InputRefusal> refusal = calculation::checkCostOption(*m_stocks)) {
        m_dialogs.showMessage(refusal->message, calculation::MessageIcon::Error);
        ui.ckCost->setChecked(false);
    }
}

} // namespace mainwindow
