#include "calculation/grids.h"
#include "mainwindow/grid_input.h"
#include "support/grid_fixture.h"

#include <memory>

using calculation::GridModel;
using mainwindow::InputGrid;

TEST(EnterKey, MovesRightThenToTheNextRowAddingOneAtTheEnd)
{
    struct Case {
        InputGrid kind;
        int column, row, rowCount;
        int nextColumn, nextRow;
        bool addsRow;
    };
    const Case cases[] = {{InputGrid::Parts, 0, 2, 3, 1, 2, false}, {InputGrid::Parts, 2, 2, 3, 0, 3, true},
                          {InputGrid::Parts, 2, 2, 5, 0, 3, false}, {InputGrid::Stocks, 3, 2, 3, 4, 2, false},
                          {InputGrid::Stocks, 4, 4, 5, 0, 5, true}, {InputGrid::Stocks, 4, 3, 5, 0, 4, false}};
    for (const Case& c : cases) {
        const mainwindow::CellMove move = mainwindow::nextCellOnEnter(c.kind, c.column, c.row, c.rowCount);
        EXPECT_EQ(move.column, c.nextColumn) << c.column << "," << c.row;
        EXPECT_EQ(move.row, c.nextRow) << c.column << "," << c.row;
        EXPECT_EQ(move.addsRow, c.addsRow) << c.column << "," << c.row;
    }
}

TEST(TypedText, IntegerColumnsDropWhatIsNotAnInteger)
{
    struct Case {
        InputGrid kind;
        int column;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {InputGrid::Parts, 2, "2", "2"},        {InputGrid::Parts, 2, "2a", ""},    {InputGrid::Parts, 2, "12.5", ""},
        {InputGrid::Parts, 1, "12.5", "12.5"},  {InputGrid::Parts, 0, "x", "x"},    {InputGrid::Stocks, 1, "12.5", ""},
        {InputGrid::Stocks, 1, "12.", ""},      {InputGrid::Stocks, 2, "-", ""},    {InputGrid::Stocks, 3, "-4", "-4"},
        {InputGrid::Stocks, 0, "12.5", "12.5"}, {InputGrid::Stocks, 4, "No", "No"}, {InputGrid::Stocks, 2, "", ""}};
    for (const Case& c : cases) {
        const QString typed = QString::fromUtf8(c.typed);
        EXPECT_EQ(mainwindow::acceptTypedText(c.kind, c.column, 2, typed), QString::fromUtf8(c.kept))
            << c.column << " " << c.typed;
        // A removed text says why; a text that stands says nothing.
        EXPECT_EQ(mainwindow::typedTextRefusal(c.kind, c.column, 2, typed).isEmpty(), typed == c.kept)
            << c.column << " " << c.typed;
    }
    EXPECT_EQ(mainwindow::typedTextRefusal(InputGrid::Parts, 2, 2, QStringLiteral("2a")),
              QStringLiteral("Qty takes whole numbers"));
    EXPECT_EQ(mainwindow::typedTextRefusal(InputGrid::Stocks, 3, 2, QStringLiteral("1.5")),
              QStringLiteral("Cost takes whole numbers"));
}

class PasteTest : public GridTest {
protected:
    std::unique_ptr<GridModel> m_parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
};

TEST_F(PasteTest, LinesFillRowsAndLeaveTheTotalsAlone)
{
    const QString text = QStringLiteral("A\t100\t2\r\nB\t200\t3\r\n");
    m_parts->setCell(1, 0, QStringLiteral("7"));
    EXPECT_EQ(mainwindow::pasteRows(*m_parts, InputGrid::Parts, text), 2);
    EXPECT_EQ(m_parts->rows(), 5);
    EXPECT_EQ(row(*m_parts, 2), QStringList({"A", "100", "2"}));
    EXPECT_EQ(row(*m_parts, 3), QStringList({"B", "200", "3"}));
    EXPECT_EQ(row(*m_parts, 4), QStringList({"", "", ""}));
    EXPECT_EQ(row(*m_parts, 0), QStringList({"Total", "7", ""}));

    EXPECT_EQ(mainwindow::pasteRows(*m_stocks, InputGrid::Stocks, text), 2);
    EXPECT_EQ(m_stocks->rows(), 5);
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"A", "100", "2", "0", "Yes", ""}));
    EXPECT_EQ(row(*m_stocks, 3), QStringList({"B", "200", "3", "0", "Yes", ""}));
}

TEST_F(PasteTest, ASingleLineIsNotPasted)
{
    for (const char* text : {"A\t100\t2", "A\t100\t2\r\n", ""})
        EXPECT_EQ(mainwindow::pasteRows(*m_parts, InputGrid::Parts, QString::fromUtf8(text)), 0);
    EXPECT_EQ(m_parts->rows(), 3);
    EXPECT_EQ(row(*m_parts, 2), QStringList({"", "", ""}));
}

// Number cells take positive integers only; a cell that gets none keeps its text.
TEST_F(PasteTest, OnlyPositiveIntegersReachTheNumberCells)
{
    fill(*m_parts, {{"P1", "1", "1"}, {"", "99", "98"}, {"", "", ""}, {"P4", "4", "4"}});
    const QString text = QStringLiteral("C\t12.5\t4\nD\t\t7\nE\t1\t2\t3\nF\t-5\t0");
    EXPECT_EQ(mainwindow::pasteRows(*m_parts, InputGrid::Parts, text), 3);
    EXPECT_EQ(row(*m_parts, 3), QStringList({"C", "99", "4"}));
    EXPECT_EQ(row(*m_parts, 4), QStringList({"", "", ""}));
    EXPECT_EQ(row(*m_parts, 6), QStringList({"D", "7", ""}));
    EXPECT_EQ(row(*m_parts, 7), QStringList({"F", "", ""}));
    EXPECT_EQ(m_parts->rows(), 9);
}

TEST_F(PasteTest, StockLinesTakeUpToFourFields)
{
    fill(*m_stocks, {{"S1", "1", "1", "1", "No", "3"}});
    const QString text = QStringLiteral("A\t100\t2\t15\nB\t100\t2\t1.5\nC\t1\t1\t1\tNo");
    EXPECT_EQ(mainwindow::pasteRows(*m_stocks, InputGrid::Stocks, text), 2);
    EXPECT_EQ(row(*m_stocks, 3), QStringList({"A", "100", "2", "15", "Yes", ""}));
    EXPECT_EQ(row(*m_stocks, 4), QStringList({"B", "100", "2", "", "Yes", ""}));
    EXPECT_EQ(row(*m_stocks, 5), QStringList({"", "", "", "", "", ""}));
    EXPECT_EQ(m_stocks->rows(), 6);
}
