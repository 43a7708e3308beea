#include "calculation/grids.h"
#include "exchange/layout_export.h"
#include "exchange/remnant_stocks.h"
#include "support/grid_fixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using calculation::GridModel;

namespace {

class LayoutExportTest : public GridTest {
protected:
    std::unique_ptr<GridModel> layout{calculation::createLayoutGrid()};
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

} // namespace

TEST_F(LayoutExportTest, BeforeAnyCalculationHeaderAndEmptyTotals)
{
    EXPECT_EQ(exchange::layoutExportLines(*layout),
              (QStringList{"No.\tLabel\tLength\tQty\tLeft Len\tCutting Layout\tLeft Lable", "Total\t\t\t\t\t\t"}));
}

TEST_F(LayoutExportTest, LayoutsBetweenHeaderAndTotalsInTableOrder)
{
    fill(*layout, {{"1", "Bar", "6000", "2", "0", "A x 5", ""},
                   {"2", "Bar", "6000", "1", "300", "B x 7", "071405YL1"},
                   {"", "", "", "", "", "", ""},
                   {"3", "Short", "3000", "1", "12", "A x 2", ""}});
    layout->setCell(2, 0, "15000");
    layout->setCell(5, 0, "Total cost= 0  Ratio= 97.92%");
    const QStringList lines = exchange::layoutExportLines(*layout);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], QStringLiteral("1\tBar\t6000\t2\t0\tA x 5\t"));
    EXPECT_EQ(lines[2], QStringLiteral("2\tBar\t6000\t1\t300\tB x 7\t071405YL1"));
    EXPECT_EQ(lines[3], QStringLiteral("3\tShort\t3000\t1\t12\tA x 2\t"));
    EXPECT_EQ(lines[4], QStringLiteral("Total\t\t15000\t\t\tTotal cost= 0  Ratio= 97.92%\t"));
}

// Labels may hold what the lists let through; the lines keep their seven fields.
TEST_F(LayoutExportTest, ControlCharactersInCellsBecomeSpaces)
{
    fill(*layout, {{"1", "Bar\tA", "6000", "2", "300", "P\r\n1 x 5", "\x1b[31mL1\u2028"}});
    EXPECT_EQ(exchange::layoutExportLines(*layout)[1], QStringLiteral("1\tBar A\t6000\t2\t300\tP  1 x 5\t [31mL1 "));
    EXPECT_EQ(exchange::remnantStockLines(*layout), QStringList{" [31mL1 \t300\t2\t0\tYes"});
}

TEST_F(LayoutExportTest, FileHasCrLfLinesAndAFailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("layouts.xls");
    const lists::FileResult written = exchange::exportLayouts(*layout, path);
    ASSERT_TRUE(written.ok) << written.error.toStdString();
    EXPECT_EQ(readAll(path),
              QByteArray("No.\tLabel\tLength\tQty\tLeft Len\tCutting Layout\tLeft Lable\r\nTotal\t\t\t\t\t\t\r\n"));

    // A folder where the file should be: nothing is written and the reason names the path.
    const QString folder = dir.filePath("busy");
    ASSERT_TRUE(QDir().mkdir(folder));
    const lists::FileResult refused = exchange::exportLayouts(*layout, folder);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.file, folder);
    EXPECT_TRUE(refused.message().contains(folder)) << refused.error.toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
