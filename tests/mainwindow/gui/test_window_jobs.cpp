// The window's commands for whole jobs, driven through its menu and buttons with scripted dialogs: one
// wiring case each for saving and opening projects and for the three remnant list commands.

#include "window_fixture.h"

#include "lists/text_file.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

using calculation::GridModel;
using calculation::MessageIcon;

namespace {

QStringList fileLines(const QString& path)
{
    QStringList lines;
    const lists::FileResult read = lists::readTextLines(path, lines);
    return read.ok ? lines : QStringList{QStringLiteral("<unreadable>")};
}

} // namespace

class TestWindowJobs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m.open());
        QVERIFY(m_dir.isValid());
    }
    void cleanup() { m.window.reset(); }

    void saveProjectNeedsBothListsSaved();
    void openProjectRestoresTheJobAndTellsWhereItStopped();
    void saveLeftWritesTheUnusedBars();
    void exportLeftWritesTheRemnants();
    void importLeftAppendsToTheStocks();

private:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    WindowFixture m;
    QTemporaryDir m_dir;
};

void TestWindowJobs::saveProjectNeedsBothListsSaved()
{
    QAction* save = m.find<QAction>("S1");
    QVERIFY(save->isEnabled());
    QCOMPARE(save->shortcut(), QKeySequence(QKeySequence::Save));
    save->trigger();
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("Please save the pipe parts first!"));
    QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Error);
    QVERIFY(m.dialogs.asked.isEmpty());

    // Typed parts and stocks: each is offered to be saved first, then the project's name is asked.
    WindowFixture::fill(*m.grid("sgPart"), {{"P", "100", "1"}});
    WindowFixture::fill(*m.grid("sgStock"), {{"S", "1000", "1", "0", "Yes"}});
    m.dialogs.reply(mainwindow::Answer::Accept);
    m.dialogs.reply(mainwindow::Answer::Accept);
    m.dialogs.answer(path("parts.txt"));
    m.dialogs.answer(path("stocks.txt"));
    m.dialogs.answer(path("job.dat"));
    save->trigger();
    QCOMPARE(m.dialogs.questions.size(), 2);
    QCOMPARE(m.dialogs.questions[0].text, QStringLiteral("Save the changes to the parts list?"));
    QCOMPARE(m.dialogs.asked.size(), 3);
    QCOMPARE(m.dialogs.asked[2].setup.title, QStringLiteral("Please choose project file name save as"));
    QCOMPARE(m.dialogs.asked[2].setup.filter, QStringLiteral("Project file(*.dat)|*.dat"));
    QCOMPARE(m.dialogs.asked[2].setup.defaultSuffix, QStringLiteral("dat"));
    QCOMPARE(fileLines(path("job.dat")),
             QStringList({path("parts.txt"), path("stocks.txt"), "5", "0", "0", "0", "0", "15", "0", "mm",
                          "Barvik pipe cuting project", "2", "1", "2", "1"}));
    QCOMPARE(fileLines(path("parts.txt")), QStringList{"P\t100\t1"});
    QCOMPARE(m.window->windowTitle(), QStringLiteral("job.dat[*] - Barvik pipe cutting system"));
    QVERIFY(!m.window->isWindowModified());

    // Once it has a name, Save Project writes it without asking; Save Project As asks.
    m.find<QLineEdit>("edTitle")->setText(QStringLiteral("Hall 3"));
    QVERIFY(m.window->isWindowModified());
    save->trigger();
    QCOMPARE(m.dialogs.asked.size(), 3);
    QCOMPARE(fileLines(path("job.dat")).value(10), QStringLiteral("Hall 3"));
    m.dialogs.answer(path("copy.dat"));
    m.find<QAction>("mnSaveAs")->trigger();
    QCOMPARE(m.dialogs.asked.size(), 4);
    QVERIFY(QFile::exists(path("copy.dat")));
    QCOMPARE(m.dialogs.messages.size(), 1);
}

