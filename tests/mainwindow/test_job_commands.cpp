#include "mainwindow/job_commands.h"

#include "mainwindow/gui/scripted_dialogs.h"

#include "calculation/grids.h"
#include "document/history/job_history.h"
#include "exchange/remnant_stocks.h"
#include "lists/list_files.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/grid_input.h"
#include "support/grid_fixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>

using calculation::GridModel;
using document::ListKind;
using mainwindow::Answer;
using mainwindow::InputGrid;

namespace {

// A job of its own: the two grids, the document, its history and the commands with scripted dialogs.
struct Job {
    std::unique_ptr<GridModel> parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> stocks{calculation::createStocksGrid()};
    document::JobDocument document{*parts, *stocks};
    document::JobHistory history{document};
    document::RecentFiles recent;
    ScriptedDialogs dialogs;
    mainwindow::JobCommands commands{document, dialogs, recent};

    std::pair<document::ListSnapshot, document::ListSnapshot> state() const
    {
        return {document.snapshot(ListKind::Parts), document.snapshot(ListKind::Stocks)};
    }
};

} // namespace

class JobCommandsTest : public GridTest {
protected:
    QString write(const char* name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir m_dir;
    Job m_job;
};

// Each command of the window as it runs it: one edit, taken back whole by undo (the file name too, for an
// opened list) and done again by redo.
TEST_F(JobCommandsTest, EachCommandIsOneEditThatUndoTakesBackAndRedoDoesAgain)
{
    fill(*m_job.parts, {{"A", "100", "2"}, {"B", "50", "3"}});
    fill(*m_job.stocks, {{"S", "6000", "2", "5", "Yes"}});
    const QString list = write("parts.txt", "P1\t1200\t4\r\n");
    const QString left = write("left.txt", "L1\t900\t5\t0\tYes\r\n");
    auto parts = [&](const char* name, const std::function<void()>& change) {
        m_job.document.edit(ListKind::Parts, name, change);
    };
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"typing", [&] { m_job.parts->setCell(1, 2, "120"); }},
        {"paste",
         [&] { parts("Paste", [&] { mainwindow::pasteRows(*m_job.parts, InputGrid::Parts, "C\t1\t1\nD\t2\t2"); }); }},
        {"+", [&] { parts("Add Row", [&] { mainwindow::addRow(*m_job.parts, InputGrid::Parts); }); }},
        {"-", [&] { parts("Delete Rows", [&] {
                        mainwindow::deleteRows(*m_job.parts, InputGrid::Parts, {2, 3});
                    }); }},
        {"X", [&] { parts("Delete All", [&] { mainwindow::deleteAll(*m_job.parts, InputGrid::Parts); }); }},
        {"multiplier", [&] { parts("Multiply", [&] { mainwindow::multiplyQuantities(*m_job.parts, "3"); }); }},
        {"open", [&] { m_job.commands.openList(ListKind::Parts, list, lists::kPartsText); }},
        {"Imp Left", [&] {
             m_job.document.edit(ListKind::Stocks, "Imp Left",
                                 [&] { exchange::importLeftStocks(*m_job.stocks, left); });
         }}};
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        const auto before = m_job.state();
        const int edits = m_job.history.stack().index();
        command();
        const auto after = m_job.state();
        ASSERT_FALSE(after == before);
        EXPECT_EQ(m_job.history.stack().index(), edits + 1);
        m_job.history.stack().undo();
        EXPECT_TRUE(m_job.state() == before);
        m_job.history.stack().redo();
        EXPECT_TRUE(m_job.state() == after);
        m_job.history.stack().undo();
        m_job.document.endTyping();
    }
    EXPECT_EQ(m_job.document.file(ListKind::Parts).path, QString());
}

TEST_F(JobCommandsTest, AFailedOpenChangesNothing)
{
    fill(*m_job.parts, {{"Kept", "100", "1"}});
    const auto before = m_job.state();
    const QString totals = m_job.parts->cell(1, 0);
    const int edits = m_job.history.stack().count();
    // The first line reads, the second does not: nothing of the file is taken.
    const QString bad = write("bad.txt", "P1\t1200\t4\r\nP2\t800\tmany\r\n");
    EXPECT_FALSE(m_job.commands.openList(ListKind::Parts, bad, lists::kPartsText));
    EXPECT_FALSE(m_job.commands.openList(ListKind::Parts, m_dir.filePath("missing.xlsx"), lists::kPartsXlsx));
    EXPECT_TRUE(m_job.state() == before);
    EXPECT_EQ(m_job.parts->cell(1, 0), totals);
    EXPECT_TRUE(m_job.document.modified());
    EXPECT_EQ(m_job.history.stack().count(), edits);
    ASSERT_EQ(m_job.dialogs.messages.size(), 2);
    EXPECT_EQ(m_job.dialogs.messages[0].text, bad + ", line 2: 'many' is not a valid integer value");
    EXPECT_TRUE(m_job.recent.files().isEmpty());
}

