#include "diagram_job.h"

#include "calculation/grid_model.h"
#include "calculation/grids.h"
#include "diagrams/painting/diagram_printout.h"
#include "printing/layout_printout.h"
#include "support/gui_environment.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] ::testing::Environment* const guiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

} // namespace

TEST(DiagramPrintout, DiagramPagesFollowTheTableAndBreakBetweenDiagrams)
{
    diagrams::DiagramSource source = diagramJob(5, 10);
    for (int k = 0; k < 60; ++k)
        addPattern(source, {{k % 3, 1 + k % 4}, {(k + 1) % 3, 1}});
    const diagrams::PlanDiagrams plan = diagrams::buildDiagrams(source, QStringLiteral("15"), {});

    std::unique_ptr<calculation::GridModel> grid(calculation::createLayoutGrid());
    grid->setRows(calculation::GridModel::kFirstDataRow + 60);
    for (int k = 0; k < 60; ++k)
        grid->setCell(0, calculation::GridModel::kFirstDataRow + k, QString::number(k + 1));
    const calculation::Clock clock;
    printing::TjvGridPrinter printer(*grid, clock);
    printing::prepareLayoutPrintout(printer);
    printer.setColumnWidths(printing::defaultLayoutColumnWidths());
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
