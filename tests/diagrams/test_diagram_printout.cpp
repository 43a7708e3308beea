#include "diagram_job.h"

#include "calculation/grid_model.h"
#include "calculation/grids.h"
#include "diagrams/bar_scale.h"
#include "diagrams/painting/diagram_painter.h"
#include "diagrams/painting/plan_printouts.h"
#include "printing/layout_printout.h"
#include "support/gui_environment.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] ::testing::Environment* const guiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

} // namespace

// A plan of sixty patterns and its layout table, printed as the layout printout.
class SixtyPatterns : public ::testing::Test {
protected:
    SixtyPatterns() : grid(calculation::createLayoutGrid()), printer(*grid, clock)
    {
        diagrams::DiagramSource source = diagramJob(5, 10);
        for (int k = 0; k < 60; ++k)
            addPattern(source, {{k % 3, 1 + k % 4}, {(k + 1) % 3, 1}});
        plan = diagrams::buildDiagrams(source, QStringLiteral("15"), {});
        grid->setRows(calculation::GridModel::kFirstDataRow + 60);
        for (int k = 0; k < 60; ++k)
            grid->setCell(0, calculation::GridModel::kFirstDataRow + k, QString::number(k + 1));
        printing::prepareLayoutPrintout(printer);
        printer.setColumnWidths(printing::defaultLayoutColumnWidths());
    }

    diagrams::PlanDiagrams plan;
    std::unique_ptr<calculation::GridModel> grid;
    const calculation::Clock clock{};
    printing::TjvGridPrinter printer;
};

TEST_F(SixtyPatterns, DiagramPagesFollowTheTableAndBreakBetweenDiagrams)
{
    printer.layOut();
    const int tablePages = printer.pageCount();

    diagrams::DiagramPrintout printout(plan);
    printer.setSupplement(&printout);
    printer.layOut();
    const std::vector<int>& starts = printout.pageStarts();
    ASSERT_GT(starts.size(), 1u);
    ASSERT_EQ(printer.pageCount(), tablePages + int(starts.size()));

    // Every diagram on exactly one page, in order, under the repeated heading and the page count going on.
    for (size_t page = 0; page < starts.size(); ++page) {
        const printing::PageFrame& frame = printer.page(tablePages + int(page));
        EXPECT_EQ(frame.supplementPage, int(page));
        ASSERT_EQ(frame.rows.size(), 1);
        EXPECT_EQ(frame.rows[0].row, 0);
        EXPECT_EQ(printer.footerTexts(tablePages + int(page))[1],
                  QStringLiteral("page: %1").arg(tablePages + int(page) + 1));
        if (page > 0) {
            EXPECT_GT(starts[page], starts[page - 1]);
        }
    }
    EXPECT_EQ(starts.front(), 0);
    EXPECT_LE(starts.back(), 60);

    // A diagram page has its bars drawn: coloured pixels inside the body.
    const QImage image = printer.pageImage(tablePages);
    int coloured = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            coloured += std::abs(c.red() - c.blue()) > 60 ? 1 : 0;
        }
    EXPECT_GT(coloured, 1000);
}

TEST_F(SixtyPatterns, EachDiagramUnderItsRowAndTheCuttingListAfter)
{
    diagrams::PlanPrintouts printouts(plan, diagrams::DiagramPlacement::UnderRows, true);
    printouts.attachTo(printer);
    printer.layOut();

    // The legend under the column headings, then every layout row whole with its diagram on one page.
    std::vector<int> tableRows;
    int tablePages = 0;
    for (int index = 0; index < printer.pageCount() && printer.page(index).supplement < 0; ++index, ++tablePages)
        for (const printing::RowSlice& slice : printer.page(index).rows) {
            if (slice.row == 0)
                continue;
            tableRows.push_back(slice.row);
            EXPECT_GT(slice.attachment, slice.height) << "row " << slice.row;
            EXPECT_LE(slice.top + slice.height + slice.attachment, printer.pageSize().height() - 20);
        }
    std::vector<int> expected;
    for (int row = 1; row < grid->rows(); ++row)
        expected.push_back(row);
    EXPECT_EQ(tableRows, expected);
    ASSERT_GT(tablePages, 2);

    // The cutting list's pages follow; the bars are drawn on the table's pages.
    ASSERT_LT(tablePages, printer.pageCount());
    EXPECT_EQ(printer.page(printer.pageCount() - 1).supplement, 0);
    const QImage image = printer.pageImage(1);
    int coloured = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            coloured += std::abs(image.pixelColor(x, y).red() - image.pixelColor(x, y).blue()) > 60 ? 1 : 0;
    EXPECT_GT(coloured, 1000);
}

