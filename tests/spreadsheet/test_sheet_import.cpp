#include "spreadsheet_fixture.h"

#include "calculation/grids.h"
#include "spreadsheet/sheet_import.h"

#include <memory>

using calculation::GridModel;
using spreadsheet::Cell;
using spreadsheet::CellKind;
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
    static SheetCells withCell(SheetCells sheet, int row, int column, const Cell& cell)
    {
        sheet.setCell(row, column, cell);
        return sheet;
    }

    std::unique_ptr<GridModel> m_parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
};

TEST_F(SheetImportTest, PartsReplaceTheGridSkippingOnlyEmptyRows)
{
    fill(*m_parts, {{"old", "1", "1"}, {"old", "2", "2"}, {"old", "3", "3"}, {"old", "4", "4"}});
    m_parts->setCell(1, 0, "999");
    ASSERT_TRUE(ImportPartsSheet(*m_parts, sheetOf({{"A", "100", "1"}, {}, {"C", "300", "3"}}), "p.xlsx").ok);
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
    ASSERT_TRUE(ImportStocksSheet(*m_stocks, readFixture("empty.xls"), "e.xls").ok);
    EXPECT_EQ(m_stocks->rows(), 3);
    EXPECT_EQ(row(*m_stocks, 0).mid(1), QStringList({"0", "0", "0", "", ""}));
    EXPECT_EQ(row(*m_stocks, 1).first(), "Label");
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"", "", "", "", "", ""}));
}

TEST_F(SheetImportTest, StocksTakeTheirPriorityFromColumnFive)
{
    SheetCells sheet =
        sheetOf({{"Bar", "6000", "5", "12.5"}, {"Short", "3000", "2", "6", "No"}, {"Odd", "1000", "1", "0", "maybe"}});
    sheet.setCell(4, 1, "Flag");
    sheet.setCell(4, 2, "500");
    sheet.setCell(4, 3, "1");
    sheet.setCell(4, 4, "0");
    sheet.setCell(4, 5, Cell{CellKind::Boolean, "FALSE"});
    const calculation::FileResult imported = ImportStocksSheet(*m_stocks, sheet, "s.ods");
    ASSERT_TRUE(imported.ok);
    EXPECT_EQ(row(*m_stocks, 0).mid(1, 3), QStringList({"37500", "9", "74.5"}));
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"Bar", "6000", "5", "12.5", "", ""}));
    EXPECT_EQ(row(*m_stocks, 3), QStringList({"Short", "3000", "2", "6", "No", ""}));
    EXPECT_EQ(row(*m_stocks, 4)[4], "maybe");
    EXPECT_EQ(row(*m_stocks, 5)[4], "No");
    EXPECT_EQ(imported.notice,
              "s.ods row 3: the priority \"maybe\" is neither \"Yes\" nor \"No\" and counts as \"No\"");
}

TEST_F(SheetImportTest, ControlCharactersInLabelsBecomeSpacesAndAreTold)
{
    SheetCells sheet = sheetOf({{"A\tB\r\nC\x1b", "100", "1"}, {"Plain", "200", "2"}});
    sheet.setFirstSheetRead(2, "Parts");
    const calculation::FileResult imported = ImportPartsSheet(*m_parts, sheet, "p.xls");
    ASSERT_TRUE(imported.ok);
    EXPECT_EQ(m_parts->cell(0, 2), "A B  C ");
    EXPECT_EQ(imported.notice, "p.xls has 2 sheets; the first one, \"Parts\", was read\n"
                               "p.xls row 1: control characters in the label became spaces");
}

TEST_F(SheetImportTest, ABadRowImportsNothingAndNamesTheFileAndRow)
{
    const SheetCells good = sheetOf({{"A", "1", "1", "2"}, {"B", "1", "1", "2"}, {"C", "1", "1", "2"}});
    const struct {
        SheetCells sheet;
        bool stocks;
        const char* error;
        // The cell the failure points at, for a caller that goes to it.
        int row;
        int column;
    } cases[] = {
        {readFixture("header_row.xls"), false, "f row 1: the quantity \"Qty\" is not a whole number", 1, 3},
        {readFixture("three_columns.xls"), true,
         "f row 1: the cost is empty; if it holds a formula, save the workbook as .xlsx or .ods, as formulas of "
         "Excel 97-2003 workbooks can't be read",
         1, 4},
        {readFixture("date_qty.xlsx"), false, "f row 1: the quantity \"2024-01-31\" is not a whole number", 1, 3},
        {readFixture("bool_length.xlsx"), false, "f row 1: the length \"TRUE\" is not a number", 1, 2},
        {sheetOf({{"A", "1", "1"}, {"", "1", "1"}}), false, "f row 2: the label is empty", 2, 1},
        {sheetOf({{"A", "1", "1", "2"}, {"B", "1", "1", "2"}, {"C", "1", "1", "x"}}), true,
         "f row 3: the cost \"x\" is not a number", 3, 4},
        {sheetOf({{"A", "1", "1"}, {"B", "1", "2147483648"}}), false,
         "f row 2: the quantity \"2147483648\" is not a whole number", 2, 3},
        {withCell(good, 2, 2, {CellKind::NoResult, {}}), false,
         "f row 2: the length is a formula without a stored result; open and save the workbook in a spreadsheet "
         "program",
         2, 2},
        {withCell(good, 3, 3, {CellKind::Error, "#DIV/0!"}), false, "f row 3: the quantity is the error value #DIV/0!",
         3, 3},
        {withCell(good, 1, 1, {CellKind::Unreadable, {}}), false,
         "f row 1: the label can't be read: the workbook names a text it does not hold", 1, 1},
        {withCell(good, 2, 5, {CellKind::Error, "#N/A"}), true, "f row 2: the priority is the error value #N/A", 2, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        GridModel& grid = c.stocks ? *m_stocks : *m_parts;
        fill(grid, {{"old", "1", "1", "1"}});
        grid.setCell(1, 0, "1");
        const calculation::FileResult result =
            c.stocks ? ImportStocksSheet(grid, c.sheet, "f") : ImportPartsSheet(grid, c.sheet, "f");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message(), c.error);
        EXPECT_EQ(std::pair(result.row, result.column), std::pair(c.row, c.column));
        EXPECT_EQ(grid.rows(), 3);
        EXPECT_EQ(grid.cell(0, 2), "old");
        EXPECT_EQ(grid.cell(1, 0), "1");
    }
}
