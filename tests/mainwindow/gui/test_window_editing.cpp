// The main window as the user meets it: its defaults, editing in the parts and stocks grids through real key
// and mouse events, and the painting of the grids.

#include "window_fixture.h"

#include "calculation/grids.h"
#include "localization/translate.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>

using calculation::GridModel;

namespace {

constexpr int kTotals = GridModel::kTotalsRow;
constexpr int kFirst = GridModel::kFirstDataRow;

// The colour drawn inside a cell, away from its text and grid lines.
QColor cellColour(mainwindow::widgets::GridView* view, int row, int column)
{
    const QRect cell = view->visualRect(view->model()->index(row, column));
    const QImage image = view->viewport()->grab().toImage();
    return image.pixelColor(cell.right() - 3, cell.bottom() - 3);
}

// The colour of a cell of the fixed rows, which the column header draws.
QColor fixedCellColour(mainwindow::widgets::GridView* view, int row, int column)
{
    QHeaderView* header = view->horizontalHeader();
    const int right = header->sectionViewportPosition(column) + header->sectionSize(column) - 3;
    const int bottom = (row + 1) * mainwindow::widgets::GridView::kRowHeight - 3;
    return header->viewport()->grab().toImage().pixelColor(right, bottom);
}

} // namespace

class TestWindowEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m.open()); }
    void cleanup() { m.window.reset(); }

    void freshWindowShowsItsDefaults();
    void menusAndLaterCommands();
    void deleteRowButtonsRemoveTheLastDataRowAndAddBringsOneBack();
    void deleteAllAndMultiplier();
    void typedTextFollowsTheColumnRule_data();
    void typedTextFollowsTheColumnRule();
    void enterMovesThroughTheCellsAddingRows_data();
    void enterMovesThroughTheCellsAddingRows();
    void enterInAnOpenEditorCommitsAndMoves();
    void priorityIsChosenFromYesAndNo();
    void ctrlVPastesClipboardRows_data();
    void ctrlVPastesClipboardRows();
    void ctrlVInsideAnEditorPastesRowsIntoTheGrid();
    void leftQtyCanNotBeSelectedOrEdited();
    void totalsRowsAndLeftQtyArePainted();
    void leftLenIsColouredByWhatIsLeft_data();
    void leftLenIsColouredByWhatIsLeft();
    void cuttingLayoutRowsGrowWithTheirText();

private:
    WindowFixture m;
};

