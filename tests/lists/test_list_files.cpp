#include "calculation/grids.h"
#include "lists/list_files.h"
#include "support/grid_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <unistd.h>

using calculation::GridModel;
using namespace lists;

class ListFilesTest : public GridTest {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QByteArray read(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<GridModel> m_parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
};

TEST_F(ListFilesTest, PartsTextReplacesTheRowsAndTotals)
{
    for (int format : {kPartsProject, kPartsText, kPartsPipe}) {
        fill(*m_parts, {{"old", "1", "1"}, {"old", "2", "2"}, {"old", "3", "3"}, {"old", "4", "4"}});
        const QString path = write("parts.txt", "P1\t1200\t4\r\n\r\n0\r\nP2\t800\t2\r\n");
        ASSERT_TRUE(LoadPartsFile(*m_parts, path, format).ok) << format;
        EXPECT_EQ(m_parts->rows(), 5);
        EXPECT_EQ(row(*m_parts, 0), QStringList({"Total", "6400", "6"}));
        EXPECT_EQ(row(*m_parts, 2), QStringList({"P1", "1200", "4"}));
        EXPECT_EQ(row(*m_parts, 3), QStringList({"P2", "800", "2"}));
        EXPECT_EQ(row(*m_parts, 4), QStringList({"", "", ""}));
    }
}

TEST_F(ListFilesTest, TotalLengthIsAFloatSum)
{
    ASSERT_TRUE(LoadPartsFile(*m_parts, write("p.txt", "P1\t0.1\t1"), kPartsText).ok);
    EXPECT_EQ(m_parts->cell(1, 0), QStringLiteral("0.100000001490116"));
}

TEST_F(ListFilesTest, ForeignLayoutsSkipThreeLinesAndEndAtAnEmptyLength)
{
    const QByteArray sfcad = "header\n\n1\n1,A,x,100,y,2\n2,B,x,,y,3\n3,C,x,50,y,1\n";
    ASSERT_TRUE(LoadPartsFile(*m_parts, write("p.nbt", sfcad), kPartsSfcad).ok);
    EXPECT_EQ(m_parts->rows(), 4);
    EXPECT_EQ(row(*m_parts, 0), QStringList({"Total", "200", "2"}));
    EXPECT_EQ(row(*m_parts, 2), QStringList({"A", "100", "2"}));

    const QByteArray mst = "a\nb\nc\nM1 a b c d 300 5\nM2 a b c d 400 1\nM3,a,b,c,d,,5\nM4 a b c d 1 1\n";
    ASSERT_TRUE(LoadPartsFile(*m_parts, write("p.txt", mst), kPartsMst).ok);
    EXPECT_EQ(m_parts->rows(), 5);
    EXPECT_EQ(row(*m_parts, 0), QStringList({"Total", "1900", "6"}));
    EXPECT_EQ(row(*m_parts, 3), QStringList({"M2", "400", "1"}));
    EXPECT_EQ(row(*m_parts, 4), QStringList({"", "", ""}));
}

TEST_F(ListFilesTest, StockLinesGetDefaultCostAndPriority)
{
    fill(*m_stocks, {{"old", "1", "1", "1", "No", "7"}});
    m_stocks->setCell(5, 0, QStringLiteral("7"));
    const QString path = write("s.stk", "S1\t6000\t3\nS2\t4000\t2\t12.5\nS3,3000,1,,No\nS4\t2000\t1\t5\tMaybe\n");
    ASSERT_TRUE(LoadStocksFile(*m_stocks, path, kStocksPipe).ok);
    EXPECT_EQ(m_stocks->rows(), 7);
    EXPECT_EQ(row(*m_stocks, 0), QStringList({"Total", "31000", "7", "30", "", ""}));
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"S1", "6000", "3", "0", "Yes", ""}));
    EXPECT_EQ(row(*m_stocks, 3), QStringList({"S2", "4000", "2", "12.5", "Yes", ""}));
    EXPECT_EQ(row(*m_stocks, 4), QStringList({"S3", "3000", "1", "0", "No", ""}));
    EXPECT_EQ(row(*m_stocks, 5), QStringList({"S4", "2000", "1", "5", "Maybe", ""}));
    EXPECT_EQ(row(*m_stocks, 6), QStringList({"", "", "", "", "", ""}));
}

