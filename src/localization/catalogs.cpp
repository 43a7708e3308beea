#include "catalogs.h"

#include "mo_catalog.h"

#include "build_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <mutex>

namespace localization {

namespace {

struct State {
    std::mutex mutex;
    QString folder; // empty: beside the executable
    QString language = QString::fromLatin1(kDefaultLanguage);
    QString problem;
    bool notUtf8 = false;
    std::shared_ptr<const MoCatalog> catalog;
};

State& state()
{
    static State instance;
    return instance;
}

} // namespace

void setLocaleFolder(const QString& folder)
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    s.folder = folder;
}

QString localeFolder()
{
    {
        State& s = state();
        const std::lock_guard lock(s.mutex);
        if (!s.folder.isEmpty())
            return s.folder;
    }
    if (QCoreApplication::instance())
        return localeFolderOf(QCoreApplication::applicationDirPath());
    return {};
}

QString localeFolderOf(const QString& programFolder)
{
    const QString beside = programFolder + QStringLiteral("/locale");
    if (QFileInfo(beside).isDir())
        return beside;
    const QString installed = QDir::cleanPath(programFolder + u'/' + QLatin1String(buildinfo::kDataFolderFromPrograms) +
                                              QStringLiteral("/locale"));
    return QFileInfo(installed).isDir() ? installed : beside;
}

QStringList availableLanguages()
{
    const QString folder = localeFolder();
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    QStringList codes;
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        const QString code = name.toLower();
        if (!codes.contains(code) &&
            MoCatalog::isReadable(dir.filePath(name + QStringLiteral("/LC_MESSAGES/default.mo"))))
            codes.append(code);
    }
    return codes;
}

QString languageFolder(const QString& code)
{
    return findLanguageFolder(localeFolder(), code);
}

bool useLanguage(const QString& code)
{
    // Read the catalog before taking the lock, so translating threads don't wait for the disk.
    CatalogLoad loaded = MoCatalog::load(localeFolder(), code);
    const bool found = loaded.catalog != nullptr;
    State& s = state();
    const std::lock_guard lock(s.mutex);
    s.language = code;
    s.problem = loaded.problem;
    s.notUtf8 = loaded.notUtf8;
    s.catalog = std::move(loaded.catalog);
    return found;
}

QString currentLanguage()
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    return s.language;
}

QString catalogProblem()
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    return s.problem;
}

bool catalogLacksUtf8()
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    return s.notUtf8;
}

std::shared_ptr<const MoCatalog> currentCatalog()
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    return s.catalog;
}

} // namespace localization
