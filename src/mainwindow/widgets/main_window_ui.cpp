#include "main_window_ui.h"

#include "diagrams/widgets/diagram_view.h"
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

namespace {

constexpr int kPartsPanelWidth = 273;
constexpr int kUpperAreaHeight = 288;
constexpr int kSettingsWidth = 194;
constexpr int kSplitterWidth = 3;
constexpr int kSmallButtonWidth = 24;

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr)
{
    auto* result = named(new QPushButton(translate(caption), parent), name);
    if (hint)
        result->setToolTip(translate(hint));
    return result;
}

QPushButton* smallButton(QWidget* parent, const char* name, const char* caption, const char* hint)
{
    QPushButton* result = button(parent, name, caption, hint);
    result->setFixedWidth(kSmallButtonWidth);
    return result;
}

// The file buttons above the grids: as wide as their caption, so that the file name keeps its room.
QPushButton* fileButton(QWidget* parent, const char* name, const char* caption, const char* hint)
{
    QPushButton* result = button(parent, name, caption, hint);
    result->setFixedWidth(result->fontMetrics().horizontalAdvance(result->text()) + 16);
    return result;
}

// The file name fields show a path and can't be typed into; grey like the window.
QLineEdit* fileNameField(QWidget* parent, const char* name, const char* hint)
{
    auto* field = named(new QLineEdit(parent), name);
    field->setReadOnly(true);
    field->setToolTip(translate(hint));
    QPalette grey = field->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    field->setPalette(grey);
    return field;
}

QLineEdit* settingField(QWidget* parent, const char* name, const char* text)
{
    auto* field = named(new QLineEdit(translate(text), parent), name);
    field->setCursorPosition(0);
    return field;
}

QComboBox* dropDown(QWidget* parent, const char* name, std::initializer_list<const char*> items, int item)
{
    auto* list = named(new QComboBox(parent), name);
    for (const char* text : items)
        list->addItem(translate(text));
    list->setCurrentIndex(item);
    return list;
}

// "Change Optimization" and "Cost Optimization" carry their text left of the box.
QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption)
{
    auto* box = named(new QCheckBox(translate(caption), parent), name);
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    layout->setSpacing(2);
    for (QWidget* widget : widgets) {
        if (widget)
            layout->addWidget(widget);
        else
            layout->addStretch();
    }
    return layout;
}

} // namespace

