// The main window's commands driven through its buttons and menus with scripted dialogs: the calculation
// with its progress and Stop button, the cost check, list files, layout export, printing and ending the
// program.

#include "window_fixture.h"

#include "support/scripted_print_dialogs.h"

#include "diagrams/widgets/diagram_view.h"
#include "lists/list_files.h"
#include "lists/text_file.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

using calculation::GridModel;
using calculation::MessageIcon;

namespace {

constexpr int kTotals = GridModel::kTotalsRow;
constexpr int kFirst = GridModel::kFirstDataRow;
constexpr int kRunTimeout = 120000;

QStringList fileLines(const QString& path)
{
    QStringList lines;
    const lists::FileResult read = lists::readTextLines(path, lines);
    return read.ok ? lines : QStringList{QStringLiteral("<unreadable>")};
}

} // namespace

class TestWindowCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m.open());
        QVERIFY(m_dir.isValid());
    }
    void cleanup() { m.window.reset(); }

    void calcShowsTheLayoutsOfASmallJob();
    void calcReportsABadFirstRow();
    void stopEndsALongSearchWithTheBestLayoutSoFar();
    void closingDuringASearchStopsIt();
    void editingIsRefusedWhileASearchRuns();
    void costOptionIsCheckedWhenTicked_data();
    void costOptionIsCheckedWhenTicked();
    void saveButtonsWriteTheLists();
    void openButtonsReadByTheChosenFileType_data();
    void openButtonsReadByTheChosenFileType();
    void cancelledOrFailedOpenKeepsTheGrid();
    void openTellsWhatTextWasNotUsed();
    void exportWritesTheLayoutTable();
    void printCommandsOpenThePreview();
    void diagramsFollowTheLayoutTable();
    void aboutOpensModally();
    void closeAndExitEndTheProgram();

private:
    // A job that the search solves in a moment, or one that keeps it busy for many seconds.
    void fillSmallJob();
    void fillLongJob();
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    WindowFixture m;
    ScriptedPrintDialogs m_print;
    QTemporaryDir m_dir;
};

void TestWindowCommands::fillSmallJob()
{
    WindowFixture::fill(*m.grid("sgPart"), {{"A", "1200", "3"}, {"B", "800", "4"}, {"C", "450", "5"}});
    WindowFixture::fill(*m.grid("sgStock"), {{"S6", "6000", "3", "10", "Yes"}, {"S4", "4000", "2", "7", "No"}});
}

void TestWindowCommands::fillLongJob()
{
    GridModel* parts = m.grid("sgPart");
    constexpr int kinds = 1000;
    parts->setRows(kFirst + kinds);
    for (int i = 0; i < kinds; ++i) {
        parts->setCell(0, kFirst + i, QStringLiteral("P%1").arg(i));
        parts->setCell(1, kFirst + i, QString::number(150 + (i * 7919) % 2750));
        parts->setCell(2, kFirst + i, QString::number(1 + (i * 31) % 50));
    }
    WindowFixture::fill(*m.grid("sgStock"), {{"S6", "6000", "90000", "0", "Yes"}, {"S5", "5000", "90000", "0", "Yes"}});
    m.find<QSlider>("tbFast")->setValue(12);
    m.find<QLineEdit>("edGap")->setText(QStringLiteral("3"));
}

void TestWindowCommands::calcShowsTheLayoutsOfASmallJob()
{
    fillSmallJob();
    auto* calc = m.find<QPushButton>("btnCalc");
    QSignalSpy finished(m.window.get(), &mainwindow::TfrmMain::calculationFinished);
    QTest::mouseClick(calc, Qt::LeftButton);
    // The search runs on: no second run can start, and it can be stopped.
    QVERIFY(!calc->isEnabled());
    QVERIFY(m.find<QPushButton>("btnStop")->isEnabled());
    QVERIFY(finished.wait(kRunTimeout));
    QCOMPARE(finished.first().first().toBool(), true);

    QVERIFY(m.dialogs.messages.isEmpty());
    const GridModel* layout = m.grid("sgLayout");
    QVERIFY(layout->rows() > kFirst);
    QCOMPARE(layout->cell(0, kFirst), QStringLiteral("1"));
    QVERIFY(layout->cell(5, kTotals).contains(QStringLiteral("Ratio= ")));
    QCOMPARE(m.grid("sgPart")->cell(2, kTotals), QStringLiteral("12"));
    QVERIFY(!m.grid("sgStock")->cell(5, kFirst).isEmpty());
    const auto* progress = m.find<QProgressBar>("pbCutting");
    QCOMPARE(progress->maximum(), 100);
    QCOMPARE(progress->value(), progress->maximum());
    QVERIFY(calc->isEnabled());
    QVERIFY(!m.find<QPushButton>("btnStop")->isEnabled());

    // The exact search proves this small plan the best; without it no claim is made.
    const auto* quality = m.find<QLabel>("lbQuality");
    QCOMPARE(quality->text(), QStringLiteral("Optimal: no plan leaves less waste."));
    m.find<QCheckBox>("ckExact")->setChecked(false);
    QTest::mouseClick(calc, Qt::LeftButton);
    QVERIFY(finished.wait(kRunTimeout));
    QVERIFY(quality->text().isEmpty());
}

