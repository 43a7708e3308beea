#pragma once

#include <QString>

namespace localization {

// The translation function: looks the English text up as the message identifier in the catalog of text
// domain "default" for the current language and returns the English text when there is no entry.
QString translate(const char* english);
QString translate(const QString& english);

} // namespace localization
