#include "main_window_ui.h"

#include "diagrams/widgets/diagram_view.h"
#include "file_name_field.h"
#include "form_helpers.h"
#include "localization/translate.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QVBoxLayout>

namespace mainwindow::widgets {

using localization::translate;

using namespace form;

namespace {

constexpr int kPartsPanelWidth = 273;
constexpr int kUpperAreaHeight = 288;
constexpr int kSettingsWidth = 194;
constexpr int kSplitterWidth = 3;
// Between the window's edge and the panels, and inside the panels.
constexpr int kWindowMargin = 6;
constexpr int kPanelMargin = 6;

} // namespace

void MainWindowUi::setupUi(QMainWindow* window)
{
    // Parts panel: the file above the row buttons and the grid, multiplier and language below it.
    gbPart = named(new QGroupBox, "gbPart");
    btnPartSave = button(gbPart, "btnPartSave");
    btnPartOpen = button(gbPart, "btnPartOpen");
    edPartFile = named(new FileNameField(gbPart), "edPartFile");
    btnPartDelAll = smallButton(gbPart, "btnPartDelAll");
    btnPartAdd = smallButton(gbPart, "btnPartAdd");
    btnPartDel = smallButton(gbPart, "btnPartDel");
    sgPart = named(new GridView(gbPart), "sgPart");
    Label9 = named(new QLabel(gbPart), "Label9");
    cmbLang = named(new QComboBox(gbPart), "cmbLang");
    Label8 = named(new QLabel(gbPart), "Label8");
    btnPartTimes = smallButton(gbPart, "btnPartTimes");
    edTimes = settingField(gbPart, "edTimes", QStringLiteral("2"));
    edTimes->setFixedWidth(40);
    auto* partsLayout = new QVBoxLayout(gbPart);
    partsLayout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    // The file name on the row of the file buttons, the row buttons below: long captions ("Speichern",
    // "Enregistrer") leave the name its room.
    partsLayout->addLayout(row({btnPartSave, btnPartOpen, edPartFile}));
    partsLayout->addLayout(row({btnPartDelAll, btnPartAdd, btnPartDel, nullptr}));
    partsLayout->addWidget(sgPart, 1);
    // The language on a row of its own: "de_de - Deutsch" and the caption in a long language need the width.
    partsLayout->addLayout(row({Label8, btnPartTimes, edTimes, nullptr}));
    auto* languageRow = row({Label9, cmbLang});
    languageRow->setStretch(1, 1);
    partsLayout->addLayout(languageRow);

    // Stocks panel
    gbStock = named(new QGroupBox, "gbStock");
    btnStockSave = button(gbStock, "btnStockSave");
    btnStockOpen = button(gbStock, "btnStockOpen");
    edStockFile = named(new FileNameField(gbStock), "edStockFile");
    btnStockDelAll = smallButton(gbStock, "btnStockDelAll");
    btnStockAdd = smallButton(gbStock, "btnStockAdd");
    btnStockDel = smallButton(gbStock, "btnStockDel");
    btnLeft = button(gbStock, "btnLeft");
    btnImportLeft = button(gbStock, "btnImportLeft");
    sgStock = named(new GridView(gbStock), "sgStock");
    sgStock->setFixedLineColor(Qt::black);
    auto* stocksLayout = new QVBoxLayout(gbStock);
    stocksLayout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    stocksLayout->addLayout(row({btnStockSave, btnStockOpen, edStockFile}));
    stocksLayout->addLayout(row({btnStockDelAll, btnStockAdd, btnStockDel, nullptr, btnLeft, btnImportLeft}));
    stocksLayout->addWidget(sgStock, 1);

    // Settings column: the command buttons on top, the "Sets" box below, as wide as its captions need.
    auto* settings = named(new QWidget, "pnlSets");
    settings->setMinimumWidth(kSettingsWidth);
    settings->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    btnCalc = button(settings, "btnCalc");
    btnPrint = button(settings, "btnPrint");
    btnExit = button(settings, "btnExit");
    cbExport = button(settings, "cbExport");
    btnExportLeft = button(settings, "btnExportLeft");
    auto* buttons = new QGridLayout;
    buttons->setSpacing(4);
    QPushButton* const order[] = {btnCalc, btnPrint, btnExit, cbExport, btnExportLeft};
    for (int i = 0; i < 5; ++i)
        buttons->addWidget(order[i], i / 2, i % 2);

    gbSets = named(new QGroupBox(settings), "gbSets");
    lbl1 = named(new QLabel(gbSets), "lbl1");
    lbl1->setTextFormat(Qt::PlainText);
    tbFast = named(new QSlider(Qt::Horizontal, gbSets), "tbFast");
    tbFast->setRange(1, 12);
    tbFast->setSingleStep(1);
    tbFast->setPageStep(1);
    tbFast->setValue(5);
    tbFast->setTickPosition(QSlider::TicksBelow);
    tbFast->setTickInterval(1);
    lbLevel = named(new QLabel(gbSets), "lbLevel");
    // Room for "12 / 12", so that the slider keeps its length as it moves.
    lbLevel->setMinimumWidth(lbLevel->fontMetrics().horizontalAdvance(QStringLiteral("12 / 12")));
    lbLevel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ckChange = checkBox(gbSets, "ckChange");
    ckCost = checkBox(gbSets, "ckCost");
    ckExact = checkBox(gbSets, "ckExact");
    ckExact->setChecked(true);
    // The default texts of the job's own fields are written once, in the language of the start.
    edGap = settingField(gbSets, "edGap", QStringLiteral("0"));
    edMargin = settingField(gbSets, "edMargin", QStringLiteral("0"));
    edCircle = settingField(gbSets, "edCircle", QStringLiteral("15"));
    cbxFormat = dropDown(gbSets, "cbxFormat", 5, 0);
    edUnit = settingField(gbSets, "edUnit", translate("mm"));
    edTitle = settingField(gbSets, "edTitle", translate("Barvik pipe cuting project"));
    auto* fields = new QFormLayout;
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setVerticalSpacing(4);
    QLabel** const captions[] = {&lbGap, &lbMargin, &lbCircle, &lbFormat, &lbUnit, &lbTitle};
    const char* const captionNames[] = {"lbGap", "lbMargin", "lbCircle", "lbFormat", "lbUnit", "lbTitle"};
    QWidget* const fieldsInOrder[] = {edGap, edMargin, edCircle, cbxFormat, edUnit, edTitle};
    for (int i = 0; i < 6; ++i) {
        *captions[i] = named(new QLabel(gbSets), captionNames[i]);
        fields->addRow(*captions[i], fieldsInOrder[i]);
    }
    auto* setsLayout = new QVBoxLayout(gbSets);
    setsLayout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    setsLayout->setSpacing(4);
    setsLayout->addWidget(lbl1);
    setsLayout->addLayout(row({tbFast, lbLevel}));
    setsLayout->addWidget(ckChange);
    setsLayout->addWidget(ckCost);
    setsLayout->addWidget(ckExact);
    setsLayout->addLayout(fields);
    // Taller than its settings, the box keeps them together at its top.
    setsLayout->addStretch(1);
    auto* settingsLayout = new QVBoxLayout(settings);
    settingsLayout->setContentsMargins(0, 0, 0, 0);
    settingsLayout->setSpacing(4);
    settingsLayout->addLayout(buttons);
    settingsLayout->addWidget(gbSets, 1);

    auto* upperArea = named(new QWidget, "pnlTop");
    auto* upperLayout = new QHBoxLayout(upperArea);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(kWindowMargin);
    upperLayout->addWidget(gbStock, 1);
    upperLayout->addWidget(settings);

    // Layouts panel: progress, the Stop button and the two display lists above the layout table, and the
    // mark of a plan that no longer answers the lists.
    gbLayout = named(new QGroupBox, "gbLayout");
    pbCutting = named(new QProgressBar(gbLayout), "pbCutting");
    pbCutting->setRange(0, 100);
    pbCutting->setValue(0);
    pbCutting->setTextVisible(false);
    btnStop = button(gbLayout, "btnStop");
    btnStop->setEnabled(false);
    cbxDisplay = dropDown(gbLayout, "cbxDisplay", 3, 2);
    cbxPrint = dropDown(gbLayout, "cbxPrint", 7, 1);
    lbStale = named(new QLabel(gbLayout), "lbStale");
    lbStale->setWordWrap(true);
    lbStale->hide();
    splitterDiagrams = named(new QSplitter(Qt::Vertical, gbLayout), "splitterDiagrams");
    splitterDiagrams->setHandleWidth(kSplitterWidth);
    sgLayout = named(new GridView(splitterDiagrams), "sgLayout");
    dvLayout = named(new diagrams::DiagramView(splitterDiagrams), "dvLayout");
    splitterDiagrams->addWidget(sgLayout);
    splitterDiagrams->addWidget(dvLayout);
    splitterDiagrams->setCollapsible(0, false);
    splitterDiagrams->setStretchFactor(0, 3);
    splitterDiagrams->setStretchFactor(1, 2);
    lbQuality = named(new QLabel(gbLayout), "lbQuality");
    lbQuality->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layoutsLayout = new QVBoxLayout(gbLayout);
    layoutsLayout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    layoutsLayout->addLayout(row({pbCutting, btnStop, cbxDisplay, cbxPrint}));
    layoutsLayout->addWidget(lbStale);
    layoutsLayout->addWidget(splitterDiagrams, 1);
    layoutsLayout->addWidget(lbQuality);

    // The two splitters, 3 pixels each.
    splitterLayouts = named(new QSplitter(Qt::Vertical), "splitterLayouts");
    splitterLayouts->setHandleWidth(kSplitterWidth);
    splitterLayouts->setChildrenCollapsible(false);
    splitterLayouts->addWidget(upperArea);
    splitterLayouts->addWidget(gbLayout);
    splitterLayouts->setStretchFactor(0, 0);
    splitterLayouts->setStretchFactor(1, 1);
    splitterLayouts->setSizes({kUpperAreaHeight, 768 - kUpperAreaHeight});

    auto* central = named(new QWidget(window), "pnlMain");
    splitterParts = named(new QSplitter(Qt::Horizontal, central), "splitterParts");
    splitterParts->setHandleWidth(kSplitterWidth);
    splitterParts->setChildrenCollapsible(false);
    splitterParts->addWidget(gbPart);
    splitterParts->addWidget(splitterLayouts);
    splitterParts->setStretchFactor(0, 0);
    splitterParts->setStretchFactor(1, 1);
    splitterParts->setSizes({kPartsPanelWidth, 1024 - kPartsPanelWidth});
    auto* centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, 0);
    centralLayout->addWidget(splitterParts);
    window->setCentralWidget(central);