void TestWindowCommands::calcReportsABadFirstRow()
{
    QTest::mouseClick(m.find<QPushButton>("btnCalc"), Qt::LeftButton);
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("Parts is incorrect!"));
    QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Information);
    QVERIFY(m.view("sgPart")->hasFocus());

    WindowFixture::fill(*m.grid("sgPart"), {{"A", "100", "1"}});
    m.find<QLineEdit>("edGap")->setFocus();
    QTest::mouseClick(m.find<QPushButton>("btnCalc"), Qt::LeftButton);
    QCOMPARE(m.dialogs.messages.size(), 2);
    QCOMPARE(m.dialogs.messages[1].text, QStringLiteral("Stocks is incorrect!"));
    QVERIFY(m.view("sgStock")->hasFocus());
    QVERIFY(m.find<QPushButton>("btnCalc")->isEnabled());
    QVERIFY(!m.window->searchRunning());
}

void TestWindowCommands::stopEndsALongSearchWithTheBestLayoutSoFar()
{
    fillLongJob();
    auto* progress = m.find<QProgressBar>("pbCutting");
    QSignalSpy finished(m.window.get(), &mainwindow::TfrmMain::calculationFinished);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(m.find<QPushButton>("btnCalc"), Qt::LeftButton);
    // One step for the start, one per finished generation.
    QTRY_VERIFY_WITH_TIMEOUT(progress->value() >= 3, kRunTimeout);
    const qint64 untilStop = clock.elapsed();
    QVERIFY(m.window->searchRunning());
    QTest::mouseClick(m.find<QPushButton>("btnStop"), Qt::LeftButton);
    QVERIFY(!m.find<QPushButton>("btnStop")->isEnabled());
    QVERIFY(finished.wait(kRunTimeout));
    const qint64 afterStop = clock.elapsed() - untilStop;

    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(m.dialogs.messages.isEmpty());
    QVERIFY(m.grid("sgLayout")->rows() > kFirst + 1);
    QCOMPARE(m.grid("sgLayout")->cell(0, kFirst), QStringLiteral("1"));
    QCOMPARE(progress->value(), progress->maximum());
    QVERIFY(m.find<QPushButton>("btnCalc")->isEnabled());
    // The rest of the search would take far longer than the generation that was running.
    QVERIFY2(afterStop < 4 * untilStop + 2000, qPrintable(QStringLiteral("%1 ms after Stop").arg(afterStop)));
}

void TestWindowCommands::closingDuringASearchStopsIt()
{
    fillLongJob();
    QTest::mouseClick(m.find<QPushButton>("btnCalc"), Qt::LeftButton);
    QVERIFY(m.window->searchRunning());
    QVERIFY(m.window->close());
    QVERIFY(!m.window->searchRunning());
    QVERIFY(!m.window->isVisible());
    // Whatever the search still had queued arrives at a window that has let it go.
    QTest::qWait(50);
    QVERIFY(m.dialogs.messages.isEmpty());
}

