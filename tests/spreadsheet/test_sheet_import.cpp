#include "spreadsheet_fixture.h"

#include "calculation/grids.h"
#include "spreadsheet/sheet_import.h"

#include <memory>

using calculation::GridModel;
using spreadsheet::ImportPartsSheet;
using spreadsheet::ImportStocksSheet;
using spreadsheet::SheetCells;

class SheetImportTest : public GridTest {
protected:
    static SheetCells sheetOf(const std::vector<QStringList>& rows)
    {
        SheetCells sheet;
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                sheet.setCell(r + 1, c + 1, rows[r][c]);
        return sheet;
    }

    std::unique_ptr<GridModel> m_parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
};

TEST_F(SheetImportTest, PartsReplaceTheGridSkippingRowsWithoutQuantity)
{
    fill(*m_parts, {{"old", "1", "1"}, {"old", "2", "2"}, {"old", "3", "3"}, {"old", "4", "4"}});
    m_parts->setCell(1, 0, "999");
    ASSERT_TRUE(ImportPartsSheet(*m_parts, readFixture("empty_qty.xls")).ok);
    EXPECT_EQ(m_parts->rows(), 5);
    EXPECT_EQ(row(*m_parts, 0), QStringList({"Total", "1000", "4"}));
    EXPECT_EQ(row(*m_parts, 2), QStringList({"A", "100", "1"}));
    EXPECT_EQ(row(*m_parts, 3), QStringList({"C", "300", "3"}));
    EXPECT_EQ(row(*m_parts, 4), QStringList({"", "", ""}));
}

TEST_F(SheetImportTest, AnEmptySheetLeavesHeadersAndZeroTotals)
{
    fill(*m_stocks, {{"old", "1", "1", "1", "No", "7"}});
    m_stocks->setCell(5, 0, "7");
    ASSERT_TRUE(ImportStocksSheet(*m_stocks, readFixture("empty.xls")).ok);
    EXPECT_EQ(m_stocks->rows(), 3);
    EXPECT_EQ(row(*m_stocks, 0).mid(1), QStringList({"0", "0", "0", "", ""}));
    EXPECT_EQ(row(*m_stocks, 1).first(), "Label");
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"", "", "", "", "", ""}));
}

TEST_F(SheetImportTest, StocksKeepPriorityAndLeftQtyEmpty)
{
    fill(*m_stocks, {{"old", "1", "1", "1", "No", "7"}});
    ASSERT_TRUE(ImportStocksSheet(*m_stocks, readFixture("job_stocks.xlsx")).ok);
    EXPECT_EQ(row(*m_stocks, 0).mid(1, 3), QStringList({"36000", "7", "74.5"}));
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"Bar", "6000", "5", "12.5", "", ""}));
    EXPECT_EQ(row(*m_stocks, 3), QStringList({"Short", "3000", "2", "6", "", ""}));
    EXPECT_EQ(m_stocks->rows(), 5);
}

TEST_F(SheetImportTest, ABadRowImportsNothingAndNamesTheSheetRow)
{
    const struct {
        SheetCells sheet;
        bool stocks;
        const char* error;
    } cases[] = {
        {readFixture("header_row.xls"), false, "sheet row 1: the quantity \"Qty\" is not a whole number"},
        {readFixture("three_columns.xls"), true, "sheet row 1: the cost in column 4 is empty"},
        {readFixture("date_qty.xlsx"), false, "sheet row 1: the quantity \"2024-01-31\" is not a whole number"},
        {readFixture("bool_length.xlsx"), false, "sheet row 1: the length \"TRUE\" is not a number"},
        {sheetOf({{"A", "1", "1", "2"}, {"B", "1", "1", "2"}, {"C", "1", "1", "x"}}), true,
         "sheet row 3: the cost \"x\" is not a number"},
        {sheetOf({{"A", "1", "1"}, {"B", "1", "2147483648"}}), false,
         "sheet row 2: the quantity \"2147483648\" is not a whole number"},
    };
    for (const auto& c : cases) {
        GridModel& grid = c.stocks ? *m_stocks : *m_parts;
        fill(grid, {{"old", "1", "1", "1"}});
        grid.setCell(1, 0, "1");
        const calculation::FileResult result =
            c.stocks ? ImportStocksSheet(grid, c.sheet) : ImportPartsSheet(grid, c.sheet);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(grid.rows(), 3);
        EXPECT_EQ(grid.cell(0, 2), "old");
        EXPECT_EQ(grid.cell(1, 0), "1");
    }
}
