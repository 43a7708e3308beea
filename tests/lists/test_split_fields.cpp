#include "lists/split_fields.h"
#include "support/grid_fixture.h"

using lists::SplitFields;
using lists::splitLines;

struct SplitCase {
    const char* line;
    QStringList fields;
};

void PrintTo(const SplitCase& c, std::ostream* out)
{
    PrintTo(c.fields, out);
}

class SplitFieldsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFieldsTest, CutsAtTheSeparatorOfHighestPriority)
{
    EXPECT_EQ(SplitFields(QString::fromUtf8(GetParam().line)), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitFieldsTest,
                         ::testing::Values(SplitCase{"P1\t1200\t4", {"P1", "1200", "4"}},
                                           // The space wins over the semicolons although they come later in the line.
                                           SplitCase{"Bar 1;200;3", {"Bar", "1", "200", "3"}},
                                           SplitCase{"x:y;z", {"x:y", "z"}}, SplitCase{"A,,5", {"A", "", "5"}},
                                           SplitCase{"A\t\t5", {"A", "5"}}, SplitCase{"  a  \t b  ", {"a", "b"}},
                                           SplitCase{"\001a\037", {"a"}}, SplitCase{"a,", {"a"}},
                                           SplitCase{"Rohr ü;3", {"Rohr", "ü", "3"}}, SplitCase{"0", {}},
                                           SplitCase{"", {}}, SplitCase{" \t ", {}}, SplitCase{" 0 ", {"0"}}));

TEST(SplitLines, EndsLinesAtCrLfOrBoth)
{
    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb\rc\nd")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\n\nb\r\n")), QStringList({"a", "", "b"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\n\r")), QStringList({"a", ""}));
    EXPECT_EQ(splitLines(QStringLiteral("\n")), QStringList({""}));
    EXPECT_EQ(splitLines(QString()), QStringList());
}

// A line of 13 MB with 1.5 million fields: cutting it by copying the rest after every field would take far
// longer than a test may run.
TEST(SplitFields, LongLineKeepsEveryFieldInOrder)
{
    constexpr int kFields = 1500000;
    auto field = [](int i) { return QStringLiteral("p%1").arg(i, 7, 10, QLatin1Char('0')); };
    // The TAB wins once; after it the rest holds no TAB nor space, and the blanks before some semicolons
    // are trimmed away.
    QString line = QStringLiteral("head \t ");
    for (int i = 0; i < kFields; ++i)
        line += field(i) + (i % 1000 == 999 ? QStringLiteral("\001;") : QStringLiteral(";"));
    const QStringList fields = SplitFields(line);
    ASSERT_EQ(fields.size(), kFields + 1);
    EXPECT_EQ(fields[0], QStringLiteral("head"));
    int firstWrong = -1;
    for (int i = 0; i < kFields && firstWrong < 0; ++i)
        firstWrong = fields[i + 1] == field(i) ? -1 : i;
    EXPECT_EQ(firstWrong, -1) << fields[firstWrong + 1].toStdString();
}
