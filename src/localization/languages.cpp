#include "languages.h"

#include "catalogs.h"

#include <QDir>
#include <QLocale>

#include <algorithm>

namespace localization {

QStringList offeredLanguages()
{
    QStringList codes = availableLanguages();
    const QString english = QLatin1String(kDefaultLanguage);
    if (!codes.contains(english)) {
        codes.append(english);
        std::sort(codes.begin(), codes.end());
    }
    return codes;
}

QString languageDisplayName(const QString& code)
{
    const QLocale locale(code);
    // QLocale falls back to the C locale for a code it does not know.
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return code;
    // The language alone: Qt names a few by their country's variant ("American English", "español de
    // España"), which says more than the list needs.
    QString name;
    if (locale.language() == QLocale::English)
        name = QStringLiteral("English");
    else if (locale.language() == QLocale::Spanish)
        name = QStringLiteral("Español");
    else
        name = locale.nativeLanguageName();
    if (name.isEmpty())
        return code;
    name[0] = name[0].toUpper();
    return code + QStringLiteral(" - ") + name;
}

QString helpFilePath(const QString& code)
{
    QString folder = languageFolder(code);
    if (folder.isEmpty())
        folder = QDir(localeFolder()).filePath(code);
    return folder + QStringLiteral("/LC_MESSAGES/rodplan.html");
}

} // namespace localization
