#pragma once

#include <QString>
#include <QStringList>

namespace localization {

// The languages the window offers: those with a usable catalog, and English always, which needs none.
QStringList offeredLanguages();

// A language code with the language's own name beside it, "de_de - Deutsch", since few users know what
// "pl_pl" means; the code alone when the name is not known.
QString languageDisplayName(const QString& code);

// The help file of a language: rodplan.html in the LC_MESSAGES folder of its language folder.
QString helpFilePath(const QString& code);

} // namespace localization