void TestWindowEditing::freshWindowShowsItsDefaults()
{
    QCOMPARE(m.window->windowTitle(), QStringLiteral("untitled[*] - Barvik pipe cutting system"));
    QVERIFY(!m.window->isWindowModified());
    QCOMPARE(m.window->size(), QSize(1024, 768));

    struct Expected {
        const char* name;
        int columns;
        QStringList header;
    };
    const Expected grids[] = {
        {"sgPart", 3, {"Label", "Length", "Qty"}},
        {"sgStock", 6, {"Label", "Length", "Qty", "Cost", "Priority", "Left Qty"}},
        {"sgLayout", 7, {"No.", "Label", "Length", "Qty", "Left Len", "Cutting Layout", "Left Lable"}},
    };
    for (const Expected& expected : grids) {
        const GridModel* grid = m.grid(expected.name);
        QCOMPARE(grid->rows(), 3);
        QCOMPARE(grid->columns(), expected.columns);
        QCOMPARE(grid->cell(0, kTotals), QStringLiteral("Total"));
        for (int column = 1; column < expected.columns; ++column)
            QVERIFY2(grid->cell(column, kTotals).isEmpty(), expected.name);
        for (int column = 0; column < expected.columns; ++column) {
            QCOMPARE(grid->cell(column, GridModel::kHeaderRow), expected.header[column]);
            QVERIFY(grid->cell(column, kFirst).isEmpty());
        }
    }
    // At least 310 pixels, and the width the other columns leave.
    QVERIFY(m.view("sgLayout")->columnWidth(5) >= 310);

    QCOMPARE(m.find<QLineEdit>("edTimes")->text(), QStringLiteral("2"));
    QCOMPARE(m.find<QSlider>("tbFast")->value(), 5);
    QCOMPARE(m.find<QSlider>("tbFast")->minimum(), 1);
    QCOMPARE(m.find<QSlider>("tbFast")->maximum(), 12);
    QVERIFY(!m.find<QCheckBox>("ckChange")->isChecked());
    QVERIFY(!m.find<QCheckBox>("ckCost")->isChecked());
    QCOMPARE(m.find<QLineEdit>("edGap")->text(), QStringLiteral("0"));
    QCOMPARE(m.find<QLineEdit>("edMargin")->text(), QStringLiteral("0"));
    QCOMPARE(m.find<QLineEdit>("edCircle")->text(), QStringLiteral("15"));
    QCOMPARE(m.find<QComboBox>("cbxFormat")->currentText(), QStringLiteral("999999"));
    QCOMPARE(m.find<QLineEdit>("edUnit")->text(), QStringLiteral("mm"));
    QCOMPARE(m.find<QLineEdit>("edTitle")->text(), QStringLiteral("Barvik pipe cuting project"));
    QCOMPARE(m.find<QComboBox>("cbxDisplay")->currentText(), QStringLiteral("Label X Qty"));
    QCOMPARE(m.find<QComboBox>("cbxPrint")->currentText(), QStringLiteral("Print Cutting Layouts"));
    QVERIFY(m.find<mainwindow::widgets::FileNameField>("edPartFile")->path().isEmpty());
    QVERIFY(m.find<QLineEdit>("edPartFile")->isReadOnly());
    QVERIFY(m.find<QLineEdit>("edStockFile")->isReadOnly());
    QCOMPARE(m.find<QProgressBar>("pbCutting")->value(), 0);
    QVERIFY(m.find<QPushButton>("btnCalc")->isEnabled());
    QVERIFY(!m.find<QPushButton>("btnStop")->isEnabled());
}

