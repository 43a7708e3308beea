#pragma once

#include "mainwindow/user_dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <optional>

// The user, scripted: file dialogs take their answers from a queue (a path and the position of the file
// type, or a cancel), and every dialog, message box and document shown is recorded.
class ScriptedDialogs final : public mainwindow::UserDialogs {
public:
    struct Message {
        QString text;
        calculation::MessageIcon icon;
    };
    struct Titled {
        QString title;
        QString text;
    };
    struct Asked {
        mainwindow::FileDialogSetup setup;
        bool save;
    };

    void answer(const QString& path, int filterPosition = 1)
    {
        m_answers.push_back(mainwindow::FileChoice{path, filterPosition});
    }
    void cancel() { m_answers.push_back(std::nullopt); }
    // Forgets the script and everything recorded.
    void reset()
    {
        m_answers.clear();
        messages.clear();
        asked.clear();
        titled.clear();
        opened.clear();
        unscripted = 0;
    }

    void showMessage(const QString& text, calculation::MessageIcon icon) override { messages.append({text, icon}); }
    std::optional<mainwindow::FileChoice> askOpenFile(const mainwindow::FileDialogSetup& setup) override
    {
        return next(setup, false);
    }
    std::optional<mainwindow::FileChoice> askSaveFile(const mainwindow::FileDialogSetup& setup) override
    {
        return next(setup, true);
    }

    void showTitledMessage(const QString& title, const QString& text, calculation::MessageIcon) override
    {
        titled.append({title, text});
    }
    void openDocument(const QString& path) override { opened.append(path); }

    QList<Message> messages;
    QList<Titled> titled;
    QStringList opened;
    QList<Asked> asked;
    // Dialogs shown with no answer left in the script; they count as cancelled.
    int unscripted = 0;

private:
    std::optional<mainwindow::FileChoice> next(const mainwindow::FileDialogSetup& setup, bool save)
    {
        asked.append({setup, save});
        if (m_answers.empty()) {
            ++unscripted;
            return std::nullopt;
        }
        const std::optional<mainwindow::FileChoice> answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    std::deque<std::optional<mainwindow::FileChoice>> m_answers;
};