void TestWindowJobs::openProjectRestoresTheJobAndTellsWhereItStopped()
{
    const QString parts = writeFile(path("parts.txt"), "P\t100\t1\r\n");
    // A workbook is read as the open button reads it, off the user-interface thread.
    const QString stocks = writeFile(path("stocks.csv"), "S,1000,1,4,Yes\r\n");
    const QByteArray settings = "9\r\n1\r\n1\r\n3\r\n5\r\n20\r\n2\r\ncm\r\nHall 2\r\n0\r\n2\r\n";
    writeFile(path("job.dat"), (parts + "\r\n" + stocks + "\r\n").toUtf8() + settings + "4\r\n");
    m.dialogs.answer(path("job.dat"));
    QAction* open = m.find<QAction>("O1");
    QVERIFY(open->isEnabled());
    open->trigger();
    QCOMPARE(m.dialogs.asked[0].setup.title, QStringLiteral("Please choose open project file name"));
    QVERIFY(!m.dialogs.asked[0].save);
    // What comes next (a command line's lists) waits for the read.
    QString stockCost;
    m.window->afterReads([&] { stockCost = m.grid("sgStock")->cell(3, GridModel::kFirstDataRow); });
    QTRY_COMPARE(stockCost, QStringLiteral("4"));
    QVERIFY(m.dialogs.messages.isEmpty());
    QCOMPARE(m.grid("sgPart")->cell(0, GridModel::kFirstDataRow), QStringLiteral("P"));
    QCOMPARE(m.find<QSlider>("tbFast")->value(), 9);
    QVERIFY(m.find<QCheckBox>("ckCost")->isChecked());
    QCOMPARE(m.find<QLineEdit>("edCircle")->text(), QStringLiteral("20"));
    QCOMPARE(m.find<QLineEdit>("edTitle")->text(), QStringLiteral("Hall 2"));
    QCOMPARE(m.find<QComboBox>("cbxPrint")->currentIndex(), 2);
    QCOMPARE(m.find<QLineEdit>("edTimes")->text(), QStringLiteral("4"));

    // 13 lines: everything but the multiplier, and an error box that says so.
    m.find<QLineEdit>("edTimes")->setText(QStringLiteral("2"));
    writeFile(path("short.dat"), (parts + "\r\n" + stocks + "\r\n").toUtf8() + settings);
    m.dialogs.answer(path("short.dat"));
    open->trigger();
    QTRY_COMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Error);
    QVERIFY(m.dialogs.messages[0].text.startsWith(path("short.dat") + ", line 14: "));
    QCOMPARE(m.find<QLineEdit>("edTimes")->text(), QStringLiteral("2"));
}

void TestWindowJobs::saveLeftWritesTheUnusedBars()
{
    WindowFixture::fill(*m.grid("sgStock"),
                        {{"S6", "6000", "3", "10", "Yes", "2"}, {"S4", "4000", "2", "7", "No", "0"}});
    m.dialogs.answer(path("left.txt"));
    QTest::mouseClick(m.find<QPushButton>("btnLeft"), Qt::LeftButton);
    QCOMPARE(m.dialogs.asked[0].setup.title, QStringLiteral("Please choose left stocks file name save as"));
    QCOMPARE(m.dialogs.asked[0].setup.filter, QStringLiteral("Text file(*.txt)|*.txt"));
    QCOMPARE(fileLines(path("left.txt")), QStringList{"S6\t6000\t2\t10\tYes"});
    QCOMPARE(m.find<mainwindow::widgets::FileNameField>("edStockFile")->path(), path("left.txt"));
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("Congratulations! Successfully saved count: 1"));
    QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Information);
}

void TestWindowJobs::exportLeftWritesTheRemnants()
{
    WindowFixture::fill(*m.grid("sgLayout"), {{"1", "S6", "6000", "2", "900", "A x 5", "L1"}});
    m.dialogs.answer(path("remnants.txt"));
    QTest::mouseClick(m.find<QPushButton>("btnExportLeft"), Qt::LeftButton);
    QCOMPARE(m.dialogs.asked[0].setup.title, QStringLiteral("Please choose left stock file name save as"));
    QCOMPARE(m.dialogs.asked[0].setup.filter,
             QStringLiteral("Text file(*.txt)|*.txt|Pipe part file(*.stk)|*.stk|Excel file(*.xls)|*.xls"));
    QCOMPARE(fileLines(path("remnants.txt")), QStringList{"L1\t900\t2\t0\tYes"});
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("Congratulations! Successfully exported count: 1"));
}

void TestWindowJobs::importLeftAppendsToTheStocks()
{
    GridModel* stocks = m.grid("sgStock");
    m.dialogs.answer(writeFile(path("left.txt"), "L1\t900\t5\t0\tYes\r\n"));
    QTest::mouseClick(m.find<QPushButton>("btnImportLeft"), Qt::LeftButton);
    QCOMPARE(m.dialogs.asked[0].setup.title, QStringLiteral("Please choose open left stock file name"));
    QCOMPARE(m.dialogs.asked[0].setup.filter, QStringLiteral("All supported files|*.txt;*.stk;*.xls|Text "
                                                             "file(*.txt)|*.txt|Pipe stock file(*.stk)|*.stk|Excel "
                                                             "file(*.xls)|*.xls"));
    QCOMPARE(stocks->cell(0, GridModel::kFirstDataRow), QStringLiteral("L1"));
    QCOMPARE(stocks->cell(2, GridModel::kTotalsRow), QStringLiteral("5"));
    QVERIFY(m.dialogs.messages.isEmpty());

    // A bad line: an error box naming the line, nothing appended.
    m.dialogs.answer(writeFile(path("bad.txt"), "L2\t900\tmany\r\n"));
    QTest::mouseClick(m.find<QPushButton>("btnImportLeft"), Qt::LeftButton);
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Error);
    QCOMPARE(m.dialogs.messages[0].text, path("bad.txt") + ", line 1: the quantity \"many\" is not a whole number");
    QCOMPARE(stocks->rows(), GridModel::kFirstDataRow + 2);
}

QTEST_MAIN(TestWindowJobs)

#include "test_window_jobs.moc"
