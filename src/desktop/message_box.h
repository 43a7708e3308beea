#pragma once

#include "calculation/run_seams.h"

#include <QString>

class QWidget;

namespace desktop {

// The program's caption in the current language: the title of every message box, whatever job the window's
// own caption names.
QString programCaption();

// A modal message box over the active window (or owner) with one OK button and the desktop theme's icon for
// information or error where it has one. An empty title is the program's caption.
void showMessageBox(QWidget* owner, const QString& text, calculation::MessageIcon icon,
                    const QString& title = QString());

} // namespace desktop
