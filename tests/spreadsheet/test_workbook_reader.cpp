#include "spreadsheet_fixture.h"

#include "spreadsheet/reader_process.h"
#include "spreadsheet/workbook_read_job.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <thread>

#include <sys/stat.h>

using spreadsheet::ReadFailure;
using spreadsheet::readFailureMessage;
using spreadsheet::readWorkbook;
using spreadsheet::readWorkbookFile;
using spreadsheet::SheetCells;
using spreadsheet::WorkbookKind;

class WorkbookReaderTest : public GridTest {};

TEST_F(WorkbookReaderTest, EveryKindGivesTheSameCellTextsInTheUsersLocale)
{
    for (const char* name : {"job_parts.xls", "job_parts.xlsx", "job_parts.ods", "job_parts.csv"}) {
        SCOPED_TRACE(name);
        const SheetCells sheet = readFixture(name);
        EXPECT_EQ(sheetRow(sheet, sheet.rowCount() - 2), QStringList({"P1", "1200", "4"}));
        EXPECT_EQ(sheetRow(sheet, sheet.rowCount() - 1), QStringList({"P2", "850.5", "2"}));
        EXPECT_EQ(sheetRow(sheet, sheet.rowCount()), QStringList({"P3", "300", "10"}));
    }
    // The reader program hands numbers over in the C locale; they are shown in the user's.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(readFixture("job_parts.xlsx").cell(2, 2), "850,5");
}

TEST_F(WorkbookReaderTest, WhereTheSheetAndItsDataAre)
{
    for (const char* name : {"second_active.xlsx", "second_active.ods"})
        EXPECT_EQ(sheetRow(readFixture(name), 1), QStringList({"P1", "1200", "4"})) << name;

    const SheetCells row20 = readFixture("row20.xlsx");
    EXPECT_EQ(row20.rowCount(), 22);
    EXPECT_EQ(sheetRow(row20, 19), QStringList({"", "", ""}));
    EXPECT_EQ(sheetRow(row20, 20), QStringList({"P1", "1200", "4"}));
    // Text under a workbook's name, as the program's own .xls exports are, reads as a table of text.
    SheetCells text;
    ASSERT_TRUE(readWorkbookFile(workbookPath("job_parts.txt"), WorkbookKind::Xls, text).ok);
    EXPECT_EQ(sheetRow(text, 2), QStringList({"P2", "850.5", "2"}));
}

TEST_F(WorkbookReaderTest, CellsSayWhatTheyHold)
{
    EXPECT_EQ(sheetRow(readFixture("formula.xlsx"), 1), QStringList({"F", "600", "6"}));
    EXPECT_EQ(readFixture("date_qty.xlsx").cell(1, 3), "2024-01-31");
    const SheetCells booleans = readFixture("bool_length.xlsx");
    EXPECT_EQ(booleans.at(1, 2).kind, spreadsheet::CellKind::Boolean);
    EXPECT_EQ(booleans.cell(1, 2), "TRUE");
    const SheetCells noResult = readFixture("corpus/openpyxl_formula_without_result.xlsx");
    EXPECT_EQ(noResult.at(2, 2).kind, spreadsheet::CellKind::NoResult);
    EXPECT_EQ(noResult.at(2, 3).kind, spreadsheet::CellKind::Number);
}

TEST_F(WorkbookReaderTest, RefusalsSayWhyInTheUsersWords)
{
    const struct {
        const char* file;
        WorkbookKind kind;
        ReadFailure failure;
    } cases[] = {
        {"damaged.xlsx", WorkbookKind::Xlsx, ReadFailure::Damaged},
        {"damaged.xls", WorkbookKind::Xls, ReadFailure::Damaged},
        {"crafted.xls", WorkbookKind::Xls, ReadFailure::Damaged},
        {"corpus/gnumeric_parts_biff5.xls", WorkbookKind::Xls, ReadFailure::Biff5},
        {"hostile/bomb.xlsx", WorkbookKind::Xlsx, ReadFailure::TooLarge},
        {"hostile/repeated_rows.ods", WorkbookKind::Ods, ReadFailure::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        SheetCells sheet;
        const QString path = workbookPath(c.file);
        const calculation::FileResult read = readWorkbookFile(path, c.kind, sheet);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.message(), readFailureMessage(c.failure, path));
        EXPECT_EQ(sheet.rowCount(), 0);
    }
    EXPECT_EQ(readFailureMessage(ReadFailure::Damaged, "a.xls"), "a.xls can't be read: it is damaged");
    EXPECT_EQ(readFailureMessage(ReadFailure::Biff5, "a.xls"),
              "a.xls is an Excel 5.0/95 workbook; save it as .xlsx or as Excel 97-2003");
    SheetCells sheet;
    EXPECT_TRUE(readWorkbook(QByteArray("PK\x03\x04 no package"), WorkbookKind::Xlsx, sheet)
                    .error.endsWith(" can't be read: it is damaged"));
    EXPECT_EQ(readWorkbookFile(workbookPath("missing.xlsx"), WorkbookKind::Xlsx, sheet).error,
              "Cannot open file " + workbookPath("missing.xlsx"));
}

