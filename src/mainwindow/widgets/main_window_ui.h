#pragma once

#include "file_name_field.h"
#include "grid_view.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QSlider;
class QSplitter;
class QWidget;

namespace diagrams {
class DiagramView;
}

namespace mainwindow::widgets {

// The controls of the main window, built the way a form designer would: each under its own name, which is
// also its object name. The window owns them through the widget tree.
struct MainWindowUi {
    // Parts panel
    QGroupBox* gbPart = nullptr;
    QPushButton* btnPartSave = nullptr;
    QPushButton* btnPartOpen = nullptr;
    FileNameField* edPartFile = nullptr;
    QPushButton* btnPartDelAll = nullptr;
    QPushButton* btnPartAdd = nullptr;
    QPushButton* btnPartDel = nullptr;
    GridView* sgPart = nullptr;
    QLabel* Label9 = nullptr;
    QComboBox* cmbLang = nullptr;
    QLabel* Label8 = nullptr;
    QPushButton* btnPartTimes = nullptr;
    QLineEdit* edTimes = nullptr;

    // Stocks panel
    QGroupBox* gbStock = nullptr;
    QPushButton* btnStockSave = nullptr;
    QPushButton* btnStockOpen = nullptr;
    FileNameField* edStockFile = nullptr;
    QPushButton* btnStockDelAll = nullptr;
    QPushButton* btnStockAdd = nullptr;
    QPushButton* btnStockDel = nullptr;
    QPushButton* btnLeft = nullptr;
    QPushButton* btnImportLeft = nullptr;
    GridView* sgStock = nullptr;

    // Settings column
    QPushButton* btnCalc = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnExit = nullptr;
    QPushButton* cbExport = nullptr;
    QPushButton* btnExportLeft = nullptr;
    QGroupBox* gbSets = nullptr;
    QLabel* lbl1 = nullptr;
    QLabel* lbQuality = nullptr;
    QSlider* tbFast = nullptr;
    // The quality level beside the slider, "5 / 12"
    QLabel* lbLevel = nullptr;
    QCheckBox* ckChange = nullptr;
    QCheckBox* ckCost = nullptr;
    QCheckBox* ckExact = nullptr;
    QLineEdit* edGap = nullptr;
    QLineEdit* edMargin = nullptr;
    QLineEdit* edCircle = nullptr;
    QComboBox* cbxFormat = nullptr;
    QLineEdit* edUnit = nullptr;
    QLineEdit* edTitle = nullptr;
    // The captions of the fields above
    QLabel* lbGap = nullptr;
    QLabel* lbMargin = nullptr;
    QLabel* lbCircle = nullptr;
    QLabel* lbFormat = nullptr;
    QLabel* lbUnit = nullptr;
    QLabel* lbTitle = nullptr;

    // Layouts panel
    QGroupBox* gbLayout = nullptr;
    QProgressBar* pbCutting = nullptr;
    QPushButton* btnStop = nullptr;
    QComboBox* cbxDisplay = nullptr;
    QComboBox* cbxPrint = nullptr;
    // Above the table while its plan is older than the lists and settings
    QLabel* lbStale = nullptr;
    GridView* sgLayout = nullptr;
    // The cutting diagrams under the table, in a pane the user can resize or close
    diagrams::DiagramView* dvLayout = nullptr;
    QSplitter* splitterDiagrams = nullptr;

    // Splitters: between the parts panel and the rest, and under the upper right area
    QSplitter* splitterParts = nullptr;
    QSplitter* splitterLayouts = nullptr;

    // Menus
    QMenuBar* mMain = nullptr;
    QMenu* F1 = nullptr;
    QAction* mnNew = nullptr;
    QAction* O1 = nullptr;
    QMenu* mnRecent = nullptr;
    QAction* S1 = nullptr;
    QAction* mnSaveAs = nullptr;
    QAction* P1 = nullptr;
    QAction* mnPreview = nullptr;
    QAction* R1 = nullptr;
    QAction* N5 = nullptr;
    QAction* X1 = nullptr;
    QMenu* mnEdit = nullptr;
    QAction* mnUndo = nullptr;
    QAction* mnRedo = nullptr;
    QAction* mnCut = nullptr;
    QAction* mnCopy = nullptr;
    QAction* mnPaste = nullptr;
    QAction* mnDeleteRows = nullptr;
    QAction* mnSelectAll = nullptr;
    QMenu* H1 = nullptr;
    QAction* H2 = nullptr;
    QAction* A1 = nullptr;

    // Creates every control with its default and lays out the regions; the texts come from retranslateUi().
    void setupUi(QMainWindow* window);
    // Writes every caption, hint, menu item and list item from its English text in the current language. Selected items
    // stay selected; what the user typed stays.
    void retranslateUi(QMainWindow* window);
};

} // namespace mainwindow::widgets