TEST_F(ListFilesTest, ReadsUtf8WithByteOrderMarkAndCarriageReturnsOnly)
{
    const QString path = write("p.txt", "\xEF\xBB\xBFRohr \xC3\xBC\t100\t1\rP2\t200\t2\r");
    ASSERT_TRUE(LoadPartsFile(*m_parts, path, kPartsText).ok);
    EXPECT_EQ(m_parts->rows(), 5);
    EXPECT_EQ(row(*m_parts, 2), QStringList({"Rohr \u00fc", "100", "1"}));
    EXPECT_EQ(row(*m_parts, 3), QStringList({"P2", "200", "2"}));
}

struct BadLine {
    bool stocks;
    int format;
    const char* text;
    const char* message;
};

void PrintTo(const BadLine& bad, std::ostream* out)
{
    *out << bad.message;
}

class BadLineTest : public ListFilesTest, public ::testing::WithParamInterface<BadLine> {};

// A bad second line stops the load: the first row and what the bad line wrote stay, the totals and the
// trailing row are left alone.
TEST_P(BadLineTest, StopsWithTheRunTimeMessage)
{
    const BadLine& bad = GetParam();
    GridModel& grid = bad.stocks ? *m_stocks : *m_parts;
    const QStringList totals = {"Total", "999", "9", "99", "", ""};
    for (int c = 1; c < grid.columns(); ++c)
        grid.setCell(c, 0, totals[c]);
    const QByteArray good = bad.format == kPartsSfcad ? "h\nh\nh\n1,A,x,100,y,2\n" : "A\t100\t2\t1\n";
    const FileResult result = bad.stocks ? LoadStocksFile(grid, write("f", good + bad.text), bad.format)
                                         : LoadPartsFile(grid, write("f", good + bad.text), bad.format);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QString::fromUtf8(bad.message));
    // The bad line is named by the file and its number, the skipped header lines counted.
    EXPECT_EQ(result.line, bad.format == kPartsSfcad ? 5 : 2);
    EXPECT_EQ(result.message(), m_dir.filePath("f") + ", line " + QString::number(result.line) + ": " + result.error);
    EXPECT_EQ(row(grid, 0), totals.mid(0, grid.columns()));
    EXPECT_EQ(grid.cell(0, 2), QStringLiteral("A"));
    EXPECT_EQ(grid.cell(1, 2), QStringLiteral("100"));
    const QStringList fields = QString::fromUtf8(bad.text).split(u'\t');
    const bool written = result.error.startsWith(u'\'');
    EXPECT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.cell(0, 3), written ? fields[0] : QString());
}

INSTANTIATE_TEST_SUITE_P(
    Loads, BadLineTest,
    ::testing::Values(BadLine{false, kPartsText, "A\t\t5", "List index out of bounds (2)"},
                      BadLine{false, kPartsText, " 0 ", "List index out of bounds (1)"},
                      BadLine{false, kPartsText, "B\t12.5\tx", "'x' is not a valid integer value"},
                      BadLine{false, kPartsText, "B\tlong\t3", "'long' is not a valid floating point value"},
                      BadLine{false, kPartsSfcad, "1", "List index out of bounds (1)"},
                      BadLine{false, kPartsSfcad, "1,B,x,7,y", "List index out of bounds (5)"},
                      BadLine{true, kStocksText, "S\t100", "List index out of bounds (2)"},
                      BadLine{true, kStocksText, "S\t100\t2.5", "'2.5' is not a valid integer value"},
                      BadLine{true, kStocksText, "S\t100\t2\tfree", "'free' is not a valid floating point value"}));

