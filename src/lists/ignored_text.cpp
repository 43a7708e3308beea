#include "lists/ignored_text.h"

#include "calculation/number_text.h"

#include "localization/translate.h"

namespace lists {

using calculation::excerpt;
using localization::translate;

void IgnoredText::add(const QString& entry)
{
    if (m_count++ < kShownLines)
        m_shown.append(entry);
}

void IgnoredText::addExtraFields(int line, const QStringList& fields)
{
    add(translate("line %1: the extra text \"%2\" was ignored.")
            .arg(QString::number(line), excerpt(fields.join(u' '))));
}

void IgnoredText::addPriority(int line, const QString& word)
{
    add(translate("line %1: the priority \"%2\" is neither \"%3\" nor \"%4\" and counts as \"%4\".")
            .arg(QString::number(line), excerpt(word), translate("Yes"), translate("No")));
}

QString IgnoredText::message(const QString& path) const
{
    if (isEmpty())
        return {};
    QStringList lines{translate("Some text in %1 was not used:").arg(path)};
    lines += m_shown;
    if (m_count > kShownLines)
        lines.append(translate("and %1 more.").arg(m_count - kShownLines));
    return lines.join(u'\n');
}

} // namespace lists