TEST_F(JobCommandsTest, TheQuestionBeforeDiscardingNamesWhatWouldBeLostAndCancelKeepsIt)
{
    EXPECT_TRUE(m_job.commands.confirmDiscardJob());
    EXPECT_TRUE(m_job.dialogs.questions.isEmpty()) << "nothing unsaved, nothing asked";

    fill(*m_job.parts, {{"P1", "1200", "4"}});
    m_job.dialogs.reply(Answer::Cancel);
    EXPECT_FALSE(m_job.commands.confirmDiscardJob());
    ASSERT_EQ(m_job.dialogs.questions.size(), 1);
    EXPECT_EQ(m_job.dialogs.questions[0].text, QStringLiteral("Save the changes to this job?"));
    EXPECT_EQ(m_job.dialogs.questions[0].details, QStringLiteral("Not saved: the parts list, which has no file yet."));
    EXPECT_TRUE(m_job.document.modified());

    m_job.dialogs.reply(Answer::Discard);
    EXPECT_TRUE(m_job.commands.confirmDiscardJob());
    // Save with the dialog cancelled goes on with nothing; answered, it writes the list.
    m_job.dialogs.reply(Answer::Accept);
    m_job.dialogs.cancel();
    EXPECT_FALSE(m_job.commands.confirmDiscardJob());
    m_job.dialogs.reply(Answer::Accept);
    m_job.dialogs.answer(m_dir.filePath("parts.txt"));
    EXPECT_TRUE(m_job.commands.confirmDiscardJob());
    EXPECT_FALSE(m_job.document.modified());
    EXPECT_TRUE(QFile::exists(m_dir.filePath("parts.txt")));

    // A new job: empty lists, default settings, no file, nothing to undo.
    document::ProjectSettings settings = m_job.document.settings();
    settings.blade = "3";
    m_job.document.setSettings(settings);
    int resets = 0;
    m_job.commands.resetSettings = [&] {
        ++resets;
        m_job.document.setSettings({});
    };
    m_job.dialogs.reply(Answer::Discard);
    EXPECT_TRUE(m_job.commands.newJob());
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(m_job.parts->rows(), GridModel::kFirstDataRow + 1);
    EXPECT_EQ(m_job.document.name(), QStringLiteral("untitled"));
    EXPECT_FALSE(m_job.document.modified());
    EXPECT_EQ(m_job.history.stack().count(), 0);
}

// Save Project on lists that differ from their files, answering Save: the project, opened again, shows the
// same job. The parts were opened and then edited, the stocks imported from a workbook.
TEST_F(JobCommandsTest, SaveProjectAnsweringSaveReproducesTheScreenOnReopening)
{
    const QString parts = write("parts.txt", "P1\t1200\t4\r\n");
    const QString stocks = m_dir.filePath("stocks.xlsx");
    ASSERT_TRUE(QFile::copy(BARVIK_TEST_DATA "/spreadsheets/job_stocks.xlsx", stocks));
    ASSERT_TRUE(m_job.commands.openList(ListKind::Parts, parts, lists::kPartsText));
    ASSERT_TRUE(m_job.commands.openList(ListKind::Stocks, stocks, lists::kStocksXlsx));
    m_job.parts->setCell(2, 2, "6");
    fill(*m_job.parts, {{"P1", "1200", "6"}, {"Typed", "300", "2"}});
    document::ProjectSettings settings = m_job.document.settings();
    settings.title = "Hall 2";
    m_job.document.setSettings(settings);

    // Parts: asked, saved over their text file. Stocks: a workbook as it was read, named as it is.
    m_job.dialogs.reply(Answer::Accept);
    m_job.dialogs.answer(m_dir.filePath("job.dat"));
    ASSERT_TRUE(m_job.commands.saveProject(false));
    ASSERT_EQ(m_job.dialogs.questions.size(), 1);
    EXPECT_EQ(m_job.dialogs.questions[0].text, QStringLiteral("Save the changes to the parts list?"));
    EXPECT_EQ(m_job.dialogs.asked.size(), 1) << "the parts file is written in place";
    EXPECT_FALSE(m_job.document.modified());

    Job reopened;
    // The window puts the settings into its controls, which tell the document.
    reopened.commands.applyProject = [&](const document::ProjectLoad& load) {
        reopened.document.setSettings(load.settings);
    };
    ASSERT_TRUE(reopened.commands.openProject(m_dir.filePath("job.dat")));
    for (ListKind kind : {ListKind::Parts, ListKind::Stocks}) {
        EXPECT_EQ(document::listImage(reopened.document.grid(kind), kind),
                  document::listImage(m_job.document.grid(kind), kind));
        EXPECT_EQ(row(reopened.document.grid(kind), 0), row(m_job.document.grid(kind), 0));
    }
    EXPECT_EQ(reopened.document.file(ListKind::Stocks).path, stocks);
    EXPECT_EQ(reopened.document.settings().title, QStringLiteral("Hall 2"));
    EXPECT_FALSE(reopened.document.modified());
    EXPECT_EQ(reopened.recent.files().first().path, m_dir.filePath("job.dat"));

    // Don't Save keeps the Part's rule: the project names the file as it is on disk.
    m_job.parts->setCell(2, 2, "9");
    m_job.dialogs.reply(Answer::Discard);
    ASSERT_TRUE(m_job.commands.saveProject(false));
    QStringList lines;
    ASSERT_TRUE(lists::readTextLines(parts, lines).ok);
    EXPECT_EQ(lines.first(), QStringLiteral("P1\t1200\t6"));
    EXPECT_TRUE(m_job.document.listModified(ListKind::Parts));
}
