#include "run_fixture.h"

#include "calculation/layout_table.h"

using namespace calculation;
using optimizer::strGroup;
using optimizer::strPart;
using optimizer::strPattern;
using optimizer::strStock;

namespace {

strPart part(const char* label, float length, const char* text)
{
    strPart p;
    p.label = label;
    p.length = length;
    p.lengthText = text;
    return p;
}

strStock stock(const char* label, float length, int row, float cost = 0)
{
    strStock s;
    s.label = label;
    s.length = length;
    s.lengthText = std::to_string(int(length));
    s.row = row;
    s.cost = cost;
    return s;
}

strPattern pattern(int stockIndex, std::vector<std::pair<int, int>> entries, int times, float waste)
{
    strPattern p;
    p.stock = stockIndex;
    p.times = times;
    p.waste = waste;
    for (auto [kind, count] : entries)
        p.addEntry(kind, count);
    return p;
}

class LayoutTableTest : public RunTest {
protected:
    std::vector<strPart> partList{part("A", 1200, "1200"), part("B", 800, "800")};
    std::vector<strStock> stockList{stock("Bar", 6000, 2, 125), stock("Short", 3000, 3, 50)};

    void show(const strGroup& plan, LayoutStyle style, float reuse = 15)
    {
        fillLayoutTable(plan, partList, stockList, reuse, QStringLiteral("071405YL"), style, *layout, *stocks,
                        &progress);
    }
};

} // namespace

TEST_F(LayoutTableTest, PiecesInTheThreeDisplayModes)
{
    strGroup plan;
    plan.patterns = {pattern(0, {{0, 3}, {1, 1}}, 1, 1600)};
    plan.stockLeft = {4, 2};
    const char* expected[] = {"A(1200) x 3 B(800)", "1200 x 3 800", "A x 3 B"};
    for (int mode = 0; mode < 3; ++mode) {
        show(plan, {mode, 0});
        EXPECT_EQ(layout->cell(kLayoutPiecesColumn, 2), QString::fromLatin1(expected[mode]));
    }
}

TEST_F(LayoutTableTest, RowsLabelsAndTotals)
{
    stocks->setRows(5);
    stocks->setCell(kLeftQtyColumn, 4, "kept");
    strGroup plan;
    plan.patterns = {pattern(0, {{0, 5}}, 2, 0), pattern(0, {{1, 7}}, 1, 300), pattern(0, {{1, 7}}, 2, 300),
                     pattern(1, {{1, 3}}, 1, 300), pattern(1, {{0, 2}}, 1, 12.4f)};
    plan.stockLeft = {3, 6};
    show(plan, {2, 0});
    ASSERT_EQ(layout->rows(), 7);
    EXPECT_EQ(row(*layout, 2), (QStringList{"1", "Bar", "6000", "2", "0", "A x 5", ""}));
    // Neighbours on one stock with the same left-over share a label; another stock gets the next one.
    EXPECT_EQ(layout->cell(kLayoutLeftLabelColumn, 3), QStringLiteral("071405YL1"));
    EXPECT_EQ(layout->cell(kLayoutLeftLabelColumn, 4), QStringLiteral("071405YL1"));
    EXPECT_EQ(layout->cell(kLayoutLeftLabelColumn, 5), QStringLiteral("071405YL2"));
    EXPECT_EQ(layout->cell(kLayoutLeftLabelColumn, 6), QString()); // 12.4 is below the reuse length
    EXPECT_EQ(layout->cell(kLayoutLeftLenColumn, 6), QStringLiteral("12"));
    // Used 5 x 6000 + 2 x 3000 = 36000, left 900 + 300 + 12.4, cost 5 x 125 + 2 x 50.
    EXPECT_EQ(layout->cell(kLayoutLengthColumn, 0), QStringLiteral("36000"));
    EXPECT_EQ(layout->cell(kLayoutQtyColumn, 0), QStringLiteral("7"));
    EXPECT_EQ(layout->cell(kLayoutLeftLenColumn, 0), QStringLiteral("1212"));
    EXPECT_EQ(layout->cell(kLayoutPiecesColumn, 0), QStringLiteral("Total cost= 725  Ratio= 96.6322%"));
    EXPECT_EQ(stocks->cell(kLeftQtyColumn, 2), QStringLiteral("3"));
    EXPECT_EQ(stocks->cell(kLeftQtyColumn, 3), QStringLiteral("6"));
    EXPECT_EQ(stocks->cell(kLeftQtyColumn, 4), QStringLiteral("kept"));
    EXPECT_EQ(stocks->cell(kLeftQtyColumn, 0), QStringLiteral("9"));
    EXPECT_EQ(progress.steps, 3 + 2);
}

TEST_F(LayoutTableTest, RatioAndNumberFormats)
{
    strGroup plan;
    plan.patterns = {pattern(0, {{0, 4}}, 1, 300)};
    plan.stockLeft = {0, 0};
    show(plan, {2, 0});
    EXPECT_EQ(layout->cell(kLayoutPiecesColumn, 0), QStringLiteral("Total cost= 125  Ratio= 95.00%"));

    plan.patterns = {pattern(0, {{0, 4}}, 1, 12.5f), pattern(0, {{1, 4}}, 1, 12.3456f)};
    show(plan, {2, 3});
    EXPECT_EQ(layout->cell(kLayoutLeftLenColumn, 2), QStringLiteral("12.50"));
    EXPECT_EQ(layout->cell(kLayoutLeftLenColumn, 3), QStringLiteral("12.346"));

    // A plan that uses no length has ratio 0 rather than a division by zero.
    plan.patterns.clear();
    show(plan, {2, 0});
    EXPECT_EQ(layout->cell(kLayoutPiecesColumn, 0), QStringLiteral("Total cost= 0  Ratio= 0.00%"));
}

TEST(LeftLenShade, ColoursFollowTheWrittenText)
{
    struct Case {
        const char* text;
        const char* reuse;
        bool painted;
        LeftLenShade shade;
    };
    const Case cases[] = {
        {"15.00", "15", true, LeftLenShade::Green}, {"14.90", "15", true, LeftLenShade::Grey},
        {"0.00", "15", true, LeftLenShade::Cream},  {"15", "15", true, LeftLenShade::Green},
        {"", "15", true, LeftLenShade::Grey},       {"14.90", "15.5", false, LeftLenShade::Grey},
        {"0", "x", true, LeftLenShade::Cream},
    };
    QLocale::setDefault(QLocale::c());
    for (const Case& c : cases) {
        LeftLenShade shade = LeftLenShade::Grey;
        EXPECT_EQ(leftLenShade(QString::fromLatin1(c.text), QString::fromLatin1(c.reuse), shade), c.painted) << c.text;
        if (c.painted) {
            EXPECT_EQ(shade, c.shade) << c.text;
        }
    }
}

TEST(RemnantPrefix, DayHourMinuteThenYL)
{
    EXPECT_EQ(remnantPrefix(QDateTime(QDate(2026, 5, 7), QTime(14, 5))), QStringLiteral("071405YL"));
    EXPECT_EQ(remnantPrefix(QDateTime(QDate(2026, 12, 31), QTime(0, 59))), QStringLiteral("310059YL"));
}
