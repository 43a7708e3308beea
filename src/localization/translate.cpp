#include "translate.h"

#include "mo_catalog.h"

namespace localization {

QString translate(const char* english)
{
    if (!english)
        return {};
    if (const auto catalog = currentCatalog()) {
        if (const char* translated = catalog->find(english))
            return QString::fromUtf8(translated);
    }
    return QString::fromUtf8(english);
}

QString translate(const QString& english)
{
    if (const auto catalog = currentCatalog()) {
        if (const char* translated = catalog->find(english.toUtf8().constData()))
            return QString::fromUtf8(translated);
    }
    return english;
}

} // namespace localization