    // Menus
    mMain = named(window->menuBar(), "mMain");
    F1 = named(mMain->addMenu(QString()), "F1");
    mnNew = named(F1->addAction(QString()), "mnNew");
    mnNew->setShortcut(QKeySequence::New);
    O1 = named(F1->addAction(QString()), "O1");
    O1->setShortcut(QKeySequence::Open);
    mnRecent = named(F1->addMenu(QString()), "mnRecent");
    F1->addSeparator();
    S1 = named(F1->addAction(QString()), "S1");
    S1->setShortcut(QKeySequence::Save);
    mnSaveAs = named(F1->addAction(QString()), "mnSaveAs");
    mnSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    F1->addSeparator();
    P1 = named(F1->addAction(QString()), "P1");
    P1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnPreview = named(F1->addAction(QString()), "mnPreview");
    R1 = named(F1->addAction(QString()), "R1");
    F1->addSeparator();
    N5 = named(F1->addAction(QString()), "N5");
    F1->addSeparator();
    X1 = named(F1->addAction(QString()), "X1");
    X1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnEdit = named(mMain->addMenu(QString()), "mnEdit");
    mnUndo = named(mnEdit->addAction(QString()), "mnUndo");
    mnUndo->setShortcut(QKeySequence::Undo);
    mnRedo = named(mnEdit->addAction(QString()), "mnRedo");
    // Both redo keys of the desktops: Ctrl+Shift+Z and Ctrl+Y.
    mnRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnEdit->addSeparator();
    mnCut = named(mnEdit->addAction(QString()), "mnCut");
    mnCut->setShortcut(QKeySequence::Cut);
    mnCopy = named(mnEdit->addAction(QString()), "mnCopy");
    mnCopy->setShortcut(QKeySequence::Copy);
    mnPaste = named(mnEdit->addAction(QString()), "mnPaste");
    mnPaste->setShortcut(QKeySequence::Paste);
    mnDeleteRows = named(mnEdit->addAction(QString()), "mnDeleteRows");
    mnDeleteRows->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    mnEdit->addSeparator();
    mnSelectAll = named(mnEdit->addAction(QString()), "mnSelectAll");
    mnSelectAll->setShortcut(QKeySequence::SelectAll);
    H1 = named(mMain->addMenu(QString()), "H1");
    H2 = named(H1->addAction(QString()), "H2");
    H2->setShortcut(QKeySequence::HelpContents);
    H1->addSeparator();
    A1 = named(H1->addAction(QString()), "A1");
}