void TestWindowEditing::menusAndLaterCommands()
{
    // The menus in order, separators as empty names, submenus by their names.
    auto items = [this](const char* menu) {
        QStringList names;
        for (const QAction* action : m.find<QMenu>(menu)->actions())
            names.append(action->isSeparator() ? QString()
                         : action->menu()      ? action->menu()->objectName()
                                               : action->objectName());
        return names;
    };
    QCOMPARE(items("F1"), QStringList({"mnNew", "O1", "mnRecent", "", "S1", "mnSaveAs", "", "P1", "mnPreview", "R1", "",
                                       "N5", "", "X1"}));
    QCOMPARE(items("mnEdit"),
             QStringList({"mnUndo", "mnRedo", "", "mnCut", "mnCopy", "mnPaste", "mnDeleteRows", "", "mnSelectAll"}));
    QCOMPARE(items("H1"), QStringList({"H2", "", "A1"}));
    // The desktop's keys, shown in the menus.
    const std::pair<const char*, QKeySequence> keys[] = {{"mnNew", QKeySequence::New},
                                                         {"O1", QKeySequence::Open},
                                                         {"S1", QKeySequence::Save},
                                                         {"P1", Qt::CTRL | Qt::Key_P},
                                                         {"mnSaveAs", Qt::CTRL | Qt::SHIFT | Qt::Key_S},
                                                         {"mnUndo", QKeySequence::Undo},
                                                         {"mnRedo", Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
                                                         {"H2", QKeySequence::HelpContents}};
    for (const auto& [name, key] : keys)
        QVERIFY2(m.find<QAction>(name)->shortcuts().contains(key), name);
    QVERIFY(m.find<QAction>("mnRedo")->shortcuts().contains(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(m.find<QPushButton>("btnCalc")->shortcut(), QKeySequence(Qt::Key_F9));
    QCOMPARE(m.find<QPushButton>("btnStop")->shortcut(), QKeySequence(Qt::Key_Escape));

    QVERIFY(m.find<QComboBox>("cmbLang")->isEnabled());
    QVERIFY(m.find<QAction>("H2")->isEnabled());
    for (const char* name : {"btnPrint", "btnLeft", "btnImportLeft", "btnExportLeft"})
        QVERIFY2(m.find<QPushButton>(name)->isEnabled(), name);
    for (const char* name : {"O1", "S1", "P1", "mnPreview", "R1", "N5", "X1", "A1"})
        QVERIFY2(m.find<QAction>(name)->isEnabled(), name);
}

void TestWindowEditing::deleteRowButtonsRemoveTheLastDataRowAndAddBringsOneBack()
{
    GridModel* parts = m.grid("sgPart");
    WindowFixture::fill(*parts, {{"A", "100", "2"}});
    parts->setCell(1, kTotals, QStringLiteral("200"));
    parts->setCell(2, kTotals, QStringLiteral("2"));
    m.focusCell("sgPart", kFirst, 0);

    QTest::mouseClick(m.find<QPushButton>("btnPartDel"), Qt::LeftButton);
    QCOMPARE(parts->rows(), 2);
    QCOMPARE(parts->cell(1, kTotals), QString());
    QTest::mouseClick(m.find<QPushButton>("btnPartDel"), Qt::LeftButton);
    QCOMPARE(parts->rows(), 2);
    QTest::mouseClick(m.find<QPushButton>("btnPartAdd"), Qt::LeftButton);
    QCOMPARE(parts->rows(), 3);
    QVERIFY(!m.view("sgPart")->isRowHidden(kFirst));

    // A stock row added with "+" starts as a priority stock; the middle one of three is the current row.
    GridModel* stocks = m.grid("sgStock");
    QTest::mouseClick(m.find<QPushButton>("btnStockAdd"), Qt::LeftButton);
    QCOMPARE(stocks->rows(), 4);
    QCOMPARE(stocks->cell(4, 3), localization::translate("Yes"));
    WindowFixture::fill(*stocks, {{"S1"}, {"S2"}, {"S3"}});
    m.focusCell("sgStock", kFirst + 1, 0);
    QTest::mouseClick(m.find<QPushButton>("btnStockDel"), Qt::LeftButton);
    QCOMPARE(stocks->rows(), 4);
    QCOMPARE(stocks->cell(0, kFirst), QStringLiteral("S1"));
    QCOMPARE(stocks->cell(0, kFirst + 1), QStringLiteral("S3"));

    // With several rows selected, "-" removes them all, and Delete empties the selected cells.
    WindowFixture::fill(*stocks, {{"S1", "1"}, {"S2", "2"}, {"S3", "3"}, {"S4", "4"}});
    m.focusCell("sgStock", kFirst, 0);
    m.view("sgStock")->selectionModel()->select(QItemSelection(stocks->index(kFirst, 0), stocks->index(kFirst + 1, 1)),
                                                QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(m.view("sgStock"), Qt::Key_Delete);
    QCOMPARE(stocks->cell(1, kFirst + 1), QString());
    QCOMPARE(stocks->cell(1, kFirst + 2), QStringLiteral("3"));
    QTest::mouseClick(m.find<QPushButton>("btnStockDel"), Qt::LeftButton);
    QCOMPARE(stocks->rows(), kFirst + 2);
    QCOMPARE(stocks->cell(0, kFirst), QStringLiteral("S3"));
}

void TestWindowEditing::deleteAllAndMultiplier()
{
    GridModel* parts = m.grid("sgPart");
    WindowFixture::fill(*parts, {{"A", "100", "2"}, {"B", "50", ""}, {"C", "10", "5"}});
    parts->setCell(1, kTotals, QStringLiteral("250"));
    parts->setCell(2, kTotals, QStringLiteral("7"));
    m.find<QLineEdit>("edTimes")->setText(QStringLiteral("3"));
    QTest::mouseClick(m.find<QPushButton>("btnPartTimes"), Qt::LeftButton);
    QCOMPARE(parts->columnText(2), QStringLiteral("21\nQty\n6\n\n15\n"));
    QCOMPARE(parts->cell(1, kTotals), QStringLiteral("750"));

    QTest::mouseClick(m.find<QPushButton>("btnPartDelAll"), Qt::LeftButton);
    QCOMPARE(parts->rows(), 3);
    QCOMPARE(parts->columnText(2), QStringLiteral("\nQty\n\n"));
    GridModel* stocks = m.grid("sgStock");
    WindowFixture::fill(*stocks, {{"S", "6000", "2", "5", "Yes"}, {"T", "5000", "1", "4", "No"}});
    QTest::mouseClick(m.find<QPushButton>("btnStockDelAll"), Qt::LeftButton);
    QCOMPARE(stocks->rows(), 3);
    QVERIFY(stocks->cell(0, kFirst).isEmpty());
}

void TestWindowEditing::typedTextFollowsTheColumnRule_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    QTest::newRow("stock length 12.5") << "sgStock" << 1 << "12.5"
                                       << "";
    QTest::newRow("part length 12.5") << "sgPart" << 1 << "12.5"
                                      << "12.5";
    QTest::newRow("part quantity 2a") << "sgPart" << 2 << "2a"
                                      << "";
    QTest::newRow("part quantity 24") << "sgPart" << 2 << "24"
                                      << "24";
    QTest::newRow("stock cost -") << "sgStock" << 3 << "-"
                                  << "";
    QTest::newRow("stock cost -4") << "sgStock" << 3 << "-4"
                                   << "-4";
    QTest::newRow("stock label") << "sgStock" << 0 << "Bar 1.5"
                                 << "Bar 1.5";
}

void TestWindowEditing::typedTextFollowsTheColumnRule()
{
    QFETCH(QString, grid);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    const QByteArray name = grid.toLatin1();
    GridModel* model = m.grid(name.constData());

    // The first key opens the editor on the cell, the others go to the editor.
    m.focusCell(name.constData(), kFirst, column);
    QTest::keyClick(m.view(name.constData()), typed.at(0).toLatin1());
    QWidget* editor = m.editor(name.constData());
    QVERIFY(editor);
    QTest::keyClicks(editor, typed.mid(1));
    // The cell follows each key at once, before the editor closes.
    QCOMPARE(model->cell(column, kFirst), kept);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(model->cell(column, kFirst), kept);
}

void TestWindowEditing::enterMovesThroughTheCellsAddingRows_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("nextRow");
    QTest::addColumn<int>("nextColumn");
    QTest::addColumn<int>("rowsAfter");

    QTest::newRow("parts label to length") << "sgPart" << 3 << 2 << 0 << 2 << 1 << 3;
    QTest::newRow("parts quantity, last row") << "sgPart" << 3 << 2 << 2 << 3 << 0 << 4;
    QTest::newRow("parts quantity, inner row") << "sgPart" << 5 << 2 << 2 << 3 << 0 << 5;
    QTest::newRow("stocks cost to priority") << "sgStock" << 3 << 2 << 3 << 2 << 4 << 3;
    QTest::newRow("stocks priority, last row") << "sgStock" << 4 << 3 << 4 << 4 << 0 << 5;
}

void TestWindowEditing::enterMovesThroughTheCellsAddingRows()
{
    QFETCH(QString, grid);
    QFETCH(int, rowCount);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, nextRow);
    QFETCH(int, nextColumn);
    QFETCH(int, rowsAfter);
    const QByteArray name = grid.toLatin1();
    GridModel* model = m.grid(name.constData());
    model->setRows(rowCount);

    m.focusCell(name.constData(), row, column);
    QTest::keyClick(m.view(name.constData()), Qt::Key_Return);
    QCOMPARE(model->rows(), rowsAfter);
    QCOMPARE(m.view(name.constData())->currentIndex(), model->index(nextRow, nextColumn));
    QVERIFY(!m.editor(name.constData()));
    // A row added by Enter is empty, even in the stocks grid.
    if (rowsAfter > rowCount)
        for (int c = 0; c < model->columns(); ++c)
            QVERIFY(model->cell(c, rowsAfter - 1).isEmpty());
}

void TestWindowEditing::enterInAnOpenEditorCommitsAndMoves()
{
    GridModel* parts = m.grid("sgPart");
    m.focusCell("sgPart", kFirst, 0);
    QTest::keyClick(m.view("sgPart"), 'P');
    auto* line = qobject_cast<QLineEdit*>(m.editor("sgPart"));
    QVERIFY(line);
    QSignalSpy reachedEditor(line, &QLineEdit::returnPressed);
    QTest::keyClicks(line, QStringLiteral("ipe"));
    QTest::keyClick(line, Qt::Key_Enter);
    QCOMPARE(reachedEditor.count(), 0);
    QCOMPARE(parts->cell(0, kFirst), QStringLiteral("Pipe"));
    QCOMPARE(m.view("sgPart")->currentIndex(), parts->index(kFirst, 1));

    // Length, quantity and on to a new row: a whole part typed with Enter only.
    QTest::keyClick(m.view("sgPart"), '1');
    QTest::keyClicks(m.editor("sgPart"), QStringLiteral("200"));
    QTest::keyClick(m.editor("sgPart"), Qt::Key_Return);
    QTest::keyClick(m.view("sgPart"), '4');
    QTest::keyClick(m.editor("sgPart"), Qt::Key_Return);
    QCOMPARE(parts->cell(1, kFirst), QStringLiteral("1200"));
    QCOMPARE(parts->cell(2, kFirst), QStringLiteral("4"));
    QCOMPARE(parts->rows(), 4);
    QCOMPARE(m.view("sgPart")->currentIndex(), parts->index(kFirst + 1, 0));
    // Esc is Stop's key only while a search runs: here it closes the editor.
    QTest::keyClick(m.view("sgPart"), 'Q');
    QVERIFY(m.editor("sgPart"));
    QTest::keyClick(m.editor("sgPart"), Qt::Key_Escape);
    QVERIFY(!m.editor("sgPart"));
}

void TestWindowEditing::priorityIsChosenFromYesAndNo()
{
    GridModel* stocks = m.grid("sgStock");
    m.focusCell("sgStock", kFirst, 4);
    QTest::keyClick(m.view("sgStock"), Qt::Key_F2);
    auto* list = qobject_cast<QComboBox*>(m.editor("sgStock"));
    QVERIFY(list);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), localization::translate("Yes"));
    QCOMPARE(list->itemText(1), localization::translate("No"));
    QCOMPARE(list->currentIndex(), 0);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(stocks->cell(4, kFirst), localization::translate("No"));
    QCOMPARE(m.view("sgStock")->currentIndex(), stocks->index(kFirst + 1, 0));
}

