#pragma once

#include "grid_editing.h"
#include "job_commands.h"
#include "plan_freshness.h"
#include "user_dialogs.h"
#include "widgets/main_window_ui.h"
#include "widgets/run_relays.h"

#include "calculation/calculation_run.h"
#include "calculation/grid_model.h"
#include "document/recent_files.h"
#include "exchange/remnant_stocks.h"
#include "lists/text_file.h"
#include "optimizer/random_source.h"
#include "optimizer/records.h"

#include <QMainWindow>
#include <QSet>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QPrinter;
class QSplitter;
class QThread;

namespace diagrams {
class LayoutDiagrams;
}
namespace document {
class JobDocument;
class JobHistory;
class RecoveryFile;
} // namespace document
namespace localization {
class UrlOpener;
}
namespace mainwindow::widgets {
class LayoutCellDelegate;
}
namespace printing {
class PrintDialogs;
}
namespace spreadsheet {
class WorkbookReadJob;
enum class WorkbookKind;
} // namespace spreadsheet

namespace mainwindow {

struct ReadSheets;

// The main window: the parts, stocks and layout grids, the settings, and the commands that connect them.
// The rules live on the grid models, in the calculation and in the job document; this class wires keys,
// buttons and dialogs to them. A calculation's search runs on a worker thread while the window stays usable.
// The dialogs, the clock and the random source are the window's seams: tests pass scripted ones.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    TfrmMain(UserDialogs& dialogs, calculation::Clock& clock, optimizer::RandomSource& random,
             QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Fills a grid from a list file as the Open buttons do once their dialog is answered (asking first when
    // the grid holds unsaved edits); the path is shown above the grid. A workbook is read off the
    // user-interface thread and imported when it is back.
    void openPartsFile(const QString& path, int format);
    void openStocksFile(const QString& path, int format);
    // Opens a project as Open Project does once its dialog is answered.
    void LoadProject(const QString& path);
    // Runs then once no workbook is being read: at once, or when the reads under way (a project's lists) are
    // back, so that what a command line asks for next comes after them.
    void afterReads(const std::function<void()>& then);
    // Appends a remnant list to the stocks as Imp Left does once its dialog is answered.
    void importLeftStocks(const QString& path);
    // Offers the job that a run which ended without saving left behind; restores it without asking when
    // ask is false. Once at the start.
    void offerLeftJob(bool ask = true);

    document::JobDocument& job() const { return *m_document; }

    bool searchRunning() const { return m_searchThread != nullptr; }
    // The printer list and printer dialogs; the window starts with the real ones.
    void setPrintDialogs(printing::PrintDialogs& dialogs) { m_printDialogs = &dialogs; }
    // The shell's "open" for the maker's web site and mail; the window starts with the desktop's.
    void setUrlOpener(localization::UrlOpener& opener) { m_urlOpener = &opener; }

Q_SIGNALS:
    // A calculation that reached its search has ended; shown tells whether a layout is in the table.
    void calculationFinished(bool shown);

public Q_SLOTS:
    void btnCalcClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private Q_SLOTS:
    void btnPartSaveClick();
    void btnPartOpenClick();
    void btnPartDelAllClick();
    void btnPartAddClick();
    void btnPartDelClick();
    void btnPartTimesClick();
    void btnStockSaveClick();
    void btnStockOpenClick();
    void btnStockDelAllClick();
    void btnStockAddClick();
    void btnStockDelClick();
    void sgPartKeyPress();
    void sgStockKeyPress();
    void sgPartKeyDown();
    void sgStockKeyDown();
    void btnStopClick();
    void ckCostClick(bool checked);
    void N5Click();
    void cbExportClick();
    void btnExitClick();
    void X1Click();
    void btnPrintClick();
    void P1Click();
    void mnPreviewClick();
    void R1Click();
    void A1Click();
    void H2Click();
    void cmbLangChange(int index);
    void searchFinished();
    void S1Click();
    void mnSaveAsClick();
    void O1Click();
    void mnNewClick();
    void mnUndoClick();
    void mnRedoClick();
    void mnCutClick();
    void mnCopyClick();
    void mnPasteClick();
    void mnDeleteRowsClick();
    void mnSelectAllClick();
    void sgPartDelete();
    void sgStockDelete();
    void btnLeftClick();
    void btnExportLeftClick();
    void btnImportLeftClick();

private:
    // Switches the translations to a language; a catalog turned away for its character set is reported once.
    void switchLanguage(const QString& code);
    void setUpGrids();
    // The job document, its history, the recent files and the recovery file, wired to the controls.
    void setUpDocument();
    void connectEditMenu();
    // The settings as the controls hold them, and put back into them.
    document::ProjectSettings controlSettings() const;
    void applySettings(const document::ProjectSettings& settings, const document::ProjectLoad* load = nullptr);
    // The window's caption: the job's name with the modified mark, then the program's caption.
    void updateTitle();
    void rebuildRecentMenu();
    void openRecent(const document::RecentFile& file);
    // Opens a dropped file where it was dropped.
    void openDropped(const QString& path, QWidget* target);
    void openList(document::ListKind kind, const QString& path, int format);
    // The input grid that has the keyboard, if any.
    widgets::GridView* focusedGrid() const;
    calculation::GridModel& model(document::ListKind kind) const;
    widgets::GridView* view(document::ListKind kind) const;
    void pasteInto(document::ListKind kind);
    void clearSelected(document::ListKind kind);
    void fitColumnsToHeaders();
    void connectControls();
    calculation::CalcControls calcControls() const;
    void moveOnEnter(document::ListKind kind);
    void report(const lists::FileResult& result);
    // Opens a list (after the question), a workbook read off the user-interface thread first.
    void readList(document::ListKind kind, const QString& path, int format);
    // Opens a project (after the question), the workbooks it names read off the user-interface thread first.
    void readProject(const QString& path);
    // Starts reading a workbook; done is called with the job when it is back, not after a cancel. False while
    // another read is under way.
    bool readWorkbook(const QString& path, spreadsheet::WorkbookKind kind,
                      const std::function<void(const spreadsheet::WorkbookReadJob&)>& done);
    void readWorkbooks(std::shared_ptr<ReadSheets> sheets,
                       std::vector<std::pair<QString, spreadsheet::WorkbookKind>> books,
                       const std::function<void(std::shared_ptr<const ReadSheets>)>& done);
    // A file written: its name in the status bar, or why it failed.
    void reportSaved(const lists::FileResult& result, const QString& path);
    void showStatus(const QString& text);
    // A remnant list written: the count message, or why it failed.
    void reportCount(const exchange::RemnantSave& saved, const QString& path, const QString& message);
    // Marks the layout table while its plan is older than the lists and settings.
    void showStale(bool stale);
    void showQualityLevel(int level);
    QList<QSplitter*> splitters() const;
    // Asks a running search to stop and lets it go without waiting for it: its result is dropped, and its thread and
    // run are ended when the window goes (or a new search starts), so that closing is answered at once.
    void abandonSearch();
    // Waits for the searches let go and frees them.
    void endAbandonedSearches();
    // Turns on or off every command that changes the job: off while a search runs, which works on the job
    // as it was when "Calc" was pressed. Stop and closing stay.
    void setJobEditable(bool editable);

    widgets::MainWindowUi ui;
    UserDialogs& m_dialogs;
    calculation::GridModel* m_parts = nullptr;
    calculation::GridModel* m_stocks = nullptr;
    calculation::GridModel* m_layout = nullptr;

    optimizer::strGroupArg m_strGroupArg;
    optimizer::RandomSource& m_random;
    calculation::Clock& m_clock;
    document::JobDocument* m_document = nullptr;
    document::JobHistory* m_history = nullptr;
    document::RecoveryFile* m_recovery = nullptr;
    // The recovery file's failure being shown, told once until a write succeeds again.
    QString m_recoveryFailure;
    document::RecentFiles m_recent;
    std::unique_ptr<JobCommands> m_commands;
    widgets::ProgressBarSink m_progress;
    widgets::SearchRelay m_relay;
    std::unique_ptr<calculation::CalculationRun> m_run;
    QThread* m_searchThread = nullptr;
    std::vector<std::pair<QThread*, std::unique_ptr<calculation::CalculationRun>>> m_abandoned;
    std::unique_ptr<printing::PrintDialogs> m_ownPrintDialogs;
    printing::PrintDialogs* m_printDialogs = nullptr;
    // Kept for the window's life, so that the printer and paper chosen stay chosen.
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<localization::UrlOpener> m_ownUrlOpener;
    localization::UrlOpener* m_urlOpener = nullptr;
    diagrams::LayoutDiagrams* m_diagrams = nullptr;
    widgets::LayoutCellDelegate* m_layoutCells = nullptr;
    PlanFreshness m_freshness;
    // The number format of the run under way, for its diagrams.
    int m_runFormat = 0;
    // The codes behind the items of "Lang：", in the order listed.
    QStringList m_languages;
    QSet<QString> m_reportedCatalogs;
    // The workbook being read, if any.
    spreadsheet::WorkbookReadJob* m_workbookRead = nullptr;
    std::vector<std::function<void()>> m_afterReads;
};

} // namespace mainwindow
