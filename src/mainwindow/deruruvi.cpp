#include "deruruvi.h"

#include "list_dialogs.h"

#include "document/history/job_history.h"
#include "document/job_document.h"
#include "document/recovery_file.h"
#include "widgets/cell_delegates.h"
#include "widgets/window_state.h"

#include "calculation/grids.h"
#include "calculation/layout_table.h"
#include "diagrams/widgets/diagram_view.h"
#include "diagrams/widgets/layout_diagrams.h"
#include "localization/catalogs.h"
#include "localization/language_settings.h"
#include "localization/languages.h"
#include "localization/translate.h"
#include "localization/widgets/ridizavi.h"
#include "printing/qt_print_dialogs.h"
#include "printouts/widgets/print_preview.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>

#include <algorithm>

namespace mainwindow {

using calculation::GridModel;
using calculation::MessageIcon;
using localization::translate;
using widgets::GridView;

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

void setColumnWidths(GridView* view, std::initializer_list<int> widths)
{
    int column = 0;
    for (int width : widths)
        view->setColumnWidth(column++, width);
}

// Widens the columns whose header (or "Total") is longer in the current language than the column is wide; a
// column the user made wider stays so.
void fitHeaders(GridView* view, const GridModel& grid)
{
    constexpr int kPadding = 10;
    const QFontMetrics metrics(view->font());
    for (int column = 0; column < grid.columns(); ++column) {
        // The first column also carries "Total" above its header.
        const QString longer = column == 0 ? grid.cell(column, GridModel::kTotalsRow) : QString();
        const int needed = std::max(metrics.horizontalAdvance(grid.cell(column, GridModel::kHeaderRow)),
                                    metrics.horizontalAdvance(longer)) +
                           kPadding;
        if (view->columnWidth(column) < needed)
            view->setColumnWidth(column, needed);
    }
}

} // namespace