TEST_F(ListFilesTest, FilesThatCannotBeReadLeaveTheGridUntouched)
{
    fill(*m_parts, {{"P1", "1200", "4"}, {"P2", "800", "2"}});
    const QString missing = m_dir.filePath("missing.txt");
    struct Attempt {
        QString path;
        int format;
        QString message;
    };
    const std::vector<Attempt> attempts = {
        {missing, kPartsText, "Cannot open file " + missing},
        {m_dir.path(), kPartsText, "Cannot open file " + m_dir.path()},
        {m_dir.filePath("missing.xls"), kPartsExcel, "Cannot open file " + m_dir.filePath("missing.xls")},
        {QStringLiteral(BARVIK_TEST_DATA "/spreadsheets/damaged.xlsx"), kPartsXlsx,
         BARVIK_TEST_DATA "/spreadsheets/damaged.xlsx can't be read: it is damaged"},
        {QString(), kPartsText, QString()}};
    for (const Attempt& attempt : attempts) {
        const FileResult result = LoadPartsFile(*m_parts, attempt.path, attempt.format);
        EXPECT_EQ(result.ok, attempt.message.isEmpty()) << attempt.path.toStdString();
        EXPECT_EQ(result.error, attempt.message);
        EXPECT_EQ(m_parts->rows(), 4);
        EXPECT_EQ(row(*m_parts, 3), QStringList({"P2", "800", "2"}));
    }
}

TEST_F(ListFilesTest, TheSameJobFromEveryFileTypeGivesTheSameGrid)
{
    const QString data = QStringLiteral(BARVIK_TEST_DATA "/spreadsheets/");
    ASSERT_TRUE(LoadPartsFile(*m_parts, data + "job_parts.txt", kPartsText).ok);
    ASSERT_TRUE(LoadStocksFile(*m_stocks, data + "job_stocks.txt", kStocksText).ok);
    std::vector<QStringList> parts, stocks;
    for (int r = 0; r < m_parts->rows(); ++r)
        parts.push_back(row(*m_parts, r));
    // Workbook rows keep their Priority empty, which counts as the "Yes" a text list writes.
    for (int r = 0; r < m_stocks->rows(); ++r)
        stocks.push_back(row(*m_stocks, r).mid(0, 4));
    const struct {
        const char* extension;
        int partsFormat;
        int stocksFormat;
    } kinds[] = {{"xls", kPartsExcel, kStocksExcel},
                 {"xlsx", kPartsXlsx, kStocksXlsx},
                 {"ods", kPartsOds, kStocksOds},
                 {"csv", kPartsCsv, kStocksCsv}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.extension);
        const std::unique_ptr<GridModel> p(calculation::createPartsGrid());
        const std::unique_ptr<GridModel> s(calculation::createStocksGrid());
        const FileResult readParts = LoadPartsFile(*p, data + "job_parts." + kind.extension, kind.partsFormat);
        ASSERT_TRUE(readParts.ok) << readParts.error.toStdString();
        ASSERT_TRUE(LoadStocksFile(*s, data + "job_stocks." + kind.extension, kind.stocksFormat).ok);
        ASSERT_EQ(p->rows(), int(parts.size()));
        ASSERT_EQ(s->rows(), int(stocks.size()));
        for (int r = 0; r < p->rows(); ++r)
            EXPECT_EQ(row(*p, r), parts[r]) << r;
        for (int r = 0; r < s->rows(); ++r)
            EXPECT_EQ(row(*s, r).mid(0, 4), stocks[r]) << r;
    }
}

