#include "calculation/grids.h"
#include "mainwindow/grid_editing.h"
#include "support/grid_fixture.h"

#include <memory>

using calculation::GridModel;
using mainwindow::InputGrid;

class GridEditingTest : public GridTest {
protected:
    void setTotals(GridModel& grid, const QStringList& totals)
    {
        for (int c = 0; c < totals.size(); ++c)
            grid.setCell(c + 1, 0, totals[c]);
    }

    std::unique_ptr<GridModel> m_parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
};

TEST_F(GridEditingTest, AddedRowsAreEmptyExceptTheStockPriority)
{
    setTotals(*m_stocks, {"100", "1"});
    mainwindow::addRow(*m_parts, InputGrid::Parts);
    mainwindow::addRow(*m_stocks, InputGrid::Stocks);
    EXPECT_EQ(row(*m_parts, 3), QStringList({"", "", ""}));
    EXPECT_EQ(row(*m_stocks, 3), QStringList({"", "", "", "", "Yes", ""}));
    EXPECT_EQ(row(*m_stocks, 0), QStringList({"Total", "100", "1", "", "", ""}));
}

struct DeleteCase {
    InputGrid kind;
    QStringList deleted;
    QStringList totalsBefore;
    QStringList totalsAfter;
};

void PrintTo(const DeleteCase& c, std::ostream* out)
{
    PrintTo(c.deleted, out);
}

class DeleteRowTest : public GridEditingTest, public ::testing::WithParamInterface<DeleteCase> {};

// The row goes in every case; the totals only change when every number converts.
TEST_P(DeleteRowTest, CorrectsTheTotalsOnlyWhenEveryNumberConverts)
{
    const DeleteCase& c = GetParam();
    GridModel& grid = c.kind == InputGrid::Parts ? *m_parts : *m_stocks;
    const QStringList next = {"N", "10", "1", "1", "No", "4"};
    fill(grid, {c.deleted, next.mid(0, grid.columns())});
    setTotals(grid, c.totalsBefore);
    ASSERT_TRUE(mainwindow::deleteRow(grid, c.kind, 2));
    EXPECT_EQ(grid.rows(), 3);
    EXPECT_EQ(row(grid, 2), next.mid(0, grid.columns()));
    EXPECT_EQ(row(grid, 0).mid(1, c.totalsAfter.size()), c.totalsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeleteRowTest,
    ::testing::Values(
        DeleteCase{InputGrid::Parts, {"P1", "1200", "4"}, {"6400", "6"}, {"1600", "2"}},
        DeleteCase{InputGrid::Parts, {"P1", "0.1", "1"}, {"1", "4"}, {"0.899999976158142", "3"}},
        DeleteCase{InputGrid::Parts, {"P1", "1200", ""}, {"6400", "6"}, {"6400", "6"}},
        DeleteCase{InputGrid::Parts, {"P1", "abc", "4"}, {"6400", "6"}, {"6400", "6"}},
        DeleteCase{InputGrid::Parts, {"P1", "1200", "4"}, {"", "6"}, {"", "6"}},
        DeleteCase{
            InputGrid::Stocks, {"S1", "6000", "3", "12.5", "Yes", "1"}, {"26000", "5", "37.5"}, {"8000", "2", "0"}},
        DeleteCase{
            InputGrid::Stocks, {"S1", "6000", "3", "", "Yes", "1"}, {"26000", "5", "37.5"}, {"26000", "5", "37.5"}}));

TEST_F(GridEditingTest, TheLastDataRowCanBeDeletedAndAddedBack)
{
    fill(*m_parts, {{"P1", "1200", "4"}});
    EXPECT_TRUE(mainwindow::deleteRow(*m_parts, InputGrid::Parts, 2));
    EXPECT_EQ(m_parts->rows(), 2);
    EXPECT_FALSE(mainwindow::deleteRow(*m_parts, InputGrid::Parts, 2));
    mainwindow::addRow(*m_parts, InputGrid::Parts);
    EXPECT_EQ(m_parts->rows(), 3);
    EXPECT_EQ(row(*m_parts, 2), QStringList({"", "", ""}));
}

TEST_F(GridEditingTest, DeleteAllLeavesOneEmptyRowAndEmptyTotals)
{
    fill(*m_parts, {{"P1", "1200", "4"}, {"P2", "800", "2"}});
    setTotals(*m_parts, {"6400", "6"});
    mainwindow::deleteAll(*m_parts, InputGrid::Parts);
    EXPECT_EQ(m_parts->rows(), 3);
    EXPECT_EQ(row(*m_parts, 0), QStringList({"Total", "", ""}));
    EXPECT_EQ(row(*m_parts, 2), QStringList({"", "", ""}));

    fill(*m_stocks, {{"S1", "6000", "3", "1", "No", "2"}, {"S2", "4000", "1", "1", "No", "1"}});
    setTotals(*m_stocks, {"22000", "4", "4", "", "3"});
    mainwindow::deleteAll(*m_stocks, InputGrid::Stocks);
    EXPECT_EQ(m_stocks->rows(), 3);
    EXPECT_EQ(row(*m_stocks, 0), QStringList({"Total", "", "", "", "", "3"}));
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"", "", "", "", "", "2"}));
}

