#include "lists/split_fields.h"

#include <array>

namespace lists {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

// Separators by priority, not by position in the line.
constexpr std::array<char16_t, 5> kSeparators = {u'\t', u' ', u';', u',', u':'};

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
    return SplitFields(QStringView(line));
}

QStringList SplitFields(QStringView line)
{
    QStringList fields;
    if (line.isEmpty() || line == u"0")
        return fields;
    qsizetype begin = 0;
    qsizetype end = line.size();
    auto skipBlanks = [&] {
        while (begin < end && isBlank(line[begin]))
            ++begin;
    };
    skipBlanks();
    while (end > begin && isBlank(line[end - 1]))
        --end;
    // The rest of the line only ever loses its front, so a separator missing from it stays missing and the
    // next occurrence of each separator only moves forward: every character is looked at a few times at
    // most, however long the line.
    size_t level = 0;
    qsizetype next = -1;
    while (level < kSeparators.size()) {
        if (next < begin)
            next = line.indexOf(QChar(kSeparators[level]), begin);
        if (next < 0 || next >= end) {
            ++level;
            next = -1;
            continue;
        }
        qsizetype fieldEnd = next;
        while (fieldEnd > begin && isBlank(line[fieldEnd - 1]))
            --fieldEnd;
        fields.append(line.mid(begin, fieldEnd - begin).toString());
        begin = next + 1;
        skipBlanks();
    }
    if (begin < end)
        fields.append(line.mid(begin, end - begin).toString());
    return fields;
}

bool LineWalker::next(QStringView& line)
{
    const qsizetype size = m_text.size();
    if (m_at >= size)
        return false;
    qsizetype end = m_at;
    while (end < size && m_text[end] != u'\r' && m_text[end] != u'\n')
        ++end;
    line = m_text.sliced(m_at, end - m_at);
    if (end + 1 < size && m_text[end] == u'\r' && m_text[end + 1] == u'\n')
        ++end;
    m_at = end + 1;
    return true;
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    LineWalker walker(text);
    for (QStringView line; walker.next(line);)
        lines.append(line.toString());
    return lines;
}

} // namespace lists
