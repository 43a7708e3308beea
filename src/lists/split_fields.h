#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace lists {

// Removes blanks, tabs and other characters with codes up to 32 from both ends.
QString trimBlanks(const QString& text);

// The line splitter of the list loaders. The separator is the first of TAB, space, ";", ",", ":" that
// occurs in the line, cut at its first occurrence; the rest is trimmed and split again, so runs of blanks
// or tabs act as one separator. An empty line or the line "0" gives no fields. Takes time in proportion
// to the line's length.
QStringList SplitFields(const QString& line);
QStringList SplitFields(QStringView line);

// Lines of a text: CR, LF or CR LF end a line; a break after the last line adds no empty line.
QStringList splitLines(const QString& text);

// The lines of splitLines one at a time, as views into the text, which must outlive the walk.
class LineWalker {
public:
    explicit LineWalker(QStringView text) : m_text(text) {}
    // The next line, or false after the last one.
    bool next(QStringView& line);

private:
    QStringView m_text;
    qsizetype m_at = 0;
};

} // namespace lists