void TestWindowCommands::editingIsRefusedWhileASearchRuns()
{
    fillLongJob();
    GridModel* parts = m.grid("sgPart");
    const int rows = parts->rows();
    const QString length = parts->cell(1, kFirst + 1);
    // A cell being typed into when Calc is pressed belongs to the job that is calculated.
    m.focusCell("sgPart", kFirst, 2);
    QTest::keyClick(m.view("sgPart"), '7');
    QVERIFY(m.editor("sgPart"));
    QSignalSpy finished(m.window.get(), &mainwindow::TfrmMain::calculationFinished);
    QMetaObject::invokeMethod(m.window.get(), &mainwindow::TfrmMain::btnCalcClick);
    QVERIFY(m.window->searchRunning());
    QCOMPARE(parts->cell(2, kFirst), QStringLiteral("7"));
    QVERIFY(!m.editor("sgPart"));

    // Typing into a cell, Enter, Ctrl+V, the row buttons and the settings: nothing reaches the job.
    QGuiApplication::clipboard()->setText(QStringLiteral("X\t100\t1\n"));
    m.focusCell("sgPart", kFirst + 1, 1);
    QTest::keyClick(m.view("sgPart"), '9');
    QVERIFY(!m.editor("sgPart"));
    QTest::keyClick(m.view("sgPart"), Qt::Key_Return);
    QTest::keyClick(m.view("sgPart"), Qt::Key_V, Qt::ControlModifier);
    m.focusCell("sgStock", kFirst, 4);
    QTest::keyClick(m.view("sgStock"), Qt::Key_F2);
    QVERIFY(!m.editor("sgStock"));
    for (const char* button : {"btnPartAdd", "btnPartDel", "btnPartDelAll", "btnPartTimes", "btnPartOpen",
                               "btnStockAdd", "btnStockDelAll", "btnStockOpen", "btnLeft", "btnImportLeft"})
        QTest::mouseClick(m.find<QPushButton>(button), Qt::LeftButton);
    auto* gap = m.find<QLineEdit>("edGap");
    QTest::keyClicks(gap, QStringLiteral("5"));
    QCOMPARE(parts->rows(), rows);
    QCOMPARE(parts->cell(1, kFirst + 1), length);
    QCOMPARE(m.grid("sgStock")->rows(), kFirst + 2);
    QCOMPARE(gap->text(), QStringLiteral("3"));
    QVERIFY(m.dialogs.asked.isEmpty());
    QVERIFY(!m.find<QCheckBox>("ckCost")->isEnabled());
    // Nothing prints or exports the table while it is cut to one row.
    QVERIFY(!m.find<QPushButton>("btnPrint")->isEnabled() && !m.find<QPushButton>("cbExport")->isEnabled());
    QVERIFY(!m.find<QAction>("P1")->isEnabled() && !m.find<QAction>("mnPreview")->isEnabled());

    // Stop stays, and afterwards the job can be edited again.
    QVERIFY(m.find<QPushButton>("btnStop")->isEnabled());
    QTest::mouseClick(m.find<QPushButton>("btnStop"), Qt::LeftButton);
    QVERIFY(finished.wait(kRunTimeout));
    QTest::mouseClick(m.find<QPushButton>("btnPartAdd"), Qt::LeftButton);
    QCOMPARE(parts->rows(), rows + 1);
    m.focusCell("sgPart", kFirst + 1, 1);
    QTest::keyClick(m.view("sgPart"), '9');
    QVERIFY(m.editor("sgPart"));
    QVERIFY(gap->isEnabled());
    QVERIFY(m.find<QPushButton>("btnLeft")->isEnabled());
    QVERIFY(m.find<QPushButton>("btnPrint")->isEnabled() && m.find<QAction>("mnPreview")->isEnabled());
}

void TestWindowCommands::costOptionIsCheckedWhenTicked_data()
{
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("cost");
    QTest::addColumn<bool>("stays");
    QTest::addColumn<QString>("message");

    QTest::newRow("a stock without cost")
        << "3"
        << "" << false << "The cost of stock must be input, can choose cost optimization!";
    QTest::newRow("no stock quantities") << ""
                                         << "10" << false << "No pipe stocks,please input!";
    QTest::newRow("whole costs") << "3"
                                 << "10" << true << "";
}

void TestWindowCommands::costOptionIsCheckedWhenTicked()
{
    QFETCH(QString, qty);
    QFETCH(QString, cost);
    QFETCH(bool, stays);
    QFETCH(QString, message);
    WindowFixture::fill(*m.grid("sgStock"), {{"S", "6000", qty, cost, "Yes"}});
    auto* box = m.find<QCheckBox>("ckCost");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 6, box->height() / 2));
    QCOMPARE(box->isChecked(), stays);
    if (stays) {
        QVERIFY(m.dialogs.messages.isEmpty());
        // Unticking checks nothing.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 6, box->height() / 2));
        QVERIFY(!box->isChecked());
        QVERIFY(m.dialogs.messages.isEmpty());
    } else {
        QCOMPARE(m.dialogs.messages.size(), 1);
        QCOMPARE(m.dialogs.messages[0].text, message);
        QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Error);
    }
}

