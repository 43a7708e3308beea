#pragma once

#include "mainwindow/user_dialogs.h"

#include <QPointer>
#include <QWidget>

namespace mainwindow::widgets {

// The real dialogs: the program's message boxes, questions in a message box with their own buttons, and
// Qt's file dialogs, which start in the folder last chosen.
class QtUserDialogs final : public UserDialogs {
public:
    // The window that owns the dialogs and whose caption titles the message boxes.
    void setWindow(QWidget* window) { m_window = window; }

    void showMessage(const QString& text, calculation::MessageIcon icon) override;
    std::optional<FileChoice> askOpenFile(const FileDialogSetup& setup) override;
    std::optional<FileChoice> askSaveFile(const FileDialogSetup& setup) override;
    void showTitledMessage(const QString& title, const QString& text, calculation::MessageIcon icon) override;
    Answer ask(const Question& question) override;
    void openDocument(const QString& path) override;

private:
    std::optional<FileChoice> ask(const FileDialogSetup& setup, bool save);

    QPointer<QWidget> m_window;
    QString m_lastFolder;
};

} // namespace mainwindow::widgets