TEST_F(ListFilesTest, SavesLabelledRowsAndReadsThemBack)
{
    fill(*m_parts, {{"P1", "1200", "4"}, {"", "5", "5"}, {"Rohr \u00fc", "0.5", "2"}});
    const QString parts = m_dir.filePath("parts.txt");
    ASSERT_TRUE(SavePartsFile(*m_parts, parts).ok);
    EXPECT_EQ(read(parts), QByteArray("P1\t1200\t4\r\nRohr \xC3\xBC\t0.5\t2\r\n"));
    ASSERT_TRUE(LoadPartsFile(*m_parts, parts, kPartsText).ok);
    EXPECT_EQ(row(*m_parts, 3), QStringList({"Rohr \u00fc", "0.5", "2"}));
    EXPECT_EQ(row(*m_parts, 0), QStringList({"Total", "4801", "6"}));

    fill(*m_stocks, {{"S1", "6000", "3", "", "No", "7"}, {"S2", "4000", "2", "1.5", "", ""}});
    const QString stocks = m_dir.filePath("stocks.txt");
    ASSERT_TRUE(SaveStocksFile(*m_stocks, stocks).ok);
    EXPECT_EQ(read(stocks), QByteArray("S1\t6000\t3\t0\tNo\r\nS2\t4000\t2\t1.5\t\r\n"));
    ASSERT_TRUE(LoadStocksFile(*m_stocks, stocks, kStocksText).ok);
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"S1", "6000", "3", "0", "No", ""}));
    EXPECT_EQ(row(*m_stocks, 3), QStringList({"S2", "4000", "2", "1.5", "Yes", ""}));

    fill(*m_parts, {{"", "1", "1"}});
    ASSERT_TRUE(SavePartsFile(*m_parts, parts).ok);
    EXPECT_EQ(read(parts), QByteArray());

    // A control character in a cell would add a field or a line: it is written as a space.
    fill(*m_parts, {{"P\t1\r\n2", "1200", "4\x1b"}});
    fill(*m_stocks, {{"S\n1", "6000", "3", "", "\x7fNo", ""}});
    ASSERT_TRUE(SavePartsFile(*m_parts, parts).ok);
    ASSERT_TRUE(SaveStocksFile(*m_stocks, stocks).ok);
    EXPECT_EQ(read(parts), QByteArray("P 1  2\t1200\t4 \r\n"));
    EXPECT_EQ(read(stocks), QByteArray("S 1\t6000\t3\t0\t No\r\n"));
}