TEST(DiagramPrintout, CuttingListKeepsAPatternTogetherUnlessLongerThanAPage)
{
    diagrams::DiagramSource source = diagramJob(0, 0);
    source.stocks[0].length = 1e6f;
    addPattern(source, {{0, 2}, {1, 3}});
    addPattern(source, {{2, 900}});
    addPattern(source, {{1, 1}});
    const diagrams::PlanDiagrams plan = diagrams::buildDiagrams(source, QStringLiteral("15"), {});
    diagrams::CutListPrintout printout(plan);
    const int pages = printout.layOut(QSize(700, 900), QFont());

    // Blocks: the title, then each pattern's cuts in order, the long one over several pages.
    std::vector<int> cuts(3, 0);
    int previous = -1;
    for (const diagrams::CutListPrintout::Block& block : printout.blocks()) {
        ASSERT_GE(block.pattern, previous);
        if (block.pattern < 0)
            continue;
        EXPECT_EQ(block.firstCut, cuts[size_t(block.pattern)]);
        cuts[size_t(block.pattern)] += block.cutCount;
        EXPECT_LE(block.height, 900);
        previous = block.pattern;
    }
    EXPECT_EQ(cuts, (std::vector<int>{5, 900, 1}));
    EXPECT_GT(pages, 2);
    EXPECT_EQ(printout.pageStarts().size(), size_t(pages));
}

TEST(DiagramScale, BarsShareOneScaleWithTheirLengthAtTheEnd)
{
    diagrams::DiagramSource source = diagramJob(5, 10);
    optimizer::strStock offcut = source.stocks[0];
    offcut.length = 3200;
    offcut.lengthText = "3200";
    source.stocks.push_back(offcut);
    addPattern(source, {{0, 4}});
    addPattern(source, {{0, 2}});
    source.plan.patterns.back().stock = 1;
    const diagrams::PlanDiagrams plan = diagrams::buildDiagrams(source, QStringLiteral("15"), {});
    EXPECT_EQ(diagrams::scaledBarWidth(3200, 6000, 600), 320);
    EXPECT_EQ(diagrams::scaledBarWidth(6000, 0, 600), 600);

    QImage image(700, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QRect area(0, 0, 700, 30);
    const QRect tube = diagrams::drawnBarRect(plan, plan.bars[0], area, painter.font());
    const QRect short_ = diagrams::drawnBarRect(plan, plan.bars[1], area.translated(0, 40), painter.font());
    EXPECT_NEAR(short_.width(), tube.width() * 3200.0 / 6000, 1);
    EXPECT_LT(tube.right(), area.right() - 20); // room for "6000" after the longest bar
    diagrams::paintBar(painter, plan, plan.bars[1], area.translated(0, 40));
    painter.end();
    // The length is written just after the short bar's end, and nothing is drawn further on.
    auto inkIn = [&](int left, int right) {
        int ink = 0;
        for (int x = left; x < right; ++x)
            for (int y = 40; y < 70; ++y)
                ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        return ink;
    };
    EXPECT_GT(inkIn(short_.right() + 2, short_.right() + 40), 10);
    EXPECT_EQ(inkIn(short_.right() + 80, 700), 0);
}