void TestWindowEditing::ctrlVPastesClipboardRows_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("row2");
    QTest::addColumn<QStringList>("row3");
    QTest::addColumn<int>("rowsAfter");

    const QString twoLines = QStringLiteral("A\t1200\t2\r\nB\t800\t3\r\n");
    QTest::newRow("parts, two lines") << "sgPart" << twoLines << int(Qt::ControlModifier)
                                      << QStringList{"A", "1200", "2"} << QStringList{"B", "800", "3"} << 5;
    QTest::newRow("stocks get cost 0 and Yes")
        << "sgStock" << twoLines << int(Qt::ControlModifier | Qt::ShiftModifier)
        << QStringList{"A", "1200", "2", "0", "Yes", ""} << QStringList{"B", "800", "3", "0", "Yes", ""} << 5;
    QTest::newRow("a single line does nothing") << "sgPart" << QStringLiteral("A\t1200\t2") << int(Qt::ControlModifier)
                                                << QStringList{"", "", ""} << QStringList{"", "", ""} << 3;
    QTest::newRow("bad numbers are skipped")
        << "sgPart" << QStringLiteral("C\t12.5\t4\nD\t\t7\n") << int(Qt::ControlModifier) << QStringList{"C", "", "4"}
        << QStringList{"D", "7", ""} << 5;
}