void TestWindowCommands::saveButtonsWriteTheLists()
{
    WindowFixture::fill(*m.grid("sgPart"), {{"A", "1200", "4"}, {"", "5", "5"}, {"B", "800", ""}});
    WindowFixture::fill(*m.grid("sgStock"), {{"S", "6000", "2", "", ""}});
    const QString partsPath = path("parts.txt");
    const QString stocksPath = path("stocks.txt");
    m.dialogs.answer(partsPath);
    m.dialogs.answer(stocksPath);
    QTest::mouseClick(m.find<QPushButton>("btnPartSave"), Qt::LeftButton);
    QTest::mouseClick(m.find<QPushButton>("btnStockSave"), Qt::LeftButton);

    QCOMPARE(fileLines(partsPath), QStringList({"A\t1200\t4", "B\t800\t"}));
    QCOMPARE(fileLines(stocksPath), QStringList({"S\t6000\t2\t0\t"}));
    QCOMPARE(m.find<mainwindow::widgets::FileNameField>("edPartFile")->path(), partsPath);
    QCOMPARE(m.find<mainwindow::widgets::FileNameField>("edStockFile")->path(), stocksPath);
    QCOMPARE(m.dialogs.asked.size(), 2);
    QVERIFY(m.dialogs.asked[0].save);
    QCOMPARE(m.dialogs.asked[0].setup.title, QStringLiteral("Please select part file name save as"));
    QCOMPARE(m.dialogs.asked[0].setup.filter, QStringLiteral("Text file(*.txt)|*.txt"));
    QCOMPARE(m.dialogs.asked[0].setup.defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(m.dialogs.asked[1].setup.title, QStringLiteral("Please select stock file name save as"));
    QVERIFY(m.dialogs.messages.isEmpty());
}

void TestWindowCommands::openButtonsReadByTheChosenFileType_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("filterPosition");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("firstRow");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("title");

    const QString openParts = QStringLiteral("Please select open part file name");
    const QString openStocks = QStringLiteral("Please select open stock file name");
    const QByteArray sfcad = "head 1\r\nhead 2\r\nhead 3\r\n1 P1 x 1200 y 4\r\n2 P2 x 800 y 3\r\n";
    QTest::newRow("parts text") << "btnPartOpen" << 2 << QByteArray("P1\t1200\t4\r\nP2\t800\t3\r\n")
                                << QStringList{"P1", "1200", "4"} << 5 << openParts;
    QTest::newRow("SFCAD skips three lines")
        << "btnPartOpen" << 3 << sfcad << QStringList{"P1", "1200", "4"} << 5 << openParts;
    QTest::newRow("MST") << "btnPartOpen" << 4 << QByteArray("h\r\nh\r\nh\r\nM1 a b c d 950 6\r\n")
                         << QStringList{"M1", "950", "6"} << 4 << openParts;
    QTest::newRow("Pipe stock file") << "btnStockOpen" << 3 << QByteArray("T\t5000\t2\t9\tNo\r\n")
                                     << QStringList{"T", "5000", "2", "9", "No", ""} << 4 << openStocks;
    QTest::newRow("CSV through the workbook import")
        << "btnPartOpen" << 9 << QByteArray("Label,Length,Qty\r\nP1,1200,4\r\nP2,800,3\r\n")
        << QStringList{"P1", "1200", "4"} << 5 << openParts;
}

void TestWindowCommands::openButtonsReadByTheChosenFileType()
{
    QFETCH(QString, button);
    QFETCH(int, filterPosition);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, firstRow);
    QFETCH(int, rows);
    QFETCH(QString, title);
    const bool parts = button == QStringLiteral("btnPartOpen");
    const QString file = path("list.txt");
    writeFile(file, content);
    m.dialogs.answer(file, filterPosition);
    QTest::mouseClick(m.find<QPushButton>(button.toLatin1().constData()), Qt::LeftButton);

    // Workbooks are read off the user-interface thread under a busy cursor, and imported when back.
    const GridModel* grid = m.grid(parts ? "sgPart" : "sgStock");
    QTRY_COMPARE(grid->rows(), rows);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(m.dialogs.messages.isEmpty());
    QCOMPARE(m.dialogs.asked.size(), 1);
    QVERIFY(!m.dialogs.asked[0].save);
    QCOMPARE(m.dialogs.asked[0].setup.title, title);
    for (int column = 0; column < firstRow.size(); ++column)
        QCOMPARE(grid->cell(column, kFirst), firstRow[column]);
    QCOMPARE(m.find<mainwindow::widgets::FileNameField>(parts ? "edPartFile" : "edStockFile")->path(), file);
}

