#pragma once

#include <QString>

#include <locale>
#include <memory>

namespace boost::locale {
template <typename CharType> class message_format;
}

namespace localization {

// One language's catalog of text domain "default", read through Boost.Locale's gettext backend from
// <locale folder>/<code>/LC_MESSAGES/default.mo. The language folder is found without regard to letter
// case, so a code listed in lower case still reaches a folder named "De_DE".
class MoCatalog;

// A language's catalog as loaded: the catalog, or nullptr when there is none or it can't be used; in the
// latter case the problem, for the user, and whether it was a catalog that doesn't declare UTF-8 (such a
// catalog is not used).
struct CatalogLoad {
    std::shared_ptr<const MoCatalog> catalog;
    QString problem;
    bool notUtf8 = false;
};

class MoCatalog {
public:
    static CatalogLoad load(const QString& localeFolder, const QString& code);

    // Whether a file is a catalog whose tables can be read: a language with a damaged or foreign file in
    // its place is not offered.
    static bool isReadable(const QString& path);

    // The translation of an English message identifier (UTF-8), or nullptr when the catalog has no entry.
    const char* find(const char* english) const;

private:
    MoCatalog() = default;

    std::locale m_owner; // keeps the messages facet alive
    const boost::locale::message_format<char>* m_messages = nullptr;
    int m_domain = 0;
};

// The folder under `localeFolder` whose name equals `code` without regard to case (an exact match
// first), or an empty text when there is none.
QString findLanguageFolder(const QString& localeFolder, const QString& code);

// The catalog of the current language, shared with the thread that reads it (nullptr: English).
std::shared_ptr<const MoCatalog> currentCatalog();

} // namespace localization