void TestWindowEditing::ctrlVPastesClipboardRows()
{
    QFETCH(QString, grid);
    QFETCH(QString, clipboard);
    QFETCH(int, modifiers);
    QFETCH(QStringList, row2);
    QFETCH(QStringList, row3);
    QFETCH(int, rowsAfter);
    const QByteArray name = grid.toLatin1();
    GridModel* model = m.grid(name.constData());

    QGuiApplication::clipboard()->setText(clipboard);
    m.focusCell(name.constData(), kFirst, 0);
    QTest::keyClick(m.view(name.constData()), Qt::Key_V, Qt::KeyboardModifiers(modifiers));
    QVERIFY(!m.editor(name.constData()));
    QCOMPARE(model->rows(), rowsAfter);
    for (int column = 0; column < row2.size(); ++column) {
        QCOMPARE(model->cell(column, kFirst), row2[column]);
        QCOMPARE(model->cell(column, kFirst + 1), row3[column]);
    }
    if (rowsAfter > 3)
        QVERIFY(model->cell(0, rowsAfter - 1).isEmpty());
}

void TestWindowEditing::ctrlVInsideAnEditorPastesRowsIntoTheGrid()
{
    // Rows copied from a spreadsheet go into rows, never into one cell; what was typed stays.
    GridModel* parts = m.grid("sgPart");
    QGuiApplication::clipboard()->setText(QStringLiteral("A\t1\t2\nB\t3\t4"));
    m.focusCell("sgPart", kFirst, 0);
    QTest::keyClick(m.view("sgPart"), 'x');
    QTest::keyClick(m.editor("sgPart"), Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!m.editor("sgPart"));
    QCOMPARE(parts->columnText(0), QStringLiteral("Total\nLabel\nx\nA\nB\n\n"));
    // One line with TABs is refused, with a note.
    QGuiApplication::clipboard()->setText(QStringLiteral("C\t5"));
    m.focusCell("sgPart", kFirst + 3, 0);
    QTest::keyClick(m.view("sgPart"), 'y');
    QTest::keyClick(m.editor("sgPart"), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(m.editor("sgPart"), Qt::Key_Return);
    QCOMPARE(parts->cell(0, kFirst + 3), QStringLiteral("y"));
}

void TestWindowEditing::leftQtyCanNotBeSelectedOrEdited()
{
    mainwindow::widgets::GridView* view = m.view("sgStock");
    GridModel* stocks = m.grid("sgStock");
    stocks->setCell(5, kFirst, QStringLiteral("7"));
    m.focusCell("sgStock", kFirst, 4);
    const QPoint leftQty = view->visualRect(stocks->index(kFirst, 5)).center();

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, leftQty);
    QCOMPARE(view->currentIndex(), stocks->index(kFirst, 4));
    QVERIFY(!view->selectionModel()->isSelected(stocks->index(kFirst, 5)));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, leftQty);
    QVERIFY(!m.editor("sgStock"));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(view->currentIndex(), stocks->index(kFirst, 4));
    QCOMPARE(stocks->cell(5, kFirst), QStringLiteral("7"));
    // Tab steps over it to the next row, and back.
    stocks->setRows(4);
    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(view->currentIndex(), stocks->index(kFirst + 1, 0));
    QTest::keyClick(view, Qt::Key_Backtab);
    QCOMPARE(view->currentIndex(), stocks->index(kFirst, 4));

    // The totals and header rows never become current either: Up from the first data row stays.
    m.focusCell("sgStock", kFirst, 0);
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(view->currentIndex(), stocks->index(kFirst, 0));
}

