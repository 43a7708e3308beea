#pragma once

#include <QString>

namespace localization {

// The translation function: looks the English text up as the message identifier in the catalog of text
// domain "default" for the current language and returns the English text when there is no entry.
QString translate(const char* english);
QString translate(const QString& english);

// Marks an English text in a table for the catalogs without translating it yet; the code translates it
// when it shows it. The message extraction takes both names as keywords, so every text the program shows
// stands in the sources as a literal inside one of them.
constexpr const char* translatable(const char* english)
{
    return english;
}

} // namespace localization
