#pragma once

#include "mainwindow/user_dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <optional>

// The user, scripted: file dialogs and questions take their answers from queues (a path and the position of
// the file type, or a cancel; Save, Discard or Cancel), and every dialog, question, message box and document
// shown is recorded.
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
    // The answer to the next question; a question with none left in the script is answered Discard.
    void reply(mainwindow::Answer answer) { m_replies.push_back(answer); }
    // Forgets the script and everything recorded.
    void reset()
    {
        m_answers.clear();
        messages.clear();
        asked.clear();
        titled.clear();
        opened.clear();
        questions.clear();
        m_replies.clear();
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
    mainwindow::Answer ask(const mainwindow::Question& question) override
    {
        questions.append(question);
        if (m_replies.empty())
            return mainwindow::Answer::Discard;
        const mainwindow::Answer answer = m_replies.front();
        m_replies.pop_front();
        return answer;
    }

    QList<Message> messages;
    QList<Titled> titled;
    QStringList opened;
    QList<Asked> asked;
    QList<mainwindow::Question> questions;
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
    std::deque<mainwindow::Answer> m_replies;
};
