#include "calculation/number_text.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>

namespace {

using calculation::formatLength;
using calculation::formatPicture;
using calculation::formatTotal;
using calculation::parseInteger;
using calculation::parseNumber;

// Switches the default locale for one case and puts the previous one back.
class LocaleScope {
public:
    explicit LocaleScope(QLocale::Language language) : m_previous(QLocale())
    {
        QLocale::setDefault(QLocale(language, language == QLocale::German ? QLocale::Germany : QLocale::UnitedStates));
    }
    ~LocaleScope() { QLocale::setDefault(m_previous); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale m_previous;
};

constexpr auto kEnglish = QLocale::English;
constexpr auto kGerman = QLocale::German;

struct ParseCase {
    QLocale::Language language;
    const char* text;
    std::optional<float> expected;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << (c.language == kGerman ? "de \"" : "en \"") << c.text << '"';
}

class ParseNumberTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, readsTheLocalesDecimalNumbers)
{
    const ParseCase& c = GetParam();
    LocaleScope scope(c.language);
    EXPECT_EQ(parseNumber(QString::fromUtf8(c.text)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseNumberTest,
    testing::Values(ParseCase{kEnglish, "1200", 1200.0f}, ParseCase{kEnglish, "12.5", 12.5f},
                    ParseCase{kEnglish, "  12.5\t", 12.5f}, ParseCase{kEnglish, "-3.25", -3.25f},
                    ParseCase{kEnglish, "+7", 7.0f}, ParseCase{kEnglish, ".5", 0.5f}, ParseCase{kEnglish, "0.1", 0.1f},
                    ParseCase{kEnglish, "1E3", 1000.0f}, ParseCase{kEnglish, "2.5e-1", 0.25f},
                    ParseCase{kEnglish, "", std::nullopt}, ParseCase{kEnglish, "   ", std::nullopt},
                    ParseCase{kEnglish, "12.", std::nullopt}, ParseCase{kEnglish, "-", std::nullopt},
                    ParseCase{kEnglish, ".", std::nullopt}, ParseCase{kEnglish, "12x", std::nullopt},
                    ParseCase{kEnglish, "12 5", std::nullopt}, ParseCase{kEnglish, "1,200", std::nullopt},
                    ParseCase{kEnglish, "12,5", std::nullopt}, ParseCase{kEnglish, "1e", std::nullopt},
                    ParseCase{kEnglish, "0x10", std::nullopt}, ParseCase{kEnglish, "1e39", std::nullopt},
                    ParseCase{kEnglish, "-1e39", std::nullopt}, ParseCase{kEnglish, "3.4e38", 3.4e38f},
                    ParseCase{kGerman, "12,5", 12.5f}, ParseCase{kGerman, " -0,75 ", -0.75f},
                    ParseCase{kGerman, "12.5", std::nullopt}, ParseCase{kGerman, "1.200", std::nullopt},
                    ParseCase{kGerman, "12,", std::nullopt}));

struct IntegerCase {
    const char* text;
    std::optional<int32_t> expected;
};

void PrintTo(const IntegerCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class ParseIntegerTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(ParseIntegerTest, readsSigned32BitIntegers)
{
    EXPECT_EQ(parseInteger(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ParseIntegerTest,
                         testing::Values(IntegerCase{"0", 0}, IntegerCase{"42", 42}, IntegerCase{" 42 ", 42},
                                         IntegerCase{"-7", -7}, IntegerCase{"+7", 7},
                                         IntegerCase{"2147483647", std::numeric_limits<int32_t>::max()},
                                         IntegerCase{"-2147483648", std::numeric_limits<int32_t>::min()},
                                         IntegerCase{"2147483648", std::nullopt},
                                         IntegerCase{"-2147483649", std::nullopt}, IntegerCase{"", std::nullopt},
                                         IntegerCase{"-", std::nullopt}, IntegerCase{"+", std::nullopt},
                                         IntegerCase{"1.0", std::nullopt}, IntegerCase{"1e3", std::nullopt},
                                         IntegerCase{"12a", std::nullopt}, IntegerCase{"1 2", std::nullopt},
                                         IntegerCase{"--1", std::nullopt}));

struct FormatCase {
    QLocale::Language language;
    double value;
    const char* picture; // nullptr: the shortest general form of a total
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << (c.language == kGerman ? "de " : "en ") << c.value << " with \"" << (c.picture ? c.picture : "(total)")
        << '"';
}

class FormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, writesTheExpectedText)
{
    const FormatCase& c = GetParam();
    LocaleScope scope(c.language);
    const QString text = c.picture ? formatPicture(c.value, QString::fromUtf8(c.picture)) : formatTotal(c.value);
    EXPECT_EQ(text.toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Totals, FormatTest,
    testing::Values(FormatCase{kEnglish, double(0.1f), nullptr, "0.100000001490116"},
                    FormatCase{kEnglish, 1200.0, nullptr, "1200"}, FormatCase{kEnglish, 2.5, nullptr, "2.5"},
                    FormatCase{kGerman, 2.5, nullptr, "2,5"}, FormatCase{kEnglish, 0.0, nullptr, "0"},
                    FormatCase{kEnglish, -0.0, nullptr, "0"}, FormatCase{kEnglish, -12.25, nullptr, "-12.25"},
                    FormatCase{kEnglish, 123456789012345.0, nullptr, "123456789012345"},
                    FormatCase{kEnglish, 1e15, nullptr, "1e+15"}, FormatCase{kEnglish, 0.0001, nullptr, "0.0001"},
                    FormatCase{kEnglish, 0.00001, nullptr, "1e-05"},
                    FormatCase{kEnglish, double(1234567.9f), nullptr, "1234567.875"}));

INSTANTIATE_TEST_SUITE_P(
    Pictures, FormatTest,
    testing::Values(
        // Rounding half away from zero at the last place the picture allows.
        FormatCase{kEnglish, 12.4, "######0", "12"}, FormatCase{kEnglish, 12.5, "######0", "13"},
        FormatCase{kEnglish, -12.5, "######0", "-13"}, FormatCase{kEnglish, 14.9, "######0", "15"},
        FormatCase{kEnglish, 0.125, "0.00", "0.13"}, FormatCase{kEnglish, 2.675, "0.00", "2.68"},
        FormatCase{kEnglish, 9.99996, "######0.00##", "10.00"}, FormatCase{kEnglish, 99.95, "0.0", "100.0"},
        FormatCase{kEnglish, 0.4, "######0", "0"}, FormatCase{kEnglish, 0.5, "######0", "1"},
        // Optional decimals are dropped only when they would be trailing zeros.
        FormatCase{kEnglish, 12.5, "######0.00#", "12.50"}, FormatCase{kEnglish, 12.3456, "######0.00#", "12.346"},
        FormatCase{kEnglish, 12.3, "######0.00##", "12.30"}, FormatCase{kEnglish, 12.34567, "######0.00##", "12.3457"},
        FormatCase{kEnglish, 15, "######0.00", "15.00"}, FormatCase{kEnglish, 14.9, "######0.00", "14.90"},
        FormatCase{kEnglish, 14.94, "######0.0", "14.9"}, FormatCase{kEnglish, 5, "0.##", "5"},
        FormatCase{kEnglish, 0.25, "#.##", ".25"}, FormatCase{kEnglish, 0, "######0.00#", "0.00"},
        FormatCase{kEnglish, 7, "000", "007"},
        // The integer part keeps all its digits even beyond the placeholders.
        FormatCase{kEnglish, 123456789, "##0.0", "123456789.0"}, FormatCase{kEnglish, 1234, "0", "1234"},
        FormatCase{kEnglish, -1234, "0.0", "-1234.0"},
        // A negative value that rounds to zero has no sign.
        FormatCase{kEnglish, -0.001, "0.00", "0.00"}, FormatCase{kEnglish, -0.25, "#.##", "-.25"},
        // Literal text stands where it is; the first "." is the decimal point, later ones are literal.
        FormatCase{kEnglish, 1250, "Total cost= ######0  ", "Total cost= 1250  "},
        FormatCase{kEnglish, 95, "Ratio= ##0.00##%", "Ratio= 95.00%"},
        FormatCase{kEnglish, 93.75, "Ratio= ##0.00##%", "Ratio= 93.75%"},
        FormatCase{kEnglish, 98.441512, "Ratio= ##0.00##%", "Ratio= 98.4415%"},
        FormatCase{kEnglish, -3.5, "[0.0]", "[-3.5]"}, FormatCase{kEnglish, 3.5, "0.0.", "3.5."},
        FormatCase{kEnglish, 1.5, "Nr. 0", "Nr1. 5"},
        // German writes the comma for the decimal point of the picture.
        FormatCase{kGerman, 12.5, "######0.00#", "12,50"},
        FormatCase{kGerman, 93.75, "Ratio= ##0.00##%", "Ratio= 93,75%"},
        FormatCase{kGerman, 1250, "Gesamtkosten= ######0  ", "Gesamtkosten= 1250  "},
        FormatCase{kGerman, -0.125, "0.00", "-0,13"}));

TEST(FormatLength, usesThePictureOfTheFormatItem)
{
    LocaleScope scope(kEnglish);
    EXPECT_EQ(formatLength(12.4, 0), "12");
    EXPECT_EQ(formatLength(12.46, 1), "12.5");
    EXPECT_EQ(formatLength(15, 2), "15.00");
    EXPECT_EQ(formatLength(12.5, 3), "12.50");
    EXPECT_EQ(formatLength(12.3456, 3), "12.346");
    EXPECT_EQ(formatLength(12.34567, 4), "12.3457");
    // No selection in the format list writes whole numbers.
    EXPECT_EQ(formatLength(12.6, -1), "13");
}

TEST(NumberText, formattedLengthsReadBackInTheSameLocale)
{
    for (const auto language : {kEnglish, kGerman}) {
        LocaleScope scope(language);
        for (const double value : {0.0, 12.5, -3.125, 6000.0, 98.4415}) {
            SCOPED_TRACE(value);
            EXPECT_EQ(parseNumber(formatLength(value, 4)), float(value));
            EXPECT_EQ(parseNumber(formatTotal(value)), float(value));
        }
    }
}

} // namespace