TEST_F(WorkbookReaderTest, CsvSeparatorsQuotesAndHeader)
{
    const struct {
        QByteArray text;
        QStringList first;
        int rows;
    } cases[] = {
        {"\"A,1\";\"2,5\";3\n", {"A,1", "2,5", "3"}, 1},
        {"A,100,3\r\nB;x,200,4\r\n", {"A", "100", "3"}, 2},
        {"A 1\t100\t3\r\n", {"A 1", "100", "3"}, 1},
        {"\xEF\xBB\xBFLabel,Length,Qty\n\"P \"\"1\"\"\", 1200 ,4\n", {"", "", ""}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        SheetCells sheet;
        ASSERT_TRUE(readWorkbook(c.text, WorkbookKind::Csv, sheet).ok);
        EXPECT_EQ(sheet.rowCount(), c.rows);
        EXPECT_EQ(sheetRow(sheet, 1), c.first);
    }
    SheetCells sheet;
    readWorkbook("Label,Length,Qty\n\"P \"\"1\"\"\", 1200 ,4\n", WorkbookKind::Csv, sheet);
    EXPECT_EQ(sheetRow(sheet, 2), QStringList({"P \"1\"", "1200", "4"}));
}

TEST_F(WorkbookReaderTest, NumbersInTheUsersLocale)
{
    const struct {
        double value;
        const char* c;
        const char* german;
    } cases[] = {{1200, "1200", "1200"},
                 {850.5, "850.5", "850,5"},
                 {0.1, "0.1", "0,1"},
                 {-3, "-3", "-3"},
                 {1234567.25, "1234567.25", "1234567,25"},
                 {1e20, "1e+20", "1E+20"}};
    for (const auto& c : cases) {
        EXPECT_EQ(spreadsheet::numberText(c.value), c.c);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(spreadsheet::numberText(c.value), c.german);
        QLocale::setDefault(QLocale::c());
    }
    EXPECT_EQ(spreadsheet::numberText(0.1 + 0.2).toDouble(), 0.1 + 0.2);
}

// The reader program is killed on a cancel, on its deadline and with the program that started it; a crash
// of it costs only itself.
TEST_F(WorkbookReaderTest, TheReaderProgramNeverOutlivesItsRead)
{
    using spreadsheet::detail::runReader;
    const QString shell = QStringLiteral("/bin/sh");
    const auto started = std::chrono::steady_clock::now();
    spreadsheet::ReadCancel cancel;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel.cancel();
    });
    EXPECT_EQ(runReader(shell, {"-c", "sleep 30"}, &cancel, 20000, 100).failure, ReadFailure::Cancelled);
    canceller.join();
    EXPECT_EQ(runReader(shell, {"-c", "sleep 30"}, nullptr, 100, 100).failure, ReadFailure::TooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(runReader(shell, {"-c", "kill -SEGV $$"}, nullptr, 5000, 100).failure, ReadFailure::Damaged);
    EXPECT_EQ(runReader(shell, {"-c", "yes"}, nullptr, 5000, 1000).failure, ReadFailure::TooLarge);
    EXPECT_EQ(runReader("/nonexistent/reader", {}, nullptr, 5000, 100).failure, ReadFailure::NoReader);

    // A reader stuck on a pipe that never delivers dies when the process that started it is killed.
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("stuck.csv"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    QProcess parent;
    parent.start(shell, {"-c", QStringLiteral("'%1' '%2' csv $$ & echo $!; wait")
                                   .arg(spreadsheet::readerProgram(), QString::fromUtf8(fifo))});
    ASSERT_TRUE(parent.waitForReadyRead(5000));
    const pid_t reader = parent.readLine().trimmed().toInt();
    ASSERT_GT(reader, 0);
    EXPECT_EQ(::kill(reader, 0), 0);
    // Time to reach its open of the pipe, past the point where it asks to die with its parent.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    parent.kill();
    parent.waitForFinished(5000);
    // Killed, it lingers as a zombie ("Z") until its new parent collects it.
    auto alive = [reader] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(reader));
        return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
    };
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        gone = !alive();
    }
    EXPECT_TRUE(gone);
}

TEST_F(WorkbookReaderTest, AReadOnItsOwnThreadEndsOnceWithItsSheetOrOnCancel)
{
    static int argc = 1;
    static char name[] = "tests_spreadsheet";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel);
        spreadsheet::WorkbookReadJob job(workbookPath(cancel ? "hostile/bomb.xlsx" : "job_parts.ods"),
                                         cancel ? WorkbookKind::Xlsx : WorkbookKind::Ods);
        QEventLoop loop;
        int finished = 0;
        QObject::connect(&job, &spreadsheet::WorkbookReadJob::finished, [&] {
            ++finished;
            loop.quit();
        });
        job.start();
        if (cancel)
            job.cancel();
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_EQ(finished, 1);
        EXPECT_EQ(job.cancelled(), cancel);
        EXPECT_EQ(job.result().ok, !cancel);
        EXPECT_EQ(job.sheet().rowCount(), cancel ? 0 : 3);
    }
}