void TestWindowCommands::cancelledOrFailedOpenKeepsTheGrid()
{
    WindowFixture::fill(*m.grid("sgPart"), {{"Kept", "100", "1"}});
    m.dialogs.cancel();
    QTest::mouseClick(m.find<QPushButton>("btnPartOpen"), Qt::LeftButton);
    QCOMPARE(m.grid("sgPart")->cell(0, kFirst), QStringLiteral("Kept"));
    QVERIFY(m.find<mainwindow::widgets::FileNameField>("edPartFile")->path().isEmpty());
    QVERIFY(m.dialogs.messages.isEmpty());

    // A file that isn't there: the loader's own message in an error box, the grid untouched.
    const QString missing = path("missing.txt");
    m.dialogs.answer(missing, 1);
    QTest::mouseClick(m.find<QPushButton>("btnPartOpen"), Qt::LeftButton);
    GridModel scratch(3);
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].text, lists::LoadPartsFile(scratch, missing, 1).error);
    QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Error);
    QCOMPARE(m.grid("sgPart")->cell(0, kFirst), QStringLiteral("Kept"));
    QVERIFY(m.find<mainwindow::widgets::FileNameField>("edPartFile")->path().isEmpty());
}

void TestWindowCommands::openTellsWhatTextWasNotUsed()
{
    const QString file = path("stocks.txt");
    writeFile(file, "Tube\t6000\t20\t2,5\r\n");
    m.dialogs.answer(file, 1);
    QTest::mouseClick(m.find<QPushButton>("btnStockOpen"), Qt::LeftButton);
    GridModel scratch(6);
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].text, lists::LoadStocksFile(scratch, file, 1).notice);
    QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Information);
    QCOMPARE(m.grid("sgStock")->cell(0, kFirst), QStringLiteral("Tube"));
}

void TestWindowCommands::printCommandsOpenThePreview()
{
    m.window->setPrintDialogs(m_print);
    const QString refusal = QStringLiteral("No cutting layouts,cant preview!");
    QTest::mouseClick(m.find<QPushButton>("btnPrint"), Qt::LeftButton);
    QTest::keyClick(m.window.get(), Qt::Key_P, Qt::ControlModifier);
    m.find<QAction>("mnPreview")->trigger();
    QCOMPARE(m.dialogs.messages.size(), 3);
    for (const ScriptedDialogs::Message& message : m.dialogs.messages) {
        QCOMPARE(message.text, refusal);
        QCOMPARE(message.icon, MessageIcon::Error);
    }

    WindowFixture::fill(*m.grid("sgLayout"), {{"1", "S6", "6000", "2", "0", "A(1200) x 5"}});
    QString caption;
    QString pages;
    QTimer::singleShot(0, [&] {
        if (auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            caption = preview->windowTitle();
            pages = preview->findChild<QLabel*>(QStringLiteral("lbPages"))->text();
            preview->reject();
        }
    });
    m.find<QAction>("P1")->trigger();
    QCOMPARE(caption, QStringLiteral("Preview and Print"));
    QCOMPARE(pages, QStringLiteral("of 1"));
    QCOMPARE(m.dialogs.messages.size(), 3);

    m.find<QAction>("R1")->trigger();
    QCOMPARE(m_print.setupsAsked, 1);
}

