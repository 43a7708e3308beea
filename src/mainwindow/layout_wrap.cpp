#include "layout_wrap.h"

#include "calculation/grids.h"

namespace mainwindow {

namespace {

bool isCount(const QString& word)
{
    bool ok = false;
    word.toInt(&ok);
    return ok;
}

// How many words from the first make up the longest of the names, at least one.
qsizetype nameLength(const QStringList& words, qsizetype first, const QStringList& names)
{
    qsizetype longest = 1;
    for (const QString& name : names) {
        const qsizetype length = name.count(u' ') + 1;
        if (length > longest && first + length <= words.size() && words.mid(first, length).join(u' ') == name)
            longest = length;
    }
    return longest;
}

} // namespace

QStringList layoutPieces(const QString& text, const QStringList& names)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    QStringList pieces;
    for (qsizetype i = 0; i < words.size();) {
        if (!pieces.isEmpty() && words[i] == u'x' && i + 1 < words.size() && isCount(words[i + 1])) {
            pieces.last() += QStringLiteral(" x ") + words[i + 1];
            i += 2;
        } else {
            const qsizetype length = nameLength(words, i, names);
            pieces.append(words.mid(i, length).join(u' '));
            i += length;
        }
    }
    return pieces;
}

QStringList piecesWithBlanks(const calculation::GridModel& parts)
{
    QStringList names;
    for (int row = calculation::GridModel::kFirstDataRow; row < parts.rows(); ++row) {
        const QString label = parts.cell(calculation::kLabelColumn, row).simplified();
        if (label.contains(u' '))
            names << label << label + u'(' + parts.cell(calculation::kLengthColumn, row).trimmed() + u')';
    }
    return names;
}

QStringList wrapLayoutText(const QString& text, int width, const std::function<int(const QString&)>& textWidth,
                           const QStringList& names)
{
    QStringList lines;
    for (const QString& piece : layoutPieces(text, names)) {
        const QString longer = lines.isEmpty() ? QString() : lines.last() + u' ' + piece;
        if (!lines.isEmpty() && textWidth(longer) <= width)
            lines.last() = longer;
        else
            lines.append(piece);
    }
    return lines;
}

} // namespace mainwindow
