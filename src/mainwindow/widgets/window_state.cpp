#include "window_state.h"

#include "localization/language_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>
#include <QSplitter>

namespace mainwindow::widgets {

namespace {

QString splitterKey(const QSplitter* splitter)
{
    return QStringLiteral("Window/") + splitter->objectName();
}

} // namespace

QString windowStateFile()
{
    return QFileInfo(localization::settingsFile()).absoluteDir().filePath(QLatin1String(kWindowStateFileName));
}

bool restoreWindowState(QMainWindow& window, const QList<QSplitter*>& splitters, const QString& path)
{
    const QSettings settings(path, QSettings::IniFormat);
    if (!window.restoreGeometry(settings.value(QStringLiteral("Window/geometry")).toByteArray()))
        return false;
    for (QSplitter* splitter : splitters)
        splitter->restoreState(settings.value(splitterKey(splitter)).toByteArray());
    return true;
}

void saveWindowState(const QMainWindow& window, const QList<QSplitter*>& splitters, const QString& path)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Window/geometry"), window.saveGeometry());
    for (const QSplitter* splitter : splitters)
        settings.setValue(splitterKey(splitter), splitter->saveState());
}

} // namespace mainwindow::widgets