TfrmMain::TfrmMain(UserDialogs& dialogs, calculation::Clock& clock, optimizer::RandomSource& random, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_random(random), m_clock(clock), m_relay(m_progress, this),
      m_ownPrintDialogs(std::make_unique<printing::QtPrintDialogs>(this)), m_printDialogs(m_ownPrintDialogs.get()),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_ownUrlOpener(std::make_unique<localization::DesktopUrlOpener>()), m_urlOpener(m_ownUrlOpener.get())
{
    setObjectName(QStringLiteral("frmMain"));
    // 1 - the languages that have a catalog
    m_languages = localization::offeredLanguages();
    // 2 - the saved language, and the window's texts in it
    switchLanguage(localization::readSavedLanguage(localization::settingsFile()));
    ui.setupUi(this);
    for (const QString& code : m_languages)
        ui.cmbLang->addItem(localization::languageDisplayName(code));
    ui.retranslateUi(this);
    m_progress.setBar(ui.pbCutting);
    setUpGrids();
    connectControls();
    setUpDocument();
    // 3 - the current language selected; one without a catalog speaks English, which is always listed
    qsizetype language = m_languages.indexOf(localization::currentLanguage());
    if (language < 0)
        language = m_languages.indexOf(QLatin1String(localization::kDefaultLanguage));
    ui.cmbLang->setCurrentIndex(int(language));
    connect(ui.cmbLang, &QComboBox::currentIndexChanged, this, &TfrmMain::cmbLangChange);
    statusBar()->setSizeGripEnabled(true);

    // The size and place of the last run, or the first run's: 1024 x 768 in the middle of the screen.
    if (!widgets::restoreWindowState(*this, splitters(), widgets::windowStateFile())) {
        resize(kWindowWidth, kWindowHeight);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
}

QList<QSplitter*> TfrmMain::splitters() const
{
    return {ui.splitterParts, ui.splitterLayouts, ui.splitterDiagrams};
}

TfrmMain::~TfrmMain()
{
    abandonSearch();
    endAbandonedSearches();
    // The controls go before the document and its history, which must not tell them of it; an editor closed
    // on the way out tells the window no more.
    m_history->stack().disconnect();
    m_document->disconnect();
    for (const GridView* view : {ui.sgPart, ui.sgStock})
        view->itemDelegate()->disconnect(this);
}

void TfrmMain::setUpGrids()
{
    m_parts = calculation::createPartsGrid(this);
    m_stocks = calculation::createStocksGrid(this);
    m_layout = calculation::createLayoutGrid(this);

    auto* partCells = new widgets::InputCellDelegate(InputGrid::Parts, ui.sgPart);
    auto* stockCells = new widgets::InputCellDelegate(InputGrid::Stocks, ui.sgStock);
    QLineEdit* reuse = ui.edCircle;
    m_layoutCells = new widgets::LayoutCellDelegate([reuse] { return reuse->text(); }, ui.sgLayout);
    ui.sgPart->setItemDelegate(partCells);
    ui.sgStock->setItemDelegate(stockCells);
    ui.sgLayout->setItemDelegate(m_layoutCells);
    connect(partCells, &widgets::InputCellDelegate::enterPressed, this, &TfrmMain::sgPartKeyPress);
    connect(stockCells, &widgets::InputCellDelegate::enterPressed, this, &TfrmMain::sgStockKeyPress);
    connect(partCells, &widgets::InputCellDelegate::rowsPasted, this, &TfrmMain::sgPartKeyDown);
    connect(stockCells, &widgets::InputCellDelegate::rowsPasted, this, &TfrmMain::sgStockKeyDown);
    for (const widgets::InputCellDelegate* cells : {partCells, stockCells}) {
        connect(cells, &widgets::InputCellDelegate::typedTextRefused, this, &TfrmMain::showStatus);
        // What is typed once the editor has closed is another edit, even in the same cell.
        connect(cells, &QAbstractItemDelegate::closeEditor, this, [this] {
            if (m_document)
                m_document->endTyping();
        });
    }

    ui.sgPart->setModel(m_parts);
    ui.sgStock->setModel(m_stocks);
    ui.sgLayout->setModel(m_layout);
    setColumnWidths(ui.sgPart, {130, 60, 50});
    setColumnWidths(ui.sgStock, {133, 76, 64, 55, 57, 64});
    setColumnWidths(ui.sgLayout, {37, 94, 63, 42, 59, 310, 89});
    fitColumnsToHeaders();
    // The number columns grow to their longest number, totals included; "Cutting Layout" takes the rest.
    ui.sgPart->setContentColumns({calculation::kLengthColumn, calculation::kQtyColumn});
    ui.sgStock->setContentColumns(
        {calculation::kLengthColumn, calculation::kQtyColumn, calculation::kCostColumn, calculation::kLeftQtyColumn});
    ui.sgLayout->setContentColumns({calculation::kLayoutNoColumn, calculation::kLayoutLengthColumn,
                                    calculation::kLayoutQtyColumn, calculation::kLayoutLeftLenColumn,
                                    calculation::kLayoutLeftLabelColumn});
    ui.sgLayout->setSpareWidthColumn(calculation::kLayoutPiecesColumn);
    ui.sgLayout->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.sgLayout->setTextRowsColumn(calculation::kLayoutPiecesColumn);
    m_freshness.watch(*m_parts);
    m_freshness.watch(*m_stocks, calculation::kLeftQtyColumn);
    m_diagrams = new diagrams::LayoutDiagrams(
        *ui.sgLayout, *m_layout, *ui.dvLayout, [reuse] { return reuse->text(); }, this);
}

void TfrmMain::fitColumnsToHeaders()
{
    fitHeaders(ui.sgPart, *m_parts);
    fitHeaders(ui.sgStock, *m_stocks);
    fitHeaders(ui.sgLayout, *m_layout);
}

void TfrmMain::connectControls()
{
    connect(ui.btnPartSave, &QPushButton::clicked, this, &TfrmMain::btnPartSaveClick);
    connect(ui.btnPartOpen, &QPushButton::clicked, this, &TfrmMain::btnPartOpenClick);
    connect(ui.btnPartDelAll, &QPushButton::clicked, this, &TfrmMain::btnPartDelAllClick);
    connect(ui.btnPartAdd, &QPushButton::clicked, this, &TfrmMain::btnPartAddClick);
    connect(ui.btnPartDel, &QPushButton::clicked, this, &TfrmMain::btnPartDelClick);
    connect(ui.btnPartTimes, &QPushButton::clicked, this, &TfrmMain::btnPartTimesClick);
    connect(ui.btnStockSave, &QPushButton::clicked, this, &TfrmMain::btnStockSaveClick);
    connect(ui.btnStockOpen, &QPushButton::clicked, this, &TfrmMain::btnStockOpenClick);
    connect(ui.btnStockDelAll, &QPushButton::clicked, this, &TfrmMain::btnStockDelAllClick);
    connect(ui.btnStockAdd, &QPushButton::clicked, this, &TfrmMain::btnStockAddClick);
    connect(ui.btnStockDel, &QPushButton::clicked, this, &TfrmMain::btnStockDelClick);
    connect(ui.sgPart, &GridView::enterPressed, this, &TfrmMain::sgPartKeyPress);
    connect(ui.sgStock, &GridView::enterPressed, this, &TfrmMain::sgStockKeyPress);
    connect(ui.sgPart, &GridView::pasteRequested, this, &TfrmMain::sgPartKeyDown);
    connect(ui.sgStock, &GridView::pasteRequested, this, &TfrmMain::sgStockKeyDown);
    connect(ui.btnCalc, &QPushButton::clicked, this, &TfrmMain::btnCalcClick);
    connect(ui.btnStop, &QPushButton::clicked, this, &TfrmMain::btnStopClick);
    connect(ui.ckCost, &QCheckBox::clicked, this, &TfrmMain::ckCostClick);
    connect(ui.cbExport, &QPushButton::clicked, this, &TfrmMain::cbExportClick);
    connect(ui.N5, &QAction::triggered, this, &TfrmMain::N5Click);
    connect(ui.btnExit, &QPushButton::clicked, this, &TfrmMain::btnExitClick);
    connect(ui.X1, &QAction::triggered, this, &TfrmMain::X1Click);
    connect(ui.btnPrint, &QPushButton::clicked, this, &TfrmMain::btnPrintClick);
    connect(ui.P1, &QAction::triggered, this, &TfrmMain::P1Click);
    connect(ui.mnPreview, &QAction::triggered, this, &TfrmMain::mnPreviewClick);
    connect(ui.R1, &QAction::triggered, this, &TfrmMain::R1Click);
    connect(ui.A1, &QAction::triggered, this, &TfrmMain::A1Click);
    connect(ui.H2, &QAction::triggered, this, &TfrmMain::H2Click);
    connect(ui.S1, &QAction::triggered, this, &TfrmMain::S1Click);
    connect(ui.O1, &QAction::triggered, this, &TfrmMain::O1Click);
    connect(ui.btnLeft, &QPushButton::clicked, this, &TfrmMain::btnLeftClick);
    connect(ui.btnExportLeft, &QPushButton::clicked, this, &TfrmMain::btnExportLeftClick);
    connect(ui.btnImportLeft, &QPushButton::clicked, this, &TfrmMain::btnImportLeftClick);
    // The green of reusable remnants follows "Rpt Use Len:" as it is typed.
    connect(ui.edCircle, &QLineEdit::textChanged, ui.sgLayout->viewport(), qOverload<>(&QWidget::update));
    connect(ui.edCircle, &QLineEdit::textChanged, m_diagrams, &diagrams::LayoutDiagrams::refresh);

    // Every setting that the next calculation reads makes the plan shown an old one.
    for (QLineEdit* field : {ui.edGap, ui.edMargin, ui.edCircle})
        connect(field, &QLineEdit::textChanged, &m_freshness, &PlanFreshness::jobChanged);
    for (QCheckBox* box : {ui.ckChange, ui.ckCost, ui.ckExact})
        connect(box, &QCheckBox::toggled, &m_freshness, &PlanFreshness::jobChanged);
    for (QComboBox* list : {ui.cbxFormat, ui.cbxDisplay})
        connect(list, &QComboBox::currentIndexChanged, &m_freshness, &PlanFreshness::jobChanged);
    connect(ui.tbFast, &QSlider::valueChanged, &m_freshness, &PlanFreshness::jobChanged);
    connect(&m_freshness, &PlanFreshness::staleChanged, this, &TfrmMain::showStale);
    connect(ui.tbFast, &QSlider::valueChanged, this, &TfrmMain::showQualityLevel);
    showQualityLevel(ui.tbFast->value());
}

void TfrmMain::showStale(bool stale)
{
    ui.lbStale->setVisible(stale);
    m_layoutCells->setStale(stale);
    ui.dvLayout->setStale(stale);
    ui.sgLayout->viewport()->update();
}

void TfrmMain::showQualityLevel(int level)
{
    ui.lbLevel->setText(QStringLiteral("%1 / %2").arg(level).arg(ui.tbFast->maximum()));
}

// Printing: every print command opens the preview, from which the user prints.

void TfrmMain::btnPrintClick()
{
    mnPreviewClick();
}

void TfrmMain::P1Click()
{
    mnPreviewClick();
}

void TfrmMain::mnPreviewClick()
{
    const printouts::PrintContents contents = printouts::printContents(
        printouts::printModeAt(ui.cbxPrint->currentIndex()).value_or(printouts::PrintMode::Layouts));
    // Labels are cut from the plan itself, which a table filled otherwise does not have.
    if (m_layout->cell(calculation::kLayoutNoColumn, GridModel::kFirstDataRow).isEmpty() ||
        (contents.labels && !m_diagrams->shown())) {
        m_dialogs.showMessage(translate("No cutting layouts,cant preview!"), MessageIcon::Error);
        return;
    }
    printouts::JobPrintout printout(contents, {*m_layout, *m_parts, *m_stocks}, m_diagrams->shown(),
                                    printouts::jobHeading(ui.edTitle->text(), ui.edUnit->text(), m_diagrams->source()),
                                    m_clock, ui.sgLayout->font());
    printouts::showPrintPreview(printout, *m_printer, *m_printDialogs, this);
}

void TfrmMain::R1Click()
{
    // Printer and paper only: the printout's orientation comes from the print options.
    m_printDialogs->askPrinterSetup(*m_printer);
}

// Help

void TfrmMain::A1Click()
{
    localization::TAboutBox box(*m_urlOpener, this);
    box.exec();
}

void TfrmMain::H2Click()
{
    const QString path = localization::helpFilePath(localization::currentLanguage());
    if (QFileInfo(path).isFile())
        m_dialogs.openDocument(path);
    else
        m_dialogs.showMessage(translate("The help file is not exists!"), MessageIcon::Error);
}

// Languages

void TfrmMain::switchLanguage(const QString& code)
{
    localization::useLanguage(code);
    if (localization::catalogLacksUtf8() && !m_reportedCatalogs.contains(code)) {
        m_reportedCatalogs.insert(code);
        m_dialogs.showTitledMessage(translate("Localization problem"), localization::catalogProblem(),
                                    MessageIcon::Error);
    }
}

void TfrmMain::cmbLangChange(int index)
{
    if (index < 0 || index >= m_languages.size())
        return;
    const QString code = m_languages[index];
    const QString oldYes = translate("Yes");
    const QString oldNo = translate("No");
    switchLanguage(code);
    // The list items keep their positions, so every selection stays as it was.
    ui.retranslateUi(this);
    updateTitle();
    rebuildRecentMenu();
    // Like the program it follows, a language that can't be kept lasts until the program ends.
    localization::saveLanguage(localization::settingsFile(), code);
    calculation::writePartsHeaders(*m_parts);
    calculation::writeStocksHeaders(*m_stocks);
    calculation::writeLayoutHeaders(*m_layout);
    fitColumnsToHeaders();
    // The calculation reads the Priority words of the moment, so the words already in cells follow; the
    // job stays the same.
    m_freshness.setPaused(true);
    m_document->programChange(document::ListKind::Stocks, [&] {
        retranslatePriorities(*m_stocks, oldYes, oldNo, translate("Yes"), translate("No"));
    });
    m_freshness.setPaused(false);
    // The edits kept hold the old words, which the calculation would no longer read as "Yes" and "No".
    m_history->stack().clear();
}

// Ending

void TfrmMain::btnExitClick()
{
    close();
}

void TfrmMain::X1Click()
{
    close();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // What is being typed into a cell belongs to the job that may be saved.
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    if (!m_commands->confirmDiscardJob()) {
        event->ignore();
        return;
    }
    abandonSearch();
    widgets::saveWindowState(*this, splitters(), widgets::windowStateFile());
    // Saved or discarded by the user's word: nothing is left to recover.
    m_recovery->discard();
    QMainWindow::closeEvent(event);
}

} // namespace mainwindow
