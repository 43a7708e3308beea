#include "exchange/remnant_stocks.h"

#include "calculation/grids.h"
#include "lists/list_files.h"
#include "support/grid_fixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using calculation::GridModel;

class RemnantStocksTest : public GridTest {
protected:
    QByteArray read(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
    std::unique_ptr<GridModel> m_layout{calculation::createLayoutGrid()};
};

TEST_F(RemnantStocksTest, SaveLeftWritesTheUnusedBarsOfEveryRowThatHasSome)
{
    // Before any calculation "Left Qty" is empty: an empty file, count 0.
    fill(*m_stocks, {{"S6", "6000", "3", "10", "Yes"}, {"S4", "4000", "2", "7", "No"}});
    const QString path = m_dir.filePath("left.txt");
    exchange::RemnantSave saved = exchange::saveLeftStocks(*m_stocks, path);
    ASSERT_TRUE(saved.result.ok);
    EXPECT_EQ(saved.count, 0);
    EXPECT_EQ(read(path), QByteArray());

    // "0" and blanks are skipped; the count is copied as it stands, an empty cost becomes "0" and an empty
    // priority stays an empty fifth field.
    fill(*m_stocks, {{"S6", "6000", "3", "10", "Yes", "0"},
                     {"S5", "5000", "4", "", "", " 2"},
                     {"S4", "4000", "2", "7", "No", " "},
                     {"S3", "3000", "9", "1", "No", "9"}});
    saved = exchange::saveLeftStocks(*m_stocks, path);
    ASSERT_TRUE(saved.result.ok);
    EXPECT_EQ(saved.count, 2);
    EXPECT_EQ(read(path), QByteArray("S5\t5000\t 2\t0\t\r\nS3\t3000\t9\t1\tNo\r\n"));

    // The file reads back as stocks, the empty priority as "Yes".
    std::unique_ptr<GridModel> again(calculation::createStocksGrid());
    ASSERT_TRUE(lists::LoadStocksFile(*again, path, lists::kStocksText).ok);
    EXPECT_EQ(row(*again, 2), QStringList({"S5", "5000", "2", "0", "Yes", ""}));
}

TEST_F(RemnantStocksTest, ExpLeftWritesEachRemnantRunOnceWithItsPieces)
{
    // Layout rows 2 to 7: rows 5 and 6 share the label L1, row 7 carries L2.
    fill(*m_layout, {{"1", "S6", "6000", "4", "0", "A x 5", ""},
                     {"2", "S6", "6000", "1", "10", "B x 3", ""},
                     {"3", "S6", "6000", "2", "8", "A x 2", ""},
                     {"4", "S6", "6000", "2", "900", "C x 1", "L1"},
                     {"5", "S6", "6000", "3", "900", "C x 1", "L1"},
                     {"6", "S4", "4000", "1", "1500", "A x 2", "L2"}});
    const QString path = m_dir.filePath("remnants.xls");
    exchange::RemnantSave exported = exchange::exportRemnants(*m_layout, path);
    ASSERT_TRUE(exported.result.ok);
    EXPECT_EQ(exported.count, 2);
    EXPECT_EQ(read(path), QByteArray("L1\t900\t5\t0\tYes\r\nL2\t1500\t1\t0\tYes\r\n"));

    fill(*m_layout, {{"1", "S6", "6000", "4", "700", "A x 5", "L9"}});
    EXPECT_EQ(exchange::remnantStockLines(*m_layout), QStringList({"L9\t700\t4\t0\tYes"}));
    fill(*m_layout, {{"1", "S6", "6000", "4", "0", "A x 5", ""}});
    exported = exchange::exportRemnants(*m_layout, path);
    EXPECT_EQ(exported.count, 0);
    EXPECT_EQ(read(path), QByteArray());
}

struct ImportCase {
    const char* name;
    std::vector<QStringList> rows;
    QStringList totals;
    const char* text;
    int rowsAfter;
    int lastFilledRow;
    QStringList lastFilled;
    QStringList totalsAfter;
};

class ImportLeftTest : public RemnantStocksTest, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(ImportLeftTest, AppendsBelowTheLastLengthAndAddsToTheTotals)
{
    const ImportCase& c = GetParam();
    if (!c.rows.empty())
        fill(*m_stocks, c.rows);
    for (int column = 1; column <= 3; ++column)
        m_stocks->setCell(column, GridModel::kTotalsRow, c.totals.value(column - 1));
    const lists::FileResult result = exchange::appendStockText(*m_stocks, QString::fromUtf8(c.text), "left.txt");
    ASSERT_TRUE(result.ok) << result.message().toStdString();
    EXPECT_EQ(m_stocks->rows(), c.rowsAfter);
    EXPECT_EQ(row(*m_stocks, c.lastFilledRow).mid(0, 5), c.lastFilled);
    EXPECT_EQ(row(*m_stocks, c.rowsAfter - 1), QStringList({"", "", "", "", "", ""}));
    EXPECT_EQ(row(*m_stocks, 0).mid(1, 3), c.totalsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, ImportLeftTest,
    ::testing::Values(
        // A fresh grid: rows 2 on, one blank row after; the totals are those of the lines.
        ImportCase{"Fresh",
                   {},
                   {},
                   "L1\t900\t5\t0\tYes\r\n\r\n0\r\nL2\t1500\t1\t2\tNo\r\n",
                   5,
                   3,
                   {"L2", "1500", "1", "2", "No"},
                   {"6000", "6", "2"}},
        // The last row filled: every line kept and a blank row added.
        ImportCase{"Full",
                   {{"S6", "6000", "1", "0", "Yes"}},
                   {"1000", "2", "0"},
                   "S\t500\t2\t10",
                   5,
                   3,
                   {"S", "500", "2", "10", "Yes"},
                   {"2000", "4", "20"}},
        // Blank rows after the last length stay at the end; a line of blanks gets cost 0 and "Yes".
        ImportCase{"Blanks",
                   {{"S6", "6000", "1", "0", "Yes"}, {}, {}},
                   {"6000", "1", "0"},
                   "R 700 3",
                   6,
                   3,
                   {"R", "700", "3", "0", "Yes"},
                   {"8100", "4", "0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RemnantStocksTest, ImpLeftWithABadLineAppendsNothing)
{
    fill(*m_stocks, {{"S6", "6000", "1", "0", "Yes"}});
    m_stocks->setCell(1, 0, QStringLiteral("6000"));
    const std::vector<QStringList> before = {row(*m_stocks, 0), row(*m_stocks, 2)};
    struct Bad {
        const char* text;
        int line;
        QString error;
    };
    const Bad bads[] = {
        {"A\t100\t1\n\nB\t200\t1\nC\t300\t1\nD\t400\t1\nE\t500\t1\nF\t600\t2.5\n", 7,
         "the quantity \"2.5\" is not a whole number"},
        {"A\t100\t1\nB\t200", 2, "the line holds 2 field(s), but a stock needs a label, a length and a quantity"},
        {"A\tlong\t1", 1, "the length \"long\" is not a number"},
        {"A\t100\t1\tfree", 1, "the cost \"free\" is not a number"}};
    for (const Bad& bad : bads) {
        const QString path = m_dir.filePath("bad.txt");
        const lists::FileResult result = exchange::appendStockText(*m_stocks, QString::fromUtf8(bad.text), path);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.line, bad.line);
        EXPECT_EQ(result.message(), path + ", line " + QString::number(bad.line) + ": " + bad.error);
        EXPECT_EQ(m_stocks->rows(), 3);
        EXPECT_EQ((std::vector<QStringList>{row(*m_stocks, 0), row(*m_stocks, 2)}), before);
    }
    EXPECT_FALSE(exchange::importLeftStocks(*m_stocks, m_dir.filePath("missing.txt")).ok);
}
