#include "calculation/grid_model.h"
#include "calculation/grids.h"
#include "calculation/layout_table.h"
#include "printing/grid_printer.h"
#include "printing/layout_printout.h"
#include "support/gui_environment.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

using printing::TjvGridPrinter;

namespace {

class FixedClock : public calculation::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 9), QTime(14, 5, 7)); }
};

[[maybe_unused]] ::testing::Environment* const guiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

class GridPrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.reset(calculation::createLayoutGrid());
        grid->setCell(0, 0, QStringLiteral("Total"));
        grid->setCell(5, 0, QStringLiteral("Total cost= 1250  Ratio= 93.75%"));
        printer = std::make_unique<TjvGridPrinter>(*grid, clock);
        printing::prepareLayoutPrintout(*printer);
        printer->setColumnWidths(printing::defaultLayoutColumnWidths());
    }

    void fillRows(int count, const QString& pieces = QStringLiteral("A x 3 B"))
    {
        grid->setRows(calculation::GridModel::kFirstDataRow + count);
        for (int row = 2; row < grid->rows(); ++row) {
            grid->setCell(0, row, QString::number(row - 1));
            grid->setCell(1, row, QStringLiteral("S1"));
            grid->setCell(5, row, pieces);
        }
    }

    // The rows printed in one band, in order, each row once however many pages it spans.
    std::vector<int> printedRows(int band) const
    {
        std::vector<int> rows;
        for (int index = 0; index < printer->pageCount(); ++index)
            for (const printing::RowSlice& slice : printer->page(index).rows)
                if (printer->page(index).band == band && slice.row > 0 && slice.firstLine == 0)
                    rows.push_back(slice.row);
        return rows;
    }

    // No slice reaches into the footer area at the page's bottom.
    void expectAboveFooter() const
    {
        for (int index = 0; index < printer->pageCount(); ++index)
            for (const printing::RowSlice& slice : printer->page(index).rows)
                EXPECT_LE(slice.top + slice.height, printer->pageSize().height() - 20) << "page " << index;
    }

    FixedClock clock;
    std::unique_ptr<calculation::GridModel> grid;
    std::unique_ptr<TjvGridPrinter> printer;
};

bool hasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

