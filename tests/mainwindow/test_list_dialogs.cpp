#include "lists/list_files.h"
#include "mainwindow/list_dialogs.h"
#include "support/grid_fixture.h"

using mainwindow::nameFilters;

TEST(NameFilters, OneQtFilterPerPairInTheLoadersOrder)
{
    const QStringList parts = nameFilters(mainwindow::partsOpenDialog().filter);
    // "All supported files" first; then each entry at its source format's position.
    EXPECT_EQ(parts,
              QStringList({"All supported files (*.txt *.nbt *.dst *.xls *.xlsx *.ods *.csv)", "Text file (*.txt)",
                           "SFCAD file (*.nbt)", "MST file (*.txt)", "Pipe part file (*.dst)", "Excel file (*.xls)",
                           "Excel 2007+ file (*.xlsx)", "OpenDocument spreadsheet (*.ods)", "CSV file (*.csv)"}));
    EXPECT_TRUE(parts.value(lists::kPartsExcel).startsWith("Excel"));
    EXPECT_TRUE(parts.value(lists::kPartsCsv).startsWith("CSV"));
    const QStringList stocks = nameFilters(mainwindow::stocksOpenDialog().filter);
    EXPECT_EQ(stocks, QStringList({"All supported files (*.txt *.stk *.xls *.xlsx *.ods *.csv)", "Text file (*.txt)",
                                   "Pipe stock file (*.stk)", "Excel file (*.xls)", "Excel 2007+ file (*.xlsx)",
                                   "OpenDocument spreadsheet (*.ods)", "CSV file (*.csv)"}));
    EXPECT_TRUE(stocks.value(lists::kStocksExcel).startsWith("Excel"));
    EXPECT_TRUE(stocks.value(lists::kStocksOds).startsWith("OpenDocument"));
    // Under "All supported files" the file's name chooses the reader.
    EXPECT_EQ(mainwindow::chosenFormat(document::ListKind::Parts, {"/a/b.ods", 1}), lists::kPartsOds);
    EXPECT_EQ(mainwindow::chosenFormat(document::ListKind::Parts, {"/a/b.txt", 4}), lists::kPartsMst);
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