void TestWindowCommands::diagramsFollowTheLayoutTable()
{
    fillSmallJob();
    QSignalSpy finished(m.window.get(), &mainwindow::TfrmMain::calculationFinished);
    QTest::mouseClick(m.find<QPushButton>("btnCalc"), Qt::LeftButton);
    QVERIFY(finished.wait(kRunTimeout));
    auto* diagrams = m.find<diagrams::DiagramView>("dvLayout");
    const int patterns = m.grid("sgLayout")->rows() - kFirst;
    QCOMPARE(int(diagrams->diagrams().bars.size()), patterns);

    // The current row is the same in both, whichever side chooses it.
    QVERIFY(patterns >= 2);
    m.focusCell("sgLayout", kFirst + patterns - 1, 1);
    QCOMPARE(diagrams->currentPattern(), patterns - 1);
    diagrams->verticalScrollBar()->setValue(0);
    int y = 0;
    while (y < diagrams->viewport()->height() && diagrams->patternAt(QPoint(0, y)) != 0)
        ++y;
    const QPoint onFirstBar(diagrams::DiagramView::kPrefixWidth + 2, y + diagrams::DiagramView::kRowHeight / 2);
    QTest::mouseClick(diagrams->viewport(), Qt::LeftButton, {}, onFirstBar);
    QCOMPARE(m.view("sgLayout")->currentIndex().row(), kFirst);
    QCOMPARE(diagrams->currentPattern(), 0);
    QVERIFY(diagrams->tipAt(onFirstBar).contains(QStringLiteral(", from 0 to ")));
    QVERIFY(diagrams->tipAt(QPoint(2, onFirstBar.y())).startsWith(QStringLiteral("Cuts at: ")));

    // The diagram print mode adds the diagram pages after the table's page, the cutting list mode its page;
    // the labels come on a sheet of their own that the preview lets choose.
    m.window->setPrintDialogs(m_print);
    for (const int mode : {3, 5, 6}) {
        m.find<QComboBox>("cbxPrint")->setCurrentIndex(mode);
        QString pages;
        bool sheetChoice = false;
        QTimer::singleShot(0, [&] {
            if (auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                pages = preview->findChild<QLabel*>(QStringLiteral("lbPages"))->text();
                sheetChoice = preview->findChild<QComboBox*>(QStringLiteral("cbLabelSheet")) != nullptr;
                preview->reject();
            }
        });
        m.find<QAction>("mnPreview")->trigger();
        QCOMPARE(pages, mode == 6 ? QStringLiteral("of 1") : QStringLiteral("of 2"));
        QCOMPARE(sheetChoice, mode == 6);
    }

    // A table emptied of its layouts takes the diagrams with it.
    m.grid("sgLayout")->setRows(kFirst + 1);
    m.grid("sgLayout")->clearCells(kFirst, 0, 6);
    QVERIFY(diagrams->diagrams().bars.empty());
}

void TestWindowCommands::aboutOpensModally()
{
    QString caption;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            caption = box->windowTitle();
            box->accept();
        }
    });
    m.find<QAction>("A1")->trigger();
    QCOMPARE(caption, QStringLiteral("About"));
}

void TestWindowCommands::exportWritesTheLayoutTable()
{
    // Before any calculation: the header and a totals line.
    const QString before = path("before.txt");
    m.dialogs.answer(before, 2);
    QTest::mouseClick(m.find<QPushButton>("cbExport"), Qt::LeftButton);
    QCOMPARE(fileLines(before).size(), 2);
    QCOMPARE(fileLines(before).at(1), QStringLiteral("Total\t\t\t\t\t\t"));
    QCOMPARE(m.dialogs.asked[0].setup.title, QStringLiteral("Please choose layouts file name save as"));
    QCOMPARE(m.dialogs.asked[0].setup.filter, QStringLiteral("Text file(*.txt)|*.txt|Excel file(*.xls)|*.xls"));

    // From the menu, after a calculation: one line per layout between them.
    fillSmallJob();
    QSignalSpy finished(m.window.get(), &mainwindow::TfrmMain::calculationFinished);
    QTest::mouseClick(m.find<QPushButton>("btnCalc"), Qt::LeftButton);
    QVERIFY(finished.wait(kRunTimeout));
    const QString after = path("after.txt");
    m.dialogs.answer(after);
    m.find<QAction>("N5")->trigger();
    const QStringList lines = fileLines(after);
    QCOMPARE(lines.size(), m.grid("sgLayout")->rows());
    QVERIFY(lines.first().startsWith(QStringLiteral("No.\tLabel\t")));
    QVERIFY(lines[1].startsWith(QStringLiteral("1\t")));

    // A cancelled dialog writes nothing; a file that can't be written is reported.
    m.dialogs.cancel();
    m.find<QAction>("N5")->trigger();
    m.dialogs.answer(path("no-such-folder/layouts.txt"));
    QTest::mouseClick(m.find<QPushButton>("cbExport"), Qt::LeftButton);
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Error);
    QVERIFY(m.dialogs.messages[0].text.contains(QStringLiteral("layouts.txt")));
}

void TestWindowCommands::closeAndExitEndTheProgram()
{
    QTest::mouseClick(m.find<QPushButton>("btnExit"), Qt::LeftButton);
    QVERIFY(!m.window->isVisible());
    m.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m.window.get()));
    m.find<QAction>("X1")->trigger();
    QVERIFY(!m.window->isVisible());
}

QTEST_MAIN(TestWindowCommands)

#include "test_window_commands.moc"
