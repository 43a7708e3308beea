#pragma once

#include <QString>
#include <QStringList>

namespace calculation {

// A text as one field of a TAB-separated line: a TAB, a line break or any other control character would
// end the field or the line (or, like ESC, reach a terminal), so each is written as a space.
QString tabField(QString text);
// The fields joined by one TAB each, every field as tabField writes it.
QString tabLine(const QStringList& fields);

} // namespace calculation
