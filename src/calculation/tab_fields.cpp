#include "calculation/tab_fields.h"

namespace calculation {

QString tabField(QString text)
{
    for (QChar& character : text) {
        // Control characters, and the line and paragraph separators that some readers end a line at.
        const QChar::Category category = character.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            character = u' ';
    }
    return text;
}

QString tabLine(const QStringList& fields)
{
    QStringList cleaned;
    cleaned.reserve(fields.size());
    for (const QString& field : fields)
        cleaned.append(tabField(field));
    return cleaned.join(u'\t');
}

} // namespace calculation