void TestWindowEditing::totalsRowsAndLeftQtyArePainted()
{
    const QColor grey(240, 240, 240);
    m.grid("sgPart")->setCell(1, kTotals, QStringLiteral("1"));
    QCOMPARE(fixedCellColour(m.view("sgPart"), kTotals, 1), grey);
    QCOMPARE(fixedCellColour(m.view("sgLayout"), kTotals, 3), grey);
    // The stocks' totals row is the toolkit's; its "Left Qty" column has the button face in every row.
    const QColor buttonFace = m.view("sgStock")->palette().color(QPalette::Button);
    QCOMPARE(fixedCellColour(m.view("sgStock"), kTotals, 1), buttonFace);
    QCOMPARE(cellColour(m.view("sgStock"), kFirst, 5), buttonFace);
    QCOMPARE(cellColour(m.view("sgStock"), kFirst, 1), m.view("sgStock")->palette().color(QPalette::Base));
}

void TestWindowEditing::leftLenIsColouredByWhatIsLeft_data()
{
    QTest::addColumn<QString>("leftLen");
    QTest::addColumn<QString>("reuse");
    QTest::addColumn<QColor>("colour");

    const QColor cream(255, 251, 240);
    const QColor grey(240, 240, 240);
    const QColor green(192, 220, 192);
    QTest::newRow("nothing left") << "0"
                                  << "15" << cream;
    QTest::newRow("waste") << "14.9"
                           << "15" << grey;
    QTest::newRow("remnant at the reuse length") << "15.00"
                                                 << "15" << green;
    QTest::newRow("empty cell") << ""
                                << "15" << grey;
}

