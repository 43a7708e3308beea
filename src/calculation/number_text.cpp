#include "number_text.h"

#include <QLocale>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace calculation {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isMinus(QChar c, const QLocale& locale)
{
    return c == u'-' || QString(c) == locale.negativeSign();
}

bool isPlus(QChar c, const QLocale& locale)
{
    return c == u'+' || QString(c) == locale.positiveSign();
}

// Rewrites a cell text into the plain ASCII form that std::from_chars reads ("-12.5e3"), or returns an
// empty string when the text is not a number. The locale's decimal separator is the only one accepted,
// so "12.5" is refused under a locale that writes "12,5"; group separators are never accepted.
std::string plainDecimal(const QString& text, const QLocale& locale)
{
    const QString decimalPoint = locale.decimalPoint();
    std::string out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto takeSign = [&] {
        if (i < n && isMinus(text[i], locale)) {
            out += '-';
            ++i;
        } else if (i < n && isPlus(text[i], locale)) {
            ++i;
        }
    };
    auto takeDigits = [&] {
        int digits = 0;
        for (; i < n && isAsciiDigit(text[i]); ++i, ++digits)
            out += char(text[i].unicode());
        return digits;
    };
    takeSign();
    int mantissaDigits = takeDigits();
    if (i < n && text.mid(i, decimalPoint.size()) == decimalPoint) {
        out += '.';
        i += decimalPoint.size();
        const int fractionDigits = takeDigits();
        // "12." is not a number: a separator must be followed by a digit.
        if (fractionDigits == 0)
            return {};
        mantissaDigits += fractionDigits;
    }
    if (mantissaDigits == 0)
        return {};
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        out += 'e';
        ++i;
        takeSign();
        if (takeDigits() == 0)
            return {};
    }
    if (i != n)
        return {};
    return out;
}

QString withLocaleSeparator(const char* begin, const char* end)
{
    QString result = QString::fromLatin1(begin, end - begin);
    const qsizetype point = result.indexOf(u'.');
    if (point >= 0)
        result.replace(point, 1, QLocale().decimalPoint());
    return result;
}

// |value| rounded half away from zero to `decimals` places, as the decimal digits of |value| * 10^decimals
// without leading zeros ("" for zero). The value is first taken to 15 significant digits, the precision
// of a double, so that binary noise (2.675 kept as 2.67499999...) does not decide the rounding.
std::string roundedDigits(double value, int decimals)
{
    constexpr int kSignificant = 15;
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                         std::chars_format::scientific, kSignificant - 1);
    if (ec != std::errc())
        return {};
    std::string significand;
    const char* p = buffer.data();
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.')
            significand += *p;
    }
    int exponent = 0;
    if (p != end)
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);

    // Digits of the scaled value that stand before its decimal point.
    const int kept = exponent + 1 + decimals;
    std::string digits;
    if (kept <= 0) {
        if (kept == 0 && significand[0] >= '5')
            digits = "1";
    } else if (kept >= kSignificant) {
        digits = significand + std::string(kept - kSignificant, '0');
    } else {
        digits = significand.substr(0, kept);
        if (significand[kept] >= '5') {
            int i = kept - 1;
            for (; i >= 0 && digits[i] == '9'; --i)
                digits[i] = '0';
            if (i >= 0)
                ++digits[i];
            else
                digits.insert(digits.begin(), '1');
        }
    }
    const auto firstNonZero = digits.find_first_not_of('0');
    return firstNonZero == std::string::npos ? std::string() : digits.substr(firstNonZero);
}

bool isPlaceholder(QChar c)
{
    return c == u'0' || c == u'#';
}

} // namespace

std::optional<double> parseDecimal(const QString& text)
{
    const std::string plain = plainDecimal(text.trimmed(), QLocale());
    if (plain.empty())
        return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        return std::nullopt;
    return value;
}

std::optional<float> parseNumber(const QString& text)
{
    const std::optional<double> value = parseDecimal(text);
    if (!value)
        return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<int32_t> parseInteger(const QString& text)
{
    const QString trimmed = text.trimmed();
    const QLocale locale;
    std::string plain;
    qsizetype i = 0;
    if (i < trimmed.size() && isMinus(trimmed[i], locale)) {
        plain += '-';
        ++i;
    } else if (i < trimmed.size() && isPlus(trimmed[i], locale)) {
        ++i;
    }
    if (i == trimmed.size())
        return std::nullopt;
    for (; i < trimmed.size(); ++i) {
        if (!isAsciiDigit(trimmed[i]))
            return std::nullopt;
        plain += char(trimmed[i].unicode());
    }
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    return value;
}

QString formatTotal(double value)
{
    // A total that cancels out to -0 is written as plain 0.
    if (value == 0.0)
        value = 0.0;
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 15);
    if (ec != std::errc())
        return {};
    return withLocaleSeparator(buffer.data(), end);
}