TEST_F(ListFilesTest, SavingOverAFolderFailsAndKeepsIt)
{
    fill(*m_parts, {{"P1", "1200", "4"}});
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("list.txt"));
    const QString inside = write("list.txt/kept.txt", "kept");
    const FileResult intoDirectory = SavePartsFile(*m_parts, m_dir.filePath("list.txt"));
    EXPECT_FALSE(intoDirectory.ok);
    EXPECT_TRUE(intoDirectory.error.startsWith("Cannot save file " + m_dir.filePath("list.txt") + ": "));
    EXPECT_EQ(read(inside), QByteArray("kept"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(ListFilesTest, FailedSaveKeepsThePreviousFile)
{
    fill(*m_parts, {{"P1", "1200", "4"}});
    if (::geteuid() == 0)
        GTEST_SKIP() << "a read-only folder does not stop root";
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("locked"));
    const QString path = write("locked/parts.txt", "old\r\n");
    QFile::setPermissions(m_dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const FileResult result = SavePartsFile(*m_parts, path);
    QFile::setPermissions(m_dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith("Cannot save file " + path));
    EXPECT_EQ(read(path), QByteArray("old\r\n"));
}

// Paths that are no list file are refused before anything is read from them (a device or a pipe would
// never end or never start), as are files too large for a list and files that are no 8-bit text.
TEST_F(ListFilesTest, RefusesWhatIsNoTextListAndKeepsTheGrid)
{
    fill(*m_parts, {{"Kept", "100", "1"}});
    const QString fifo = m_dir.filePath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString tooLarge = write("large.txt", "P1\t1\t1\n");
    ASSERT_TRUE(QFile::resize(tooLarge, lists::kMaxListFileBytes + 1));
    struct Refusal {
        QString path;
        QString message;
    };
    const std::vector<Refusal> refusals = {
        {"/dev/zero", "/dev/zero is not a list file: only regular files can be read."},
        {fifo, fifo + " is not a list file: only regular files can be read."},
        {tooLarge, tooLarge + " is 16.0 MB, larger than a list file can be (at most 16 MB)."},
    };
    for (const Refusal& refusal : refusals) {
        EXPECT_EQ(LoadPartsFile(*m_parts, refusal.path, kPartsText).error, refusal.message);
        EXPECT_EQ(row(*m_parts, 2), QStringList({"Kept", "100", "1"}));
    }
    for (const QByteArray& bytes :
         {QByteArray("P1\t1\t1\n\0\n", 9), QByteArray("\xFF\xFEP\0001\0", 6), QByteArray("P\0001\0\t\0", 6)}) {
        const QString path = write("binary.txt", bytes);
        EXPECT_EQ(LoadStocksFile(*m_stocks, path, kStocksText).error,
                  path + " is not a text list: it holds NUL bytes or is written in UTF-16.");
    }

    // A list of exactly the largest size is read.
    const QString largest = write("largest.txt", "P1\t1\t1\n" + QByteArray(lists::kMaxListFileBytes - 7, ' '));
    EXPECT_TRUE(LoadPartsFile(*m_parts, largest, kPartsText).ok);
    EXPECT_EQ(row(*m_parts, 2), QStringList({"P1", "1", "1"}));
}

// Quantities written with a thousands separator, units behind numbers, a cost with a decimal comma: the
// line splitter cuts them into more fields than the layout reads. They load, and the notice says what was
// not used, line by line.
TEST_F(ListFilesTest, NoticeListsTheTextThatWasNotUsed)
{
    FileResult result =
        LoadPartsFile(*m_parts, write("p.txt", "P1\t1200\t4\nP2 800 1 000\nP3 900 5 pcs\n"), kPartsText);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(row(*m_parts, 3), QStringList({"P2", "800", "1"}));
    EXPECT_EQ(result.notice, "Some text in " + m_dir.filePath("p.txt") +
                                 " was not used:\nline 2: the extra text \"000\" was ignored.\n"
                                 "line 3: the extra text \"pcs\" was ignored.");

    const QByteArray stocks = "Tube\t6000\t20\t2,5\nBar\t5000\t1\t3\tNo\tspare\nOld\t4000\t1\t0\tyes\n";
    result = LoadStocksFile(*m_stocks, write("s.txt", stocks), kStocksText);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"Tube", "6000", "20", "2", "5", ""}));
    EXPECT_EQ(result.notice.split(u'\n').mid(1),
              QStringList({"line 1: the priority \"5\" is neither \"Yes\" nor \"No\" and counts as \"No\".",
                           "line 2: the extra text \"spare\" was ignored.",
                           "line 3: the priority \"yes\" is neither \"Yes\" nor \"No\" and counts as \"No\"."}));

    // Ten lines are named, the rest counted; a long extra text is cut short.
    QByteArray sfcad = "h\nh\nh\n";
    for (int i = 0; i < 13; ++i)
        sfcad += "1,A,x,100,y,2,extra," + QByteArray(60, 'z') + "\n";
    result = LoadPartsFile(*m_parts, write("p.nbt", sfcad), kPartsSfcad);
    const QStringList notice = result.notice.split(u'\n');
    ASSERT_EQ(notice.size(), 12);
    EXPECT_EQ(notice[1], "line 4: the extra text \"extra " + QString(34, u'z') + "…\" was ignored.");
    EXPECT_EQ(notice[11], QStringLiteral("and 3 more."));

    EXPECT_EQ(LoadPartsFile(*m_parts, write("clean.txt", "P1\t1200\t4\n"), kPartsText).notice, QString());
}
