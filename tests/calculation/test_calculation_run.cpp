#include "run_fixture.h"

#include "calculation/layout_table.h"
#include "calculation/run_checks.h"

#include <random>

using calculation::MessageIcon;
using calculation::RunFocus;

namespace {

const QString kTotalCheck =
    QStringLiteral("The total length of parts is greater than the total length of stocks, can't optimize!");
const QString kLongestCheck =
    QStringLiteral("The max length of parts, is beyond the max length of stocks, can't optimize!");
const QString kNoLayouts =
    QStringLiteral("There is no available layouts, please add stocks or reduce parts and then try again!");

} // namespace

TEST_F(RunTest, EmptyFirstRowsAreRefusedWithTheFocusOnTheirGrid)
{
    EXPECT_FALSE(calc());
    EXPECT_EQ(lastMessage(), QStringLiteral("Parts is incorrect!"));
    EXPECT_EQ(messages.shown.back().second, MessageIcon::Information);
    EXPECT_EQ(focus, RunFocus::Parts);

    fill(*parts, {{"A", "100", "2"}});
    EXPECT_FALSE(calc());
    EXPECT_EQ(lastMessage(), QStringLiteral("Stocks is incorrect!"));
    EXPECT_EQ(focus, RunFocus::Stocks);
}

TEST_F(RunTest, TotalCheckCountsTheStubsAndTheLeastBladeWidths)
{
    // 5 bars of 1000 with stub 10 leave 4950; ten pieces on five bars need at least 5 blade widths of 2.
    controls.bladeWidth = "2";
    controls.stubLength = "10";
    fill(*stocks, {{"Bar", "1000", "5", "", ""}});
    fill(*parts, {{"A", "494.1", "10"}});
    EXPECT_FALSE(calc());
    EXPECT_EQ(lastMessage(), kTotalCheck);
    EXPECT_EQ(focus, RunFocus::Stocks);
    EXPECT_EQ(parts->cell(1, 0), QStringLiteral("4941")); // the totals are refreshed all the same
    EXPECT_EQ(layout->rows(), 3);

    // 494 x 2 + 2 + 10 fills each bar exactly.
    parts->setCell(1, 2, "494");
    EXPECT_TRUE(calc());
    EXPECT_EQ(layout->cell(3, 0), QStringLiteral("5"));
}

TEST_F(RunTest, LongestPartMustFitTheLongestStockAfterTheStub)
{
    controls.stubLength = "10";
    fill(*stocks, {{"Bar", "1000", "3", "", ""}, {"Short", "600", "9", "", ""}});
    fill(*parts, {{"A", "990.5", "1"}});
    EXPECT_FALSE(calc());
    EXPECT_EQ(lastMessage(), kLongestCheck);
    parts->setCell(1, 2, "990");
    messages.shown.clear();
    EXPECT_TRUE(calc());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(layout->cell(4, 2), QStringLiteral("0"));
}

TEST_F(RunTest, RowsWithoutQuantityAreIgnoredAndKeepTheirLeftQty)
{
    fill(*parts, {{"A", "400", "3"}, {"B", "250", ""}, {"C", "300", "2"}});
    fill(*stocks, {{"Bar", "1000", "4", "", "Yes"}, {"Idle", "2000", "", "", "Yes"}, {"Spare", "700", "2", "", "No"}});
    stocks->setCell(5, 3, "old");
    ASSERT_TRUE(calc());
    EXPECT_EQ(parts->cell(1, 0), QStringLiteral("1800"));
    EXPECT_EQ(parts->cell(2, 0), QStringLiteral("5"));
    EXPECT_EQ(stocks->cell(2, 0), QStringLiteral("6"));
    EXPECT_EQ(stocks->cell(3, 0), QStringLiteral("0")); // empty costs count as 0
    EXPECT_EQ(stocks->cell(5, 3), QStringLiteral("old"));
    const int left = stocks->cell(5, 2).toInt() + stocks->cell(5, 4).toInt();
    EXPECT_EQ(stocks->cell(5, 0), QString::number(left));
    EXPECT_EQ(lastRun.priorityCount, 1); // "No" makes a normal stock
    for (int row = 2; row < layout->rows(); ++row)
        EXPECT_FALSE(layout->cell(5, row).contains(u'B'));
}

