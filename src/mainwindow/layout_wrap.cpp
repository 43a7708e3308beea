#include "layout_wrap.h"

namespace mainwindow {

namespace {

bool isCount(const QString& word)
{
    bool ok = false;
    word.toInt(&ok);
    return ok;
}

} // namespace

QStringList layoutPieces(const QString& text)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    QStringList pieces;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!pieces.isEmpty() && words[i] == u'x' && i + 1 < words.size() && isCount(words[i + 1])) {
            pieces.last() += QStringLiteral(" x ") + words[i + 1];
            ++i;
        } else {
            pieces.append(words[i]);
        }
    }
    return pieces;
}

QStringList wrapLayoutText(const QString& text, int width, const std::function<int(const QString&)>& textWidth)
{
    QStringList lines;
    for (const QString& piece : layoutPieces(text)) {
        const QString longer = lines.isEmpty() ? QString() : lines.last() + u' ' + piece;
        if (!lines.isEmpty() && textWidth(longer) <= width)
            lines.last() = longer;
        else
            lines.append(piece);
    }
    return lines;
}

} // namespace mainwindow
