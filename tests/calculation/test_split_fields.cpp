#include "support/grid_fixture.h"
#include "calculation/split_fields.h"

using calculation::SplitFields;
using calculation::splitLines;

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