struct MultiplyCase {
    const char* multiplier;
    QStringList quantities;
    QStringList totals;
    QStringList quantitiesAfter;
    QStringList totalsAfter;
};

void PrintTo(const MultiplyCase& c, std::ostream* out)
{
    *out << c.multiplier << " x ";
    PrintTo(c.quantities, out);
}

class MultiplyTest : public GridEditingTest, public ::testing::WithParamInterface<MultiplyCase> {};

TEST_P(MultiplyTest, StopsAtTheFirstTextThatDoesNotConvert)
{
    const MultiplyCase& c = GetParam();
    std::vector<QStringList> rows;
    for (const QString& qty : c.quantities)
        rows.push_back({"P", "100", qty});
    fill(*m_parts, rows);
    setTotals(*m_parts, c.totals);
    mainwindow::multiplyQuantities(*m_parts, QString::fromUtf8(c.multiplier));
    QStringList quantities;
    for (int r = 2; r < m_parts->rows(); ++r)
        quantities.append(m_parts->cell(2, r));
    EXPECT_EQ(quantities, c.quantitiesAfter);
    EXPECT_EQ(row(*m_parts, 0).mid(1), c.totalsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Quantities, MultiplyTest,
    ::testing::Values(MultiplyCase{"3", {"", "2", "", "5"}, {"1200", "7"}, {"", "6", "", "15"}, {"3600", "21"}},
                      MultiplyCase{"3", {"2", "x", "5"}, {"1200", "7"}, {"6", "x", "5"}, {"1200", "7"}},
                      MultiplyCase{"3", {"2"}, {"", ""}, {"6"}, {"", ""}},
                      MultiplyCase{"3", {"1"}, {"0.100000001490116", "1"}, {"3"}, {"0.300000004470348", "3"}},
                      MultiplyCase{"-1", {"2"}, {"200", "2"}, {"-2"}, {"-200", "-2"}},
                      MultiplyCase{"2.5", {"2"}, {"200", "2"}, {"2"}, {"200", "2"}},
                      MultiplyCase{"2", {"2", "2000000000"}, {"200", "2"}, {"4", "2000000000"}, {"200", "2"}}));

TEST_F(GridEditingTest, PriorityWordsFollowTheLanguage)
{
    fill(*m_stocks, {{"S1", "", "", "", "Yes"}, {"S2", "", "", "", "No"}, {"S3"}, {"S4", "", "", "", "Maybe"}});
    mainwindow::retranslatePriorities(*m_stocks, "Yes", "No", "No", "Nein");
    QStringList words;
    for (int r = 2; r < m_stocks->rows(); ++r)
        words.append(m_stocks->cell(4, r));
    EXPECT_EQ(words, QStringList({"No", "Nein", "", "Maybe"}));
    EXPECT_EQ(m_stocks->cell(4, 1), QStringLiteral("Priority"));
}
