#include "lists/list_files.h"
#include "mainwindow/list_dialogs.h"
#include "support/grid_fixture.h"

using mainwindow::nameFilters;

TEST(NameFilters, OneQtFilterPerPairInTheLoadersOrder)
{
    const QStringList parts = nameFilters(mainwindow::partsOpenDialog().filter);
    EXPECT_EQ(parts, QStringList({"Text file (*.txt)", "SFCAD file (*.nbt)", "MST file (*.txt)",
                                  "Pipe part file (*.dst)", "Excel file (*.xls)", "Excel 2007+ file (*.xlsx)",
                                  "OpenDocument spreadsheet (*.ods)", "CSV file (*.csv)"}));
    EXPECT_TRUE(parts.value(lists::kPartsExcel - 1).startsWith("Excel"));
    EXPECT_TRUE(parts.value(lists::kPartsCsv - 1).startsWith("CSV"));
    const QStringList stocks = nameFilters(mainwindow::stocksOpenDialog().filter);
    EXPECT_EQ(stocks,
              QStringList({"Text file (*.txt)", "Pipe stock file (*.stk)", "Excel file (*.xls)",
                           "Excel 2007+ file (*.xlsx)", "OpenDocument spreadsheet (*.ods)", "CSV file (*.csv)"}));
    EXPECT_TRUE(stocks.value(lists::kStocksExcel - 1).startsWith("Excel"));
    EXPECT_TRUE(stocks.value(lists::kStocksOds - 1).startsWith("OpenDocument"));
    EXPECT_EQ(nameFilters(mainwindow::layoutExportDialog().filter),
              QStringList({"Text file (*.txt)", "Excel file (*.xls)"}));
}

TEST(NameFilters, DescriptionsWithoutTheirPatternGetItAppended)
{
    // A translation may drop the pattern from the description; several patterns are listed with blanks.
    EXPECT_EQ(nameFilters(QStringLiteral("Lists|*.txt;*.stk|Odd (x)|*.dat")),
              QStringList({"Lists (*.txt *.stk)", "Odd (x) (*.dat)"}));
    EXPECT_EQ(nameFilters(QStringLiteral("Text file(*.txt)|*.txt|dangling")), QStringList{"Text file (*.txt)"});
    EXPECT_TRUE(nameFilters(QString()).isEmpty());
}
