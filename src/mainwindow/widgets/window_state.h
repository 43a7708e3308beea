#pragma once

#include <QList>
#include <QString>

class QMainWindow;
class QSplitter;

namespace mainwindow::widgets {

// The window's size, position and splitter positions, kept between runs in an INI file beside the language
// setting.
inline constexpr const char* kWindowStateFileName = "barvik-window.ini";

// The window state file in the folder of the settings file.
QString windowStateFile();

// False when the file holds no state for the window, which then keeps its size and position.
bool restoreWindowState(QMainWindow& window, const QList<QSplitter*>& splitters, const QString& path);
void saveWindowState(const QMainWindow& window, const QList<QSplitter*>& splitters, const QString& path);

} // namespace mainwindow::widgets