TEST_F(RunTest, ProgressRunsToTheMaximum)
{
    controls.qualityLevel = 2;
    fill(*parts, {{"A", "433", "7"}, {"B", "271", "9"}});
    fill(*stocks, {{"Bar", "1000", "20", "", ""}});
    ASSERT_TRUE(calc());
    EXPECT_EQ(progress.maximum, 40);
    EXPECT_EQ(progress.position, 40);
    EXPECT_GE(progress.steps, 1 + 1 + 3 + 1); // prepare, the fill (3 + one stock) and the table
}

TEST_F(RunTest, UnchangedInputNeverShowsALowerRatio)
{
    fill(*parts, {{"A", "731", "9"}, {"B", "517", "13"}, {"C", "389", "11"}, {"D", "113", "17"}});
    fill(*stocks, {{"Bar", "2000", "30", "", ""}, {"Short", "1300", "30", "", ""}});
    controls.qualityLevel = 1;
    ASSERT_TRUE(calc(1));
    const QString first = layout->cell(5, 0);
    const float firstRatio = lastRun.keptRatio;
    for (uint32_t seed = 2; seed < 8; ++seed) {
        ASSERT_TRUE(calc(seed));
        EXPECT_GE(lastRun.keptRatio, firstRatio) << seed;
    }
    EXPECT_FALSE(first.isEmpty());

    // A changed quantity shows the new run's own plan, even a worse one.
    parts->setCell(2, 2, "10");
    ASSERT_TRUE(calc(9));
    EXPECT_EQ(lastRun.partQtysText, parts->columnText(2).toStdString());
}

TEST_F(RunTest, BothEnginesNeverShowLessThanTheGeneticSearchAlone)
{
    // Several stock lengths: the exact engine proves most plans and then stops the genetic search early.
    std::mt19937 gen(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    controls.qualityLevel = 3;
    controls.bladeWidth = QStringLiteral("3");
    controls.stubLength = QStringLiteral("10");
    controls.exactSeconds = 0.5;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        std::vector<QStringList> partRows;
        for (int i = pick(3, 12); i > 0; --i)
            partRows.push_back(
                {QStringLiteral("P%1").arg(i), QString::number(pick(200, 2900)), QString::number(pick(1, 9))});
        fill(*parts, partRows);
        fill(*stocks, {{"L", "6000", "200", "", ""}, {"M", "4500", "200", "", ""}, {"S", "3000", "200", "", ""}});
        controls.exactSearch = false;
        lastRun = {};
        ASSERT_TRUE(calc(seed));
        const optimizer::strGroup alone = lastRun.keptPlan;
        controls.exactSearch = true;
        lastRun = {};
        ASSERT_TRUE(calc(seed));
        EXPECT_GE(lastRun.keptPlan.ratio, alone.ratio) << "seed " << seed;
    }
}

TEST_F(RunTest, NoPlanWithoutKeptPlanClearsTheStaleResult)
{
    fill(*parts, {{"A", "600", "2"}});
    fill(*stocks, {{"Bar", "1000", "3", "", ""}});
    ASSERT_TRUE(calc());
    ASSERT_FALSE(layout->cell(0, 2).isEmpty());

    // Three pieces of 600 fit the total length of two 1000 bars but not the bars themselves, which the exact
    // engine proves.
    fill(*parts, {{"A", "600", "3"}});
    fill(*stocks, {{"Bar", "1000", "2", "", ""}});
    EXPECT_FALSE(calc());
    EXPECT_EQ(lastMessage(), "No plan can cut every piece: the bars in stock are too few or too short, even cut "
                             "without any waste.");
    EXPECT_EQ(messages.shown.back().second, MessageIcon::Error);
    EXPECT_EQ(layout->rows(), 3);
    EXPECT_EQ(row(*layout, 2), QStringList(7, QString()));
    EXPECT_TRUE(layout->cell(5, 0).isEmpty());
    EXPECT_TRUE(stocks->cell(5, 2).isEmpty());
    EXPECT_EQ(lastRun.keptRatio, 0);
}

