#include "document/recent_files.h"

#include <QSettings>

namespace document {

namespace {

const char* const kKindNames[] = {"project", "parts", "stocks"};

} // namespace

void RecentFiles::add(const QString& path, RecentKind kind)
{
    if (path.isEmpty())
        return;
    remove(path, kind);
    m_files.prepend({path, kind});
    while (m_files.size() > kMaxFiles)
        m_files.removeLast();
}

void RecentFiles::remove(const QString& path, RecentKind kind)
{
    m_files.removeAll(RecentFile{path, kind});
}

void RecentFiles::read(const QString& iniPath)
{
    QSettings settings(iniPath, QSettings::IniFormat);
    m_files.clear();
    const int count = settings.beginReadArray(QStringLiteral("RecentFiles"));
    for (int i = 0; i < count && m_files.size() < kMaxFiles; ++i) {
        settings.setArrayIndex(i);
        const QString kind = settings.value(QStringLiteral("kind")).toString();
        const QString path = settings.value(QStringLiteral("path")).toString();
        for (int k = 0; k < 3; ++k)
            if (kind == QLatin1String(kKindNames[k]) && !path.isEmpty())
                m_files.append({path, RecentKind(k)});
    }
    settings.endArray();
}

void RecentFiles::write(const QString& iniPath) const
{
    QSettings settings(iniPath, QSettings::IniFormat);
    settings.remove(QStringLiteral("RecentFiles"));
    settings.beginWriteArray(QStringLiteral("RecentFiles"), int(m_files.size()));
    for (int i = 0; i < m_files.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("kind"), QLatin1String(kKindNames[int(m_files[i].kind)]));
        settings.setValue(QStringLiteral("path"), m_files[i].path);
    }
    settings.endArray();
}

} // namespace document