void TestWindowEditing::leftLenIsColouredByWhatIsLeft()
{
    QFETCH(QString, leftLen);
    QFETCH(QString, reuse);
    QFETCH(QColor, colour);
    GridModel* layout = m.grid("sgLayout");
    WindowFixture::fill(*layout, {{"1", "S", "6000", "1", leftLen, "A x 2", ""}});
    m.find<QLineEdit>("edCircle")->setText(reuse);
    m.view("sgLayout")->clearSelection();
    m.view("sgLayout")->setCurrentIndex({});
    QCOMPARE(cellColour(m.view("sgLayout"), kFirst, 4), colour);
}

void TestWindowEditing::cuttingLayoutRowsGrowWithTheirText()
{
    using mainwindow::widgets::GridView;
    GridView* view = m.view("sgLayout");
    GridModel* layout = m.grid("sgLayout");
    const QString longText = QStringLiteral("Post-A x 2 Post-B x 2 Gusset x 2 Rail-top Rail-mid x 3 Spacer x 4 Foot");
    WindowFixture::fill(*layout,
                        {{"1", "S", "6000", "1", "0", "A x 2", ""}, {"2", "S", "6000", "1", "0", longText, ""}});
    QTRY_COMPARE(view->rowHeight(kFirst), GridView::kMinTextRowHeight);
    const int lineHeight = view->fontMetrics().height();
    QTRY_VERIFY(view->rowHeight(kFirst + 1) >= 2 * lineHeight);

    // A narrower column wraps into more lines.
    const int wide = view->rowHeight(kFirst + 1);
    view->setColumnWidth(5, 120);
    QTRY_VERIFY(view->rowHeight(kFirst + 1) > wide);
    QCOMPARE(view->rowHeight(kFirst), GridView::kMinTextRowHeight);
}

QTEST_MAIN(TestWindowEditing)

#include "test_window_editing.moc"
