#pragma once

#include <QString>
#include <QStringList>

namespace localization {

// The message catalogs of the interface languages: <locale folder>/<code>/LC_MESSAGES/default.mo, one
// folder per language code. The current language decides what translate() returns; it may be switched
// on the UI thread while other threads translate.

inline constexpr const char* kDefaultLanguage = "en_us";

// The folder that holds the language folders. An empty text restores the default, localeFolderOf() the
// executable's folder (when an application object exists). Takes effect at the next useLanguage().
void setLocaleFolder(const QString& folder);
QString localeFolder();

// The folder "locale" of programs in `programFolder`: beside them (the build tree, a portable copy) when it
// is there, else the one in the installed data folder when that is there, else the one beside them.
QString localeFolderOf(const QString& programFolder);

// The codes of the languages that have a catalog: every language folder whose LC_MESSAGES holds a readable
// default.mo, its name in lower case, each once, sorted.
QStringList availableLanguages();

// The language folder of a code as it is spelled on disk (found without regard to case), or empty.
QString languageFolder(const QString& code);

// Switches to a language and loads its catalog. Returns whether a catalog is in use; without one the
// English texts are shown, and catalogProblem() tells why when the catalog exists but can't be used.
bool useLanguage(const QString& code = QString::fromLatin1(kDefaultLanguage));
QString currentLanguage();
QString catalogProblem();
// Whether the current language's catalog was turned away because its header doesn't declare UTF-8; the
// user hears of that one, while a damaged catalog counts as a missing one.
bool catalogLacksUtf8();

} // namespace localization