TEST_F(RunTest, FailedSearchWithUnchangedInputShowsTheKeptPlanSilently)
{
    fill(*parts, {{"A", "433", "5"}, {"B", "271", "9"}});
    fill(*stocks, {{"Bar", "1000", "20", "", ""}});
    ASSERT_TRUE(calc());
    const QStringList shown = row(*layout, 2);
    const QString totals = layout->cell(5, 0);
    messages.shown.clear();

    // A search that finds nothing (prepared, never searched) with the same input.
    calculation::CalculationRun run({*parts, *stocks, *layout}, lastRun, messages, clock, &progress);
    optimizer::RandomSource random(5);
    ASSERT_TRUE(run.prepare(controls, random));
    EXPECT_TRUE(run.finish());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(row(*layout, 2), shown);
    EXPECT_EQ(layout->cell(5, 0), totals);

    // With changed input the failure is reported.
    parts->setCell(2, 3, "8");
    calculation::CalculationRun changed({*parts, *stocks, *layout}, lastRun, messages, clock, &progress);
    ASSERT_TRUE(changed.prepare(controls, random));
    EXPECT_FALSE(changed.finish());
    EXPECT_EQ(lastMessage(), kNoLayouts);
}

struct BadInput {
    const char* name;
    std::vector<QStringList> parts;
    std::vector<QStringList> stocks;
    const char* blade;
    const char* message;
    RunFocus focus;
};

class RunInputTest : public RunTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(RunInputTest, IsReportedWithItsPlaceAndChangesNothing)
{
    const BadInput& input = GetParam();
    fill(*parts, input.parts);
    fill(*stocks, input.stocks);
    controls.bladeWidth = input.blade;
    parts->setCell(1, 0, "totals");
    layout->setCell(5, 0, "earlier");
    EXPECT_FALSE(calc());
    EXPECT_EQ(lastMessage(), QString::fromUtf8(input.message));
    EXPECT_EQ(focus, input.focus);
    EXPECT_EQ(parts->cell(1, 0), QStringLiteral("totals"));
    EXPECT_EQ(layout->cell(5, 0), QStringLiteral("earlier"));
}

const std::vector<QStringList> kGoodParts{{"A", "100", "2"}};
const std::vector<QStringList> kGoodStocks{{"Bar", "1000", "5", "", ""}};