void MainWindowUi::retranslateUi(QMainWindow* window)
{
    // The window's caption names the job too; the window writes it.
    Q_UNUSED(window);
    gbPart->setTitle(translate("Parts"));
    setFileCaption(btnPartSave, translate("Save"), translate("Save parts"));
    setFileCaption(btnPartOpen, translate("Open"), translate("Open parts"));
    edPartFile->setHint(translate("Parts file name"));
    setCaption(btnPartDelAll, translate("X"), translate("Delete all parts"));
    setCaption(btnPartAdd, translate("+"), translate("Add one part"));
    setCaption(btnPartDel, translate("-"), translate("delete current part"));
    Label9->setText(translate("Lang："));
    Label8->setText(translate("Qty:"));
    setCaption(btnPartTimes, translate("X"), translate("Qty of multiples"));

    gbStock->setTitle(translate("Stocks"));
    setFileCaption(btnStockSave, translate("Save"), translate("Save stocks"));
    setFileCaption(btnStockOpen, translate("Open"), translate("Open stocks"));
    edStockFile->setHint(translate("Stocks file name"));
    setCaption(btnStockDelAll, translate("X"), translate("Delete all stocks"));
    setCaption(btnStockAdd, translate("+"), translate("Add one stock"));
    setCaption(btnStockDel, translate("-"), translate("Delete current stock"));
    setCaption(btnLeft, translate("Save Left"), translate("Save the left stocks,used by next time."));
    setCaption(btnImportLeft, translate("Imp Left"), translate("Append import stocks"));

    setCaption(btnCalc, translate("Calc"));
    // A caption sets the button's key anew.
    btnCalc->setShortcut(QKeySequence(Qt::Key_F9));
    setCaption(btnPrint, translate("Print"));
    setCaption(btnExit, translate("Close"));
    setCaption(cbExport, translate("Exp Layout"));
    setCaption(btnExportLeft, translate("Exp Left"));
    gbSets->setTitle(translate("Sets"));
    lbl1->setText(translate("<<fastest | best>>"));
    setCaption(ckChange, translate("Change Optimization"));
    setCaption(ckCost, translate("Cost Optimization"));
    setCaption(ckExact, translate("Exact Search"),
               translate("Look for the plan with the fewest bars beside the genetic search, and tell how close the "
                         "plan is to the best possible one"));
    lbGap->setText(translate("Blade Width:"));
    lbMargin->setText(translate("Stub Length:"));
    lbCircle->setText(translate("Rpt Use Len:"));
    lbFormat->setText(translate("Qty Format:"));
    lbUnit->setText(translate("Length Unit:"));
    lbTitle->setText(translate("Title:"));
    // Number pictures: the same in every language.
    setItems(cbxFormat, {QStringLiteral("999999"), QStringLiteral("99999.9"), QStringLiteral("9999.99"),
                         QStringLiteral("999.999"), QStringLiteral("99.9999")});

    gbLayout->setTitle(translate("Cutting Layouts"));
    lbStale->setText(translate("The lists have changed since this plan was made; press Calc."));
    setCaption(btnStop, translate("Stop"), translate("Stop the calculation and show the best layouts found so far"));
    btnStop->setShortcut(QKeySequence(Qt::Key_Escape));
    setItems(cbxDisplay, {translate("Label(Length) X Qty"), translate("Length X Qty"), translate("Label X Qty")});
    setItems(cbxPrint, {translate("Print All"), translate("Print Cutting Layouts"), translate("Print Stocks & Parts"),
                        translate("Print Layouts & Diagrams"), translate("Print Diagrams in Rows"),
                        translate("Print Cutting List"), translate("Print Labels")});

    F1->setTitle(translate("File(&F)"));
    mnNew->setText(translate("New(&N)"));
    O1->setText(translate("Open Project(&O)..."));
    mnRecent->setTitle(translate("Recent Files(&F)"));
    S1->setText(translate("Save Project(&S)..."));
    mnSaveAs->setText(translate("Save Project As(&A)..."));
    P1->setText(translate("Print(&P)..."));
    mnPreview->setText(translate("Preview(&V)..."));
    R1->setText(translate("Print Sets(&R)..."));
    N5->setText(translate("Export Layouts(&E)..."));
    X1->setText(translate("Exit(&X)"));
    mnEdit->setTitle(translate("Edit(&E)"));
    mnCut->setText(translate("Cut(&T)"));
    mnCopy->setText(translate("Copy(&C)"));
    mnPaste->setText(translate("Paste(&P)"));
    mnDeleteRows->setText(translate("Delete Rows(&D)"));
    mnSelectAll->setText(translate("Select All(&A)"));
    H1->setTitle(translate("Help(&H)"));
    H2->setText(translate("Content(&C)..."));
    A1->setText(translate("About(&A)..."));
}

} // namespace mainwindow::widgets
