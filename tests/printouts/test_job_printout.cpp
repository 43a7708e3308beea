#include "calculation/calculation_run.h"
#include "calculation/grids.h"
#include "lists/list_files.h"
#include "printouts/job_printout.h"
#include "support/gui_environment.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace {

[[maybe_unused]] ::testing::Environment* const guiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

class NoMessages : public calculation::MessageSink {
public:
    void showMessage(const QString& text, calculation::MessageIcon) override { ADD_FAILURE() << text.toStdString(); }
};

// The example job calculated as "Calc" does, with the genetic search alone and a fixed seed.
class ExampleJob : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lists::LoadPartsFile(*parts, BARVIK_SOURCE_DIR "/examples/parts.txt", lists::kPartsText).ok);
        ASSERT_TRUE(lists::LoadStocksFile(*stocks, BARVIK_SOURCE_DIR "/examples/stocks.txt", lists::kStocksText).ok);
        calculation::CalcControls controls;
        controls.bladeWidth = QStringLiteral("3");
        controls.stubLength = QStringLiteral("10");
        controls.qualityLevel = 1;
        controls.exactSearch = false;
        calculation::CalculationRun run({*parts, *stocks, *layout}, lastRun, messages, clock);
        optimizer::RandomSource random(1);
        ASSERT_TRUE(run.run(controls, random));
        source = {run.shownPlan(), run.shownParts(), run.shownStocks(), 3, 10, 0, 15, 1, run.qualityText()};
        plan = diagrams::diagramsOfTable(source, *layout, controls.reuseLength);
    }

    // The rows each table prints, every row once however many pages it spans.
    static std::map<int, std::set<int>> printedRows(const printing::TjvGridPrinter& printer)
    {
        std::map<int, std::set<int>> rows;
        for (int index = 0; index < printer.pageCount(); ++index)
            for (const printing::RowSlice& slice : printer.page(index).rows)
                if (slice.row >= 0)
                    rows[slice.table].insert(slice.row);
        return rows;
    }

    static std::set<int> allRows(const calculation::GridModel& grid)
    {
        std::set<int> rows;
        for (int row = 0; row < grid.rows(); ++row)
            if (!grid.cell(0, row).isEmpty())
                rows.insert(row);
        return rows;
    }

    printouts::JobPrintout printout(printouts::PrintMode mode)
    {
        return printouts::JobPrintout(printouts::printContents(mode), {*layout, *parts, *stocks}, &plan,
                                      printouts::jobHeading(QStringLiteral("Hall 4"), QStringLiteral("mm"), &source),
                                      clock);
    }

    std::unique_ptr<calculation::GridModel> parts{calculation::createPartsGrid()};
    std::unique_ptr<calculation::GridModel> stocks{calculation::createStocksGrid()};
    std::unique_ptr<calculation::GridModel> layout{calculation::createLayoutGrid()};
    optimizer::strGroupArg lastRun;
    NoMessages messages;
    calculation::Clock clock;
    diagrams::DiagramSource source;
    diagrams::PlanDiagrams plan;
};

} // namespace

TEST_F(ExampleJob, LayoutsOnOneA4PortraitPageUnderTheJob)
{
    printouts::JobPrintout layouts = printout(printouts::PrintMode::Layouts);
    printing::TjvGridPrinter& printer = *layouts.tables();
    printer.layOut();
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(printer.pageCount(), 1);
    EXPECT_EQ(printer.bandCount(), 1);
    EXPECT_EQ(printedRows(printer)[0], allRows(*layout));
    // The job's title, then its unit and settings in one line.
    const QStringList lines = printer.jobLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Hall 4"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Length Unit: mm     Blade Width: 3     Stub Length: 10     "
                                                   "Rpt Use Len: 15     Quality level: 1 / 12")))
        << lines[1].toStdString();
}

TEST_F(ExampleJob, ListModesPrintEveryListRowWithItsTotals)
{
    struct Case {
        printouts::PrintMode mode;
        int tables;
    };
    for (const Case& c : {Case{printouts::PrintMode::Lists, 2}, Case{printouts::PrintMode::All, 3}}) {
        printouts::JobPrintout lists = printout(c.mode);
        printing::TjvGridPrinter& printer = *lists.tables();
        printer.layOut();
        ASSERT_EQ(printer.tableCount(), c.tables);
        std::map<int, std::set<int>> rows = printedRows(printer);
        EXPECT_EQ(rows[0], allRows(*parts));
        EXPECT_EQ(rows[1], allRows(*stocks));
        if (c.tables == 3) {
            EXPECT_EQ(rows[2], allRows(*layout));
        }
        // Each list under its caption, the stocks after the parts.
        const printing::PageFrame& first = printer.page(0);
        ASSERT_GE(first.rows.size(), 2);
        EXPECT_EQ(first.rows[0].row, printing::kCaptionRow);
        EXPECT_EQ(first.rows[0].table, 0);
    }
}

TEST_F(ExampleJob, LabelsOfEveryPieceAndRemnant)
{
    printouts::JobPrintout labels = printout(printouts::PrintMode::Labels);
    ASSERT_EQ(labels.tables(), nullptr);
    ASSERT_NE(labels.labels(), nullptr);
    int pieces = 0;
    for (int row = calculation::GridModel::kFirstDataRow; row < parts->rows(); ++row)
        pieces += parts->cell(calculation::kQtyColumn, row).toInt();
    int remnants = 0;
    for (const diagrams::BarDiagram& bar : plan.bars)
        remnants += bar.remnantLabel.isEmpty() ? 0 : bar.times;
    EXPECT_EQ(int(labels.labels()->labels().size()), pieces + remnants);
    labels.document().layOut();
    EXPECT_EQ(labels.document().pageCount(), (pieces + remnants + 23) / 24);
}