QString formatPicture(double value, const QString& picture)
{
    if (picture.isEmpty())
        return formatTotal(value);
    if (!std::isfinite(value)) {
        std::array<char, 16> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    }

    // Only the first "." is the decimal point; placeholders before it belong to the integer part.
    const qsizetype pointAt = picture.indexOf(u'.');
    int integerSlots = 0;
    int integerRequired = 0;
    int fractionSlots = 0;
    int fractionRequired = 0;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (!isPlaceholder(c))
            continue;
        if (pointAt < 0 || i < pointAt) {
            ++integerSlots;
            if (c == u'0' && integerRequired == 0)
                integerRequired = 1;
            else if (integerRequired > 0)
                ++integerRequired;
        } else {
            ++fractionSlots;
            if (c == u'0')
                fractionRequired = fractionSlots;
        }
    }

    const std::string digits = roundedDigits(value, fractionSlots);
    const bool negative = value < 0 && !digits.empty();
    const qsizetype integerLength = std::max<qsizetype>(0, qsizetype(digits.size()) - fractionSlots);
    std::string integerDigits = digits.substr(0, integerLength);
    std::string fractionDigits = digits.substr(integerLength);
    fractionDigits.insert(0, fractionSlots - fractionDigits.size(), '0');
    while (int(fractionDigits.size()) > fractionRequired && fractionDigits.back() == '0')
        fractionDigits.pop_back();
    if (int(integerDigits.size()) < integerRequired)
        integerDigits.insert(0, integerRequired - integerDigits.size(), '0');

    QString result;
    bool signPending = negative;
    auto put = [&](const std::string& text) {
        if (text.empty())
            return;
        if (signPending) {
            result += u'-';
            signPending = false;
        }
        result += QString::fromLatin1(text.data(), qsizetype(text.size()));
    };
    // The integer digits fill the integer placeholders from the right; digits beyond the placeholders
    // all go to the first one, so the integer part is never cut. Without integer placeholders they stand
    // where the decimal point (or else the end of the picture) is.
    const int surplus = int(integerDigits.size()) - integerSlots;
    int integerSlot = 0;
    int fractionSlot = 0;
    auto putIntegerSlot = [&]() {
        const int from = integerSlot + surplus;
        if (integerSlot == 0 && surplus > 0)
            put(integerDigits.substr(0, surplus + 1));
        else if (from >= 0)
            put(integerDigits.substr(from, 1));
        ++integerSlot;
    };
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (i == pointAt) {
            if (integerSlots == 0)
                put(integerDigits);
            if (!fractionDigits.empty()) {
                if (signPending) {
                    result += u'-';
                    signPending = false;
                }
                result += QLocale().decimalPoint();
            }
        } else if (isPlaceholder(c) && (pointAt < 0 || i < pointAt)) {
            putIntegerSlot();
        } else if (isPlaceholder(c)) {
            if (fractionSlot < int(fractionDigits.size()))
                put(fractionDigits.substr(fractionSlot, 1));
            ++fractionSlot;
        } else {
            result += c;
        }
    }
    if (pointAt < 0 && integerSlots == 0)
        put(integerDigits);
    return result;
}

QString lengthPicture(int formatIndex)
{
    static const std::array<const char*, 5> pictures = {"######0", "######0.0", "######0.00", "######0.00#",
                                                        "######0.00##"};
    // No selection in the format list writes whole numbers, like the first item.
    if (formatIndex < 0 || formatIndex >= int(pictures.size()))
        formatIndex = 0;
    return QString::fromLatin1(pictures[formatIndex]);
}

QString formatLength(double value, int formatIndex)
{
    return formatPicture(value, lengthPicture(formatIndex));
}

QString excerpt(const QString& text)
{
    constexpr qsizetype kLongest = 40;
    return text.size() <= kLongest ? text : text.left(kLongest) + u'…';
}

} // namespace calculation
