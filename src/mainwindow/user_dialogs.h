#pragma once

#include "calculation/run_seams.h"

#include <QString>

#include <optional>

namespace mainwindow {

// What a file dialog shows: its title, the file types as description|pattern pairs joined by vertical
// bars, and the extension added to a name typed without one.
struct FileDialogSetup {
    QString title;
    QString filter;
    QString defaultSuffix = QStringLiteral("txt");
};

// The user's answer to a file dialog: the path and the position (from 1) of the file type selected.
struct FileChoice {
    QString path;
    int filterPosition = 1;
};

// A question with two or three answers: accept ("Save", "Restore"), discard ("Discard", "Don't Save") and,
// where the user may change their mind, Cancel. details says what it concerns.
struct Question {
    QString text;
    QString details;
    QString accept;
    QString discard;
    bool cancel = true;
};
enum class Answer { Accept, Discard, Cancel };

// Everything the window asks or shows the user: message boxes, the open and save dialogs, documents. The program shows
// real dialogs; tests answer from a script.
class UserDialogs : public calculation::MessageSink {
public:
    // Nothing when the user cancels.
    virtual std::optional<FileChoice> askOpenFile(const FileDialogSetup& setup) = 0;
    // The save dialog asks before it replaces an existing file.
    virtual std::optional<FileChoice> askSaveFile(const FileDialogSetup& setup) = 0;
    // A message box under a title of its own instead of the window's caption.
    virtual void showTitledMessage(const QString& title, const QString& text, calculation::MessageIcon icon) = 0;
    // Escape is Cancel, or Discard without a Cancel button.
    virtual Answer ask(const Question& question) = 0;
    // Opens a document with the desktop's default viewer for its kind (the help).
    virtual void openDocument(const QString& path) = 0;
};

} // namespace mainwindow
