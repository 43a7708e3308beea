#include "calculation/grids.h"
#include "support/grid_fixture.h"

#include <QAbstractItemModelTester>

#include <memory>

using calculation::GridModel;

namespace {

QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings.append(message);
}

} // namespace

class GridModelTest : public GridTest {};

// The tester checks every signal and answer of the model while rows and cells change under it.
TEST_F(GridModelTest, StaysAConsistentModelThroughEdits)
{
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    {
        GridModel grid(6);
        QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::Warning);
        grid.setRows(8);
        grid.setCell(0, 2, QStringLiteral("S1"));
        grid.setData(grid.index(3, 1), QStringLiteral("6000"));
        grid.insertRows(4, 2);
        grid.removeRows(2, 3);
        grid.clearCells(2, 0, 5);
        grid.setRows(0);
        grid.setRows(3);
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(g_warnings, QStringList());
}

TEST_F(GridModelTest, KeepsItsTwoFixedRows)
{
    GridModel grid(3);
    EXPECT_EQ(grid.rows(), 3);
    grid.setRows(1);
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_FALSE(grid.removeRows(1, 1));
    EXPECT_FALSE(grid.insertRows(1, 1));
    EXPECT_TRUE(grid.insertRows(2, 2));
    EXPECT_EQ(grid.rows(), 4);
    EXPECT_FALSE(grid.removeRows(3, 2));
    grid.setCell(0, 4, QStringLiteral("x"));
    EXPECT_EQ(grid.rows(), 4);
}

TEST_F(GridModelTest, GridsStartWithTheirHeadersAndOneEmptyRow)
{
    std::unique_ptr<GridModel> parts(calculation::createPartsGrid());
    std::unique_ptr<GridModel> stocks(calculation::createStocksGrid());
    std::unique_ptr<GridModel> layout(calculation::createLayoutGrid());
    EXPECT_EQ(row(*parts, 0), QStringList({"Total", "", ""}));
    EXPECT_EQ(row(*parts, 1), QStringList({"Label", "Length", "Qty"}));
    EXPECT_EQ(row(*stocks, 0), QStringList({"Total", "", "", "", "", ""}));
    EXPECT_EQ(row(*stocks, 1), QStringList({"Label", "Length", "Qty", "Cost", "Priority", "Left Qty"}));
    EXPECT_EQ(row(*layout, 1),
              QStringList({"No.", "Label", "Length", "Qty", "Left Len", "Cutting Layout", "Left Lable"}));
    for (const GridModel* grid : {parts.get(), stocks.get(), layout.get()}) {
        EXPECT_EQ(grid->rows(), 3);
        EXPECT_EQ(row(*grid, 2), QStringList(grid->columns(), QString()));
    }
    // The calculation compares whole columns, fixed rows included.
    EXPECT_EQ(parts->columnText(1), QStringLiteral("\nLength\n\n"));
}

TEST_F(GridModelTest, FixedRowsLeftQtyAndLayoutCellsRefuseEditing)
{
    std::unique_ptr<GridModel> stocks(calculation::createStocksGrid());
    std::unique_ptr<GridModel> layout(calculation::createLayoutGrid());
    const Qt::ItemFlags editable = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    EXPECT_EQ(stocks->flags(stocks->index(2, 4)), editable);
    EXPECT_EQ(stocks->flags(stocks->index(2, 5)), Qt::ItemIsEnabled);
    EXPECT_EQ(stocks->flags(stocks->index(1, 0)), Qt::ItemIsEnabled);
    EXPECT_EQ(layout->flags(layout->index(2, 5)), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    EXPECT_TRUE(stocks->isUnselectable(5, 2));
    EXPECT_FALSE(stocks->isUnselectable(5, 0));
    EXPECT_FALSE(stocks->isUnselectable(4, 2));

    EXPECT_FALSE(stocks->setData(stocks->index(2, 5), QStringLiteral("3")));
    EXPECT_FALSE(stocks->setData(stocks->index(0, 1), QStringLiteral("3")));
    EXPECT_FALSE(layout->setData(layout->index(2, 0), QStringLiteral("3")));
    EXPECT_TRUE(stocks->setData(stocks->index(2, 4), QStringLiteral("No")));
    // The calculation writes "Left Qty" through the cells, not through an editor.
    stocks->setCell(5, 2, QStringLiteral("3"));
    EXPECT_EQ(row(*stocks, 2), QStringList({"", "", "", "", "No", "3"}));
    EXPECT_EQ(row(*stocks, 0), QStringList({"Total", "", "", "", "", ""}));
}

// A cell of a list never holds TAB, CR or LF, whoever writes it, so a saved list keeps one line per row.
TEST_F(GridModelTest, ListCellsHoldOneLine)
{
    std::unique_ptr<GridModel> parts(calculation::createPartsGrid());
    parts->setCell(0, GridModel::kFirstDataRow, "A\tB\r\nC");
    EXPECT_TRUE(parts->setData(parts->index(GridModel::kFirstDataRow, 1), "12\n00"));
    EXPECT_EQ(row(*parts, GridModel::kFirstDataRow), QStringList({"A B  C", "12 00", ""}));
    // The setCells of undo and of a list read into a copy go the same way; the layout table is no list.
    parts->setCells({{"Total"}, {"Label"}, {"x\ty"}});
    EXPECT_EQ(parts->cell(0, GridModel::kFirstDataRow), QStringLiteral("x y"));
    std::unique_ptr<GridModel> layout(calculation::createLayoutGrid());
    layout->setCell(5, GridModel::kFirstDataRow, "A x 2\tB");
    EXPECT_EQ(layout->cell(5, GridModel::kFirstDataRow), QStringLiteral("A x 2\tB"));
}
