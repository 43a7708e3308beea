#include "split_fields.h"

#include <array>

namespace calculation {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

// Separators by priority, not by position in the line.
constexpr std::array<char16_t, 5> kSeparators = {u'\t', u' ', u';', u',', u':'};

qsizetype firstSeparator(const QString& text)
{
    for (char16_t separator : kSeparators) {
        const qsizetype at = text.indexOf(QChar(separator));
        if (at >= 0)
            return at;
    }
    return -1;
}

} // namespace

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QStringList SplitFields(const QString& line)
{
    QStringList fields;
    if (line.isEmpty() || line == u"0")
        return fields;
    QString rest = trimBlanks(line);
    for (qsizetype at = firstSeparator(rest); at >= 0; at = firstSeparator(rest)) {
        fields.append(trimBlanks(rest.left(at)));
        rest = trimBlanks(rest.mid(at + 1));
    }
    if (!rest.isEmpty())
        fields.append(rest);
    return fields;
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

} // namespace calculation