INSTANTIATE_TEST_SUITE_P(
    Refusals, RunInputTest,
    ::testing::Values(BadInput{"LengthNotANumber",
                               {{"A", "100", "2"}, {"B", "1o0", "3"}},
                               kGoodStocks,
                               "0",
                               "Parts, row 2: the length \"1o0\" is not a number.",
                               RunFocus::Parts},
                      BadInput{"ZeroLength",
                               {{"A", "100", "2"}, {"B", "0", "3"}},
                               kGoodStocks,
                               "0",
                               "Parts, row 2: the length must be greater than 0.",
                               RunFocus::Parts},
                      BadInput{"NegativeQuantity",
                               {{"A", "100", "2"}, {"B", "50", "-1"}},
                               kGoodStocks,
                               "0",
                               "Parts, row 2: the quantity can't be below 0.",
                               RunFocus::Parts},
                      BadInput{"QuantityNotWhole",
                               kGoodParts,
                               {{"Bar", "1000", "5", "", ""}, {"X", "900", "2.5", "", ""}},
                               "0",
                               "Stocks, row 2: the quantity \"2.5\" is not a whole number.",
                               RunFocus::Stocks},
                      BadInput{"CostNotANumber",
                               kGoodParts,
                               {{"Bar", "1000", "5", "abc", ""}},
                               "0",
                               "Stocks, row 1: the cost \"abc\" is not a number.",
                               RunFocus::Stocks},
                      // A pasted value of any length is echoed as a short excerpt.
                      BadInput{"LongCostIsCut",
                               kGoodParts,
                               {{"Bar", "1000", "5", "0123456789012345678901234567890123456789xy", ""}},
                               "0",
                               "Stocks, row 1: the cost \"0123456789012345678901234567890123456789…\" is not a number.",
                               RunFocus::Stocks},
                      BadInput{"BladeNotANumber", kGoodParts, kGoodStocks, "3mm",
                               "The blade width must be a number of 0 or more, not \"3mm\".", RunFocus::None},
                      BadInput{"NegativeBlade", kGoodParts, kGoodStocks, "-1",
                               "The blade width must be a number of 0 or more, not \"-1\".", RunFocus::None}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, MoreRowsThanOneCalculationTakesAreRefused)
{
    std::vector<QStringList> rows;
    for (int i = 0; i < 1025; ++i)
        rows.push_back({QString::number(i), QString::number(10 + i % 50), "1"});
    fill(*parts, rows);
    fill(*stocks, {{"Bar", "100000", "50", "", ""}});
    EXPECT_FALSE(calc());
    EXPECT_EQ(lastMessage(),
              QStringLiteral("Parts: one calculation takes at most 1024 filled rows, the list has 1025."));
}

TEST_F(RunTest, CostOptionNeedsWholePositiveCosts)
{
    auto refusal = [&] { return calculation::checkCostOption(*stocks).value_or(calculation::InputRefusal{}).message; };
    fill(*stocks, {{"Bar", "1000", "3", "", ""}});
    EXPECT_EQ(refusal(), QStringLiteral("The cost of stock must be input, can choose cost optimization!"));
    stocks->setCell(3, 2, "12.5");
    EXPECT_TRUE(calculation::checkCostOption(*stocks));
    stocks->setCell(3, 2, "12");
    EXPECT_FALSE(calculation::checkCostOption(*stocks));

    fill(*stocks, {{"Bar", "1000", "", "", ""}, {"Other", "900", "0", "", ""}});
    EXPECT_EQ(refusal(), QStringLiteral("No pipe stocks,please input!"));
}

TEST(SortByLengthDesc, EqualLengthsFollowTheQuicksortSteps)
{
    std::vector<optimizer::strPart> list;
    for (auto [label, length] : {std::pair{"A", 5.0f}, {"B", 3.0f}, {"C", 5.0f}, {"D", 4.0f}, {"E", 3.0f}}) {
        optimizer::strPart part;
        part.label = label;
        part.length = length;
        list.push_back(part);
    }
    calculation::sortByLengthDesc(list, 0, 4);
    std::string order;
    for (const auto& part : list)
        order += part.label;
    EXPECT_EQ(order, "CADEB");
}

struct FeasibleJob {
    const char* name;
    std::vector<QStringList> parts;
    std::vector<QStringList> stocks;
    const char* blade;
    const char* stub;
};

class FeasibleJobTest : public RunTest, public ::testing::WithParamInterface<FeasibleJob> {};

TEST_P(FeasibleJobTest, IsCutWithoutAMessage)
{
    const FeasibleJob& job = GetParam();
    fill(*parts, job.parts);
    fill(*stocks, job.stocks);
    controls.bladeWidth = job.blade;
    controls.stubLength = job.stub;
    ASSERT_TRUE(calc()) << lastMessage().toStdString();
    EXPECT_TRUE(messages.shown.empty());
    // Rows with quantity 0 stay out of the layouts; every stock row read gets its whole bars left.
    for (int r = 2; r < layout->rows(); ++r) {
        for (const QStringList& part : job.parts) {
            if (part[2] == u'0') {
                EXPECT_FALSE(layout->cell(5, r).contains(part[0])) << r;
            }
        }
    }
    for (int r = 2; r < stocks->rows(); ++r) {
        bool ok = false;
        const int left = stocks->cell(5, r).toInt(&ok);
        EXPECT_TRUE(ok && left >= 0 && left <= stocks->cell(2, r).toInt()) << r;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FalseRefusals, FeasibleJobTest,
    ::testing::Values(
        // One piece per bar needs no blade width at all.
        FeasibleJob{"OnePiecePerBar", {{"A", "1000", "10"}}, {{"Bar", "1000", "10", "", ""}}, "1", "0"},
        // A row with quantity 0 is not cut, however long it is.
        FeasibleJob{"UncutRowLongerThanEveryBar",
                    {{"A", "500", "2"}, {"Long", "1500", "0"}},
                    {{"Bar", "1000", "1", "", ""}},
                    "0",
                    "0"},
        FeasibleJob{"UncutRowBeyondTheLongestLength",
                    {{"A", "500", "2"}, {"Huge", "99999999", "0"}},
                    {{"Bar", "1000", "1", "", ""}, {"None", "50000000", "0", "", ""}},
                    "0",
                    "0"},
        // 600 + 5 + 390 and the stub of 5 fill each bar exactly.
        FeasibleJob{
            "ExactlyEnoughStock", {{"A", "600", "4"}, {"B", "390", "4"}}, {{"Bar", "1000", "4", "", ""}}, "5", "5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, NothingToCutAndLimitsOfLengthAndCostAreSaidAsSuch)
{
    const QString kLongest = QStringLiteral("16777216");
    struct Case {
        std::vector<QStringList> parts;
        std::vector<QStringList> stocks;
        const char* blade;
        const char* stub;
        QString message;
        RunFocus focus;
    };
    const Case cases[] = {
        {{{"A", "100", "0"}, {"B", "200", "0"}},
         {{"Bar", "1000", "5", "", ""}},
         "0",
         "0",
         "There are no pieces to cut: every part quantity is 0.",
         RunFocus::Parts},
        {{{"A", "100", "2"}},
         {{"Bar", "1000", "5", "", ""}, {"Absurd", "1e30", "1", "", ""}},
         "0",
         "0",
         "Stocks, row 2: the length can't be greater than " + kLongest + ".",
         RunFocus::Stocks},
        {{{"A", "16777217", "1"}},
         {{"Bar", "1000", "5", "", ""}},
         "0",
         "0",
         "Parts, row 1: the length can't be greater than " + kLongest + ".",
         RunFocus::Parts},
        // The longest part is checked against the bars there are, not a kind with none.
        {{{"A", "1200", "1"}},
         {{"Bar", "1000", "3", "", ""}, {"None", "1500", "0", "", ""}},
         "0",
         "0",
         kLongestCheck,
         RunFocus::Stocks},
        {{{"A", "100", "2"}},
         {{"Bar", "1000", "5", "1e30", ""}},
         "0",
         "0",
         "Stocks, row 1: the cost can't be greater than 1000000000000000.",
         RunFocus::Stocks},
        {{{"A", "100", "2"}},
         {{"Bar", "1000", "2147483647", "1e15", ""}, {"Bar", "1000", "1", "-2e15", ""}},
         "0",
         "0",
         "Stocks, row 2: the cost can't be greater than 1000000000000000.",
         RunFocus::Stocks},
        {{{"A", "100", "2"}},
         kGoodStocks,
         "16777218",
         "0",
         "The blade width can't be greater than " + kLongest + ".",
         RunFocus::None},
        {{{"A", "100", "2"}},
         kGoodStocks,
         "0",
         "1e20",
         "The stub length can't be greater than " + kLongest + ".",
         RunFocus::None},
    };
    for (const Case& c : cases) {
        fill(*parts, c.parts);
        fill(*stocks, c.stocks);
        controls.bladeWidth = c.blade;
        controls.stubLength = c.stub;
        EXPECT_FALSE(calc()) << c.message.toStdString();
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(focus, c.focus) << c.message.toStdString();
    }
}

// The window lets the grids change only after a run, but a run must not depend on it: what it keeps as
// "the input of the last run" is the input it searched, not the grids as they are when it finishes.
TEST_F(RunTest, KeepsTheInputItSearchedNotTheGridsAtTheEnd)
{
    fill(*parts, {{"A", "600", "4"}, {"B", "400", "4"}});
    fill(*stocks, {{"Bar", "1000", "10", "2", ""}});
    calculation::CalculationRun run({*parts, *stocks, *layout}, lastRun, messages, clock, &progress);
    optimizer::RandomSource random(1);
    ASSERT_TRUE(run.prepare(controls, random));
    const std::string searchedQtys = parts->columnText(2).toStdString();
    const std::string searchedLengths = stocks->columnText(1).toStdString();
    parts->setCell(2, 3, "40");
    stocks->setCell(1, 2, "900");
    run.search();
    ASSERT_TRUE(run.finish());
    EXPECT_EQ(lastRun.partQtysText, searchedQtys);
    EXPECT_EQ(lastRun.stockLengthsText, searchedLengths);
    EXPECT_NE(parts->columnText(2).toStdString(), searchedQtys);
}
