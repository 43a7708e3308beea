#include "spreadsheet_fixture.h"

#include "spreadsheet/isolated_run.h"

#include <QFile>

#include <cstdlib>

#include <unistd.h>

using spreadsheet::readWorkbook;
using spreadsheet::SheetCells;
using spreadsheet::WorkbookKind;

class WorkbookReaderTest : public GridTest {};

TEST_F(WorkbookReaderTest, EveryKindGivesTheSameCellTexts)
{
    for (const char* name : {"job_parts.xls", "job_parts.xlsx", "job_parts.ods"}) {
        SCOPED_TRACE(name);
        const SheetCells sheet = readFixture(name);
        EXPECT_EQ(sheet.rowCount(), 3);
        EXPECT_EQ(sheetRow(sheet, 1), QStringList({"P1", "1200", "4"}));
        EXPECT_EQ(sheetRow(sheet, 2), QStringList({"P2", "850.5", "2"}));
        EXPECT_EQ(sheetRow(sheet, 3), QStringList({"P3", "300", "10"}));
    }
}

TEST_F(WorkbookReaderTest, WhereTheSheetAndItsDataAre)
{
    for (const char* name : {"second_active.xlsx", "second_active.ods"})
        EXPECT_EQ(sheetRow(readFixture(name), 1), QStringList({"P1", "1200", "4"})) << name;

    const SheetCells row20 = readFixture("row20.xlsx");
    EXPECT_EQ(row20.rowCount(), 22);
    EXPECT_EQ(sheetRow(row20, 19), QStringList({"", "", ""}));
    EXPECT_EQ(sheetRow(row20, 20), QStringList({"P1", "1200", "4"}));
}

TEST_F(WorkbookReaderTest, FormulasDatesAndBooleansAsText)
{
    EXPECT_EQ(sheetRow(readFixture("formula.xlsx"), 1), QStringList({"F", "600", "6"}));
    EXPECT_EQ(readFixture("date_qty.xlsx").cell(1, 3), "2024-01-31");
    EXPECT_EQ(readFixture("bool_length.xlsx").cell(1, 2), "TRUE");
}

TEST_F(WorkbookReaderTest, DamagedOrForeignFilesFailWithTheLibrarysReason)
{
    const struct {
        const char* file;
        WorkbookKind kind;
    } cases[] = {{"damaged.xlsx", WorkbookKind::Xlsx},       {"damaged.xls", WorkbookKind::Xls},
                 {"job_parts.txt", WorkbookKind::Xlsx},      {"job_parts.txt", WorkbookKind::Ods},
                 {"job_parts.txt", WorkbookKind::Xls},       {"job_parts.xlsx", WorkbookKind::Ods},
                 {"openpyxl_as_is.xlsx", WorkbookKind::Xlsx}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        SheetCells sheet;
        const calculation::FileResult read = spreadsheet::readWorkbookFile(workbookPath(c.file), c.kind, sheet);
        EXPECT_FALSE(read.ok);
        EXPECT_TRUE(read.error.startsWith("Cant start Excel: ")) << read.error.toStdString();
        EXPECT_GT(read.error.size(), QString("Cant start Excel: ").size());
        EXPECT_EQ(sheet.rowCount(), 0);
    }
    SheetCells sheet;
    EXPECT_EQ(spreadsheet::readWorkbookFile(workbookPath("missing.xlsx"), WorkbookKind::Xlsx, sheet).error,
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
    readWorkbook("A,100,3\nB;x,200,4\n", WorkbookKind::Csv, sheet);
    EXPECT_EQ(sheetRow(sheet, 2), QStringList({"B;x", "200", "4"}));
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

// FreeXL overruns a stack buffer on this file (found by fuzzing): whatever it does, only the reader's
// child process pays for it.
TEST_F(WorkbookReaderTest, ReadersThatCrashOrHangCostOnlyTheirChildProcess)
{
    SheetCells sheet;
    const calculation::FileResult crafted =
        spreadsheet::readWorkbookFile(workbookPath("crafted.xls"), WorkbookKind::Xls, sheet);
    EXPECT_FALSE(crafted.ok);
    EXPECT_TRUE(crafted.error.startsWith("Cant start Excel: ")) << crafted.error.toStdString();

    QString failure;
    EXPECT_FALSE(spreadsheet::detail::runIsolated([]() -> std::string { std::abort(); }, 5, failure));
    EXPECT_EQ(failure, "the reader crashed on it (signal 6)");
    EXPECT_FALSE(spreadsheet::detail::runIsolated(
        []() -> std::string {
            pause();
            return {};
        },
        1, failure));
    EXPECT_EQ(failure, "the reader did not finish within 1 seconds");
    EXPECT_EQ(spreadsheet::detail::runIsolated([] { return std::string("cells"); }, 5, failure), "cells");
}