TEST(FooterTest, PlaceholdersLastOccurrenceAndCase)
{
    struct Case {
        const char* part;
        const char* expected;
    };
    const Case cases[] = {
        {"print date: date", "print date: 2026-12-09"},
        {"date, date", "date, 2026-12-09"},
        {"Date Time Page", "Date Time Page"},
        {"page", "page: 2"},
        {"time page date", "02:05 pm page: 2 2026-12-09"},
        {"no placeholder", "no placeholder"},
    };
    const QDateTime when(QDate(2026, 12, 9), QTime(14, 5));
    const QString date = printing::formatDateTime(QStringLiteral("yyyy-mm-dd"), when);
    const QString time = printing::formatDateTime(QStringLiteral("hh:nn am/pm"), when);
    for (const Case& c : cases)
        EXPECT_EQ(printing::expandFooterPart(QString::fromLatin1(c.part), date, time, printing::pageLabel(2, 1, 1)),
                  QString::fromLatin1(c.expected))
            << c.part;
    EXPECT_EQ(printing::formatDateTime(QStringLiteral("d.m.yy hh:mm:ss"), when), QStringLiteral("9.12.26 14:05:00"));
    EXPECT_EQ(printing::pageLabel(3, 1, 2), QStringLiteral("page: 3-1"));
    EXPECT_EQ(printing::pageLabel(1, 2, 1), QStringLiteral("page: 1-2"));
    EXPECT_EQ(printing::footerParts(QStringLiteral("a|b|c|d")), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(printing::footerParts(QStringLiteral("a")), (QStringList{"a", "", ""}));
}

TEST_F(GridPrinterTest, ManyLayoutsFillPagesEachWithTitleAndTotals)
{
    fillRows(150);
    printer->layOut();
    ASSERT_GE(printer->pageCount(), 3);
    EXPECT_EQ(printer->bandCount(), 1);
    std::vector<int> expected;
    for (int row = 1; row < grid->rows(); ++row)
        expected.push_back(row);
    EXPECT_EQ(printedRows(1), expected);
    expectAboveFooter();
    for (int index = 0; index < printer->pageCount(); ++index) {
        const printing::PageFrame& page = printer->page(index);
        ASSERT_FALSE(page.rows.isEmpty());
        EXPECT_EQ(page.rows.first().row, 0) << "page " << index;
        // Title block and heading row are drawn on every page.
        const QImage image = printer->pageImage(index);
        EXPECT_TRUE(hasInk(image, QRect(0, 10, image.width(), page.rows.first().top - 10))) << "page " << index;
        EXPECT_TRUE(hasInk(image, QRect(0, page.rows.first().top, image.width(), page.rows.first().height)));
    }
    // Footer of page 2: the clock's date at the left, the page in the middle.
    EXPECT_EQ(printer->footerTexts(1), (QStringList{"print date: 2026-12-09", "page: 2", ""}));
}

TEST_F(GridPrinterTest, TallWrappedRowThenRowsOfTheirOwnHeight)
{
    fillRows(3);
    grid->setCell(5, 3, QStringLiteral("LongPartLabel(1234.5) x 7 ").repeated(12));
    printer->layOut();
    const QVector<printing::RowSlice>& rows = printer->page(0).rows;
    ASSERT_EQ(rows.size(), 5);
    EXPECT_GT(printer->cellLines(5, 3).size(), 3);
    EXPECT_GT(rows[3].height, 3 * rows[2].height);
    EXPECT_EQ(rows[4].height, rows[2].height);
    EXPECT_EQ(rows[2].height, TjvGridPrinter::kDefaultRowHeight);
    EXPECT_EQ(rows[4].top, rows[3].top + rows[3].height);
}

TEST_F(GridPrinterTest, RowTallerThanAPageGoesOnOverPages)
{
    fillRows(2);
    grid->setCell(5, 2, QStringLiteral("Piece(100) ").repeated(2500));
    printer->layOut();
    ASSERT_GE(printer->pageCount(), 2);
    // It begins on the first page under the column headings rather than leaving that page empty.
    EXPECT_EQ(printer->page(0).rows.last().row, 2);
    int lines = 0;
    for (int index = 0; index < printer->pageCount(); ++index)
        for (const printing::RowSlice& slice : printer->page(index).rows)
            if (slice.row == 2)
                lines += slice.lineCount;
    EXPECT_EQ(lines, printer->cellLines(5, 2).size());
    expectAboveFooter();
    EXPECT_EQ(printer->page(printer->pageCount() - 1).rows.last().row, 3);
}

// A fixed height under every data row.
class BlockUnderRows : public printing::RowAttachment {
public:
    void layOut(int, const QFont&) override {}
    int heightUnder(int row) const override { return row >= calculation::GridModel::kFirstDataRow ? 90 : 0; }
    void paintUnder(QPainter&, int, const QRect&) const override {}
};

TEST_F(GridPrinterTest, WhatIsUnderARowStaysOnTheRowsPage)
{
    struct Case {
        const char* name;
        int rows;
        int tallRowRepeats; // the first data row's text repeated so often, 0 for a plain row
    };
    const Case cases[] = {{"many rows", 40, 0}, {"a row taller than a page", 3, 2500}};
    BlockUnderRows blocks;
    for (const Case& c : cases) {
        fillRows(c.rows);
        if (c.tallRowRepeats > 0)
            grid->setCell(5, 2, QStringLiteral("Piece(100) ").repeated(c.tallRowRepeats));
        printer->setRowAttachment(&blocks);
        printer->layOut();
        // Every data row once with its block, row and block above the footer, on the row's last page.
        std::vector<int> withBlock;
        for (int index = 0; index < printer->pageCount(); ++index) {
            const QVector<printing::RowSlice>& rows = printer->page(index).rows;
            for (int k = 1; k < rows.size(); ++k) {
                if (rows[k].attachment > 0)
                    withBlock.push_back(rows[k].row);
                // A row that fits a page carries its block in its own slice, never on the next page.
                const bool tall = c.tallRowRepeats > 0 && rows[k].row == 2;
                if (rows[k].row >= 2 && !tall) {
                    EXPECT_EQ(rows[k].attachment, 90) << c.name << ", row " << rows[k].row;
                }
                EXPECT_LE(rows[k].top + rows[k].height + rows[k].attachment, printer->pageSize().height() - 20)
                    << c.name << ", page " << index;
                if (k + 1 < rows.size()) {
                    EXPECT_EQ(rows[k + 1].top, rows[k].top + rows[k].height + rows[k].attachment) << c.name;
                }
            }
        }
        std::vector<int> expected;
        for (int row = 2; row < grid->rows(); ++row)
            expected.push_back(row);
        EXPECT_EQ(withBlock, expected) << c.name;
    }
}

TEST_F(GridPrinterTest, WideTablePrintsASecondBand)
{
    fillRows(5);
    QVector<int> widths = printing::defaultLayoutColumnWidths();
    widths[5] = 600;
    printer->setColumnWidths(widths);
    printer->layOut();
    ASSERT_EQ(printer->bandCount(), 2);
    ASSERT_EQ(printer->pageCount(), 2);
    EXPECT_EQ(printer->bandColumns(1).second + 1, printer->bandColumns(2).first);
    EXPECT_EQ(printer->bandColumns(2).second, 6);
    EXPECT_EQ(printer->page(1).band, 2);
    EXPECT_EQ(printedRows(2), printedRows(1));
    EXPECT_EQ(printer->footerTexts(0)[1], QStringLiteral("page: 1-1"));
    EXPECT_EQ(printer->footerTexts(1)[1], QStringLiteral("page: 1-2"));
    // Landscape fits the whole table again.
    printer->options().orientation = QPageLayout::Landscape;
    printer->layOut();
    EXPECT_EQ(printer->bandCount(), 1);
}

TEST_F(GridPrinterTest, ColumnsFitThePaperWhateverTheScreenWidths)
{
    fillRows(4, QStringLiteral("Crossbar x 3 Spacer x 6 Gusset x 2 ").repeated(4));
    grid->setCell(6, 3, QStringLiteral("091405YL1"));
    printer->fitColumns(calculation::kLayoutPiecesColumn);
    QVector<int> narrow = printing::defaultLayoutColumnWidths();
    QVector<int> wide;
    for (int width : narrow)
        wide.append(3 * width);
    std::vector<std::vector<int>> laidOut;
    for (const QVector<int>& screen : {narrow, wide}) {
        printer->setColumnWidths(screen);
        printer->fitColumns(calculation::kLayoutPiecesColumn);
        printer->layOut();
        std::vector<int> widths;
        for (int column = 0; column < grid->columns(); ++column)
            widths.push_back(printer->columnWidth(column));
        laidOut.push_back(widths);
    }
    EXPECT_EQ(laidOut[0], laidOut[1]);
    // One band: the number columns as wide as their texts, "Cutting Layout" the rest of the line, wrapped.
    EXPECT_EQ(printer->bandCount(), 1);
    const int usable = printer->pageSize().width() - printer->options().MarginLeft;
    EXPECT_EQ(std::accumulate(laidOut[0].begin(), laidOut[0].end(), 0), usable);
    EXPECT_GT(printer->cellLines(calculation::kLayoutPiecesColumn, 2).size(), 1);
    // Bands only when the other columns alone are wider than the page.
    grid->setCell(1, 4, QStringLiteral("Stock label longer than any page is wide ").repeated(4));
    printer->layOut();
    ASSERT_GT(printer->bandCount(), 1);
    for (int band = 1; band <= printer->bandCount(); ++band)
        EXPECT_EQ(printer->bandColumns(band).first, band == 1 ? 0 : printer->bandColumns(band - 1).second + 1);
    EXPECT_EQ(printer->bandColumns(printer->bandCount()).second, 6);
}

TEST_F(GridPrinterTest, LogoIgnoredWhenUnreadableAndScaledIntoTheTitleBlock)
{
    fillRows(1);
    printer->layOut();
    const int headingTop = printer->page(0).rows.first().top;
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    for (const QString& path : {broken, dir.filePath(QStringLiteral("missing.bmp"))}) {
        printer->options().Logo = path;
        printer->layOut();
        EXPECT_EQ(printer->page(0).rows.first().top, headingTop);
    }
    QImage huge(3000, 3000, QImage::Format_RGB32);
    huge.fill(Qt::darkBlue);
    const QString hugePath = dir.filePath(QStringLiteral("huge.png"));
    ASSERT_TRUE(huge.save(hugePath));
    printer->options().Logo = hugePath;
    printer->layOut();
    const int titleBlock = printer->page(0).rows.first().top - 10 - 10;
    EXPECT_GT(titleBlock, headingTop - 20);
    EXPECT_LE(titleBlock, printer->pageSize().height() / 8);
    // The logo stays above the heading row.
    const QImage image = printer->pageImage(0);
    EXPECT_EQ(image.pixel(8, printer->page(0).rows.first().top - 5), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(8, 12), qRgb(255, 255, 255));
}

} // namespace