void MainWindowUi::setupUi(QMainWindow* window)
{
    // Parts panel: file buttons and row buttons above the grid, language and multiplier below it.
    gbPart = named(new QGroupBox(translate("Parts")), "gbPart");
    btnPartSave = fileButton(gbPart, "btnPartSave", "Save", "Save parts");
    btnPartOpen = fileButton(gbPart, "btnPartOpen", "Open", "Open parts");
    edPartFile = fileNameField(gbPart, "edPartFile", "Parts file name");
    btnPartDelAll = smallButton(gbPart, "btnPartDelAll", "X", "Delete all parts");
    btnPartAdd = smallButton(gbPart, "btnPartAdd", "+", "Add one part");
    btnPartDel = smallButton(gbPart, "btnPartDel", "-", "delete current part");
    sgPart = named(new GridView(gbPart), "sgPart");
    Label9 = named(new QLabel(translate("Lang："), gbPart), "Label9");
    cmbLang = named(new QComboBox(gbPart), "cmbLang");
    cmbLang->setEnabled(false);
    Label8 = named(new QLabel(translate("Qty:"), gbPart), "Label8");
    btnPartTimes = smallButton(gbPart, "btnPartTimes", "X", "Qty of multiples");
    edTimes = settingField(gbPart, "edTimes", "2");
    edTimes->setFixedWidth(40);
    auto* partsLayout = new QVBoxLayout(gbPart);
    partsLayout->setContentsMargins(4, 4, 4, 4);
    partsLayout->addLayout(row({btnPartSave, btnPartOpen, edPartFile, btnPartDelAll, btnPartAdd, btnPartDel}));
    partsLayout->addWidget(sgPart, 1);
    partsLayout->addLayout(row({Label9, cmbLang, nullptr, Label8, btnPartTimes, edTimes}));

    // Stocks panel
    gbStock = named(new QGroupBox(translate("Stocks")), "gbStock");
    btnStockSave = fileButton(gbStock, "btnStockSave", "Save", "Save stocks");
    btnStockOpen = fileButton(gbStock, "btnStockOpen", "Open", "Open stocks");
    edStockFile = fileNameField(gbStock, "edStockFile", "Stocks file name");
    btnStockDelAll = smallButton(gbStock, "btnStockDelAll", "X", "Delete all stocks");
    btnStockAdd = smallButton(gbStock, "btnStockAdd", "+", "Add one stock");
    btnStockDel = smallButton(gbStock, "btnStockDel", "-", "Delete current stock");
    btnLeft = button(gbStock, "btnLeft", "Save Left", "Save the left stocks,used by next time.");
    btnImportLeft = button(gbStock, "btnImportLeft", "Imp Left", "Append import stocks");
    sgStock = named(new GridView(gbStock), "sgStock");
    sgStock->setFixedLineColor(Qt::black);
    auto* stocksLayout = new QVBoxLayout(gbStock);
    stocksLayout->setContentsMargins(4, 4, 4, 4);
    stocksLayout->addLayout(row(
        {btnStockSave, btnStockOpen, edStockFile, btnStockDelAll, btnStockAdd, btnStockDel, btnLeft, btnImportLeft}));
    stocksLayout->addWidget(sgStock, 1);

    // Settings column: the command buttons on top, the "Sets" box below.
    auto* settings = named(new QWidget, "pnlSets");
    settings->setFixedWidth(kSettingsWidth);
    btnCalc = button(settings, "btnCalc", "Calc");
    btnPrint = button(settings, "btnPrint", "Print");
    btnExit = button(settings, "btnExit", "Close");
    cbExport = button(settings, "cbExport", "Exp Layout");
    btnExportLeft = button(settings, "btnExportLeft", "Exp Left");
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    QPushButton* const order[] = {btnCalc, btnPrint, btnExit, cbExport, btnExportLeft};
    for (int i = 0; i < 5; ++i)
        buttons->addWidget(order[i], i / 2, i % 2);

    gbSets = named(new QGroupBox(translate("Sets"), settings), "gbSets");
    lbl1 = named(new QLabel(translate("<<fastest | best>>"), gbSets), "lbl1");
    lbl1->setTextFormat(Qt::PlainText);
    tbFast = named(new QSlider(Qt::Horizontal, gbSets), "tbFast");
    tbFast->setRange(1, 12);
    tbFast->setSingleStep(1);
    tbFast->setPageStep(1);
    tbFast->setValue(5);
    tbFast->setTickPosition(QSlider::TicksBelow);
    tbFast->setTickInterval(1);
    ckChange = checkBox(gbSets, "ckChange", "Change Optimization");
    ckCost = checkBox(gbSets, "ckCost", "Cost Optimization");
    ckExact = checkBox(gbSets, "ckExact", "Exact Search");
    ckExact->setChecked(true);
    ckExact->setToolTip(translate("Look for the plan with the fewest bars beside the genetic search, and tell how "
                                  "close the plan is to the best possible one"));
    edGap = settingField(gbSets, "edGap", "0");
    edMargin = settingField(gbSets, "edMargin", "0");
    edCircle = settingField(gbSets, "edCircle", "15");
    cbxFormat = dropDown(gbSets, "cbxFormat", {"999999", "99999.9", "9999.99", "999.999", "99.9999"}, 0);
    edUnit = settingField(gbSets, "edUnit", "mm");
    edTitle = settingField(gbSets, "edTitle", "Barvik pipe cuting project");
    auto* fields = new QFormLayout;
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setVerticalSpacing(2);
    fields->addRow(translate("Blade Width:"), edGap);
    fields->addRow(translate("Stub Length:"), edMargin);
    fields->addRow(translate("Rpt Use Len:"), edCircle);
    fields->addRow(translate("Qty Format:"), cbxFormat);
    fields->addRow(translate("Length Unit:"), edUnit);
    fields->addRow(translate("Title:"), edTitle);
    auto* setsLayout = new QVBoxLayout(gbSets);
    setsLayout->setContentsMargins(4, 2, 4, 4);
    setsLayout->setSpacing(2);
    setsLayout->addWidget(lbl1);
    setsLayout->addWidget(tbFast);
    setsLayout->addWidget(ckChange);
    setsLayout->addWidget(ckCost);
    setsLayout->addWidget(ckExact);
    setsLayout->addLayout(fields);
    auto* settingsLayout = new QVBoxLayout(settings);
    settingsLayout->setContentsMargins(0, 0, 0, 0);
    settingsLayout->setSpacing(2);
    settingsLayout->addLayout(buttons);
    settingsLayout->addWidget(gbSets, 1);

    auto* upperArea = named(new QWidget, "pnlTop");
    auto* upperLayout = new QHBoxLayout(upperArea);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(2);
    upperLayout->addWidget(gbStock, 1);
    upperLayout->addWidget(settings);

    // Layouts panel: progress, the Stop button and the two display lists above the layout table.
    gbLayout = named(new QGroupBox(translate("Cutting Layouts")), "gbLayout");
    pbCutting = named(new QProgressBar(gbLayout), "pbCutting");
    pbCutting->setRange(0, 100);
    pbCutting->setValue(0);
    pbCutting->setTextVisible(false);
    btnStop = button(gbLayout, "btnStop", "Stop", "Stop the calculation and show the best layouts found so far");
    btnStop->setEnabled(false);
    cbxDisplay = dropDown(gbLayout, "cbxDisplay", {"Label(Length) X Qty", "Length X Qty", "Label X Qty"}, 2);
    cbxPrint = dropDown(gbLayout, "cbxPrint",
                        {"Print All", "Print Cutting Layouts", "Print Stocks & Parts", "Print Layouts & Diagrams"}, 1);
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
    layoutsLayout->setContentsMargins(4, 4, 4, 4);
    layoutsLayout->addLayout(row({pbCutting, btnStop, cbxDisplay, cbxPrint}));
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

    splitterParts = named(new QSplitter(Qt::Horizontal, window), "splitterParts");
    splitterParts->setHandleWidth(kSplitterWidth);
    splitterParts->setChildrenCollapsible(false);
    splitterParts->addWidget(gbPart);
    splitterParts->addWidget(splitterLayouts);
    splitterParts->setStretchFactor(0, 0);
    splitterParts->setStretchFactor(1, 1);
    splitterParts->setSizes({kPartsPanelWidth, 1024 - kPartsPanelWidth});
    window->setCentralWidget(splitterParts);

    // Menus
    mMain = named(window->menuBar(), "mMain");
    F1 = named(mMain->addMenu(translate("File(&F)")), "F1");
    O1 = named(F1->addAction(translate("Open Project(&O)...")), "O1");
    S1 = named(F1->addAction(translate("Save Project(&S)...")), "S1");
    F1->addSeparator();
    P1 = named(F1->addAction(translate("Print(&P)...")), "P1");
    P1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnPreview = named(F1->addAction(translate("Preview(&V)...")), "mnPreview");
    R1 = named(F1->addAction(translate("Print Sets(&R)...")), "R1");
    F1->addSeparator();
    N5 = named(F1->addAction(translate("Export Layouts(&E)...")), "N5");
    F1->addSeparator();
    X1 = named(F1->addAction(translate("Exit(&X)")), "X1");
    H1 = named(mMain->addMenu(translate("Help(&H)")), "H1");
    H2 = named(H1->addAction(translate("Content(&C)...")), "H2");
    H1->addSeparator();
    A1 = named(H1->addAction(translate("About(&A)...")), "A1");
}

} // namespace mainwindow::widgets
