#include "document/history/job_history.h"
#include "document/job_document.h"
#include "document/recent_files.h"

#include "calculation/grids.h"
#include "calculation/number_text.h"
#include "support/grid_fixture.h"

#include <QTemporaryDir>

#include <memory>

using calculation::GridModel;
using document::JobDocument;
using document::ListKind;

class JobDocumentTest : public GridTest {
protected:
    QString saved(ListKind kind, const char* name)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(document::saveList(m_job.grid(kind), kind, path).ok);
        m_job.setListFile(kind, path, 0);
        return path;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<GridModel> m_parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
    JobDocument m_job{*m_parts, *m_stocks};
    document::JobHistory m_history{m_job};
};

TEST_F(JobDocumentTest, ModifiedFollowsEveryKindOfChangeUntilItIsSaved)
{
    EXPECT_FALSE(m_job.modified());
    EXPECT_EQ(m_job.name(), QStringLiteral("untitled"));

    // Typed by hand: unsaved, and named so in the question.
    m_parts->setCell(0, 2, "P1");
    EXPECT_TRUE(m_job.modified());
    EXPECT_EQ(m_job.unsaved(), QStringList{"the parts list, which has no file yet"});
    saved(ListKind::Parts, "parts.txt");
    EXPECT_FALSE(m_job.modified());
    EXPECT_EQ(m_job.name(), QStringLiteral("parts.txt"));

    // An edit undone is no change; a row without a label is none either, as the file would not hold it.
    m_parts->setCell(1, 2, "100");
    EXPECT_EQ(m_job.unsaved(), QStringList{"the parts list parts.txt"});
    m_history.stack().undo();
    EXPECT_FALSE(m_job.modified());
    m_parts->setRows(5);
    EXPECT_FALSE(m_job.modified());

    // The settings, against the start's and then the project's.
    document::ProjectSettings settings = m_job.settings();
    settings.blade = "3";
    m_job.setSettings(settings);
    EXPECT_EQ(m_job.unsaved(), QStringList{"the settings"});
    m_job.setProject(m_dir.filePath("job.dat"));
    EXPECT_FALSE(m_job.modified());
    EXPECT_EQ(m_job.name(), QStringLiteral("job.dat"));
    // Another parts file is another project.
    saved(ListKind::Parts, "other.txt");
    EXPECT_EQ(m_job.unsaved(), QStringList{"the project job.dat"});

    // Save Left: the stocks name a file of other rows than the grid's.
    fill(*m_stocks, {{"S6", "6000", "3", "10", "Yes"}});
    saved(ListKind::Stocks, "stocks.txt");
    EXPECT_FALSE(m_job.listModified(ListKind::Stocks));
    m_job.setListFile(ListKind::Stocks, {m_dir.filePath("left.txt"), 0, {"S6\t6000\t1\t10\tYes"}});
    EXPECT_TRUE(m_job.listModified(ListKind::Stocks));
}

TEST_F(JobDocumentTest, TotalsFollowTheRowsAtEveryEdit)
{
    fill(*m_parts, {{"A", "1200", "2"}, {"B", "0.1", "1"}, {"C", "500", ""}});
    EXPECT_EQ(m_parts->cell(1, 0), calculation::formatTotal(float(2400 + 0.1f)));
    EXPECT_EQ(m_parts->cell(2, 0), QStringLiteral("3"));
    fill(*m_stocks, {{"S", "6000", "2", "7.5", "Yes"}, {"T", "x", "1", "", "No"}});
    EXPECT_EQ(row(*m_stocks, 0).mid(1, 3), QStringList({"12000", "3", "15"}));
    // A list without quantities shows empty totals.
    m_parts->setRows(GridModel::kFirstDataRow);
    EXPECT_EQ(row(*m_parts, 0), QStringList({"Total", "", ""}));
}

TEST_F(JobDocumentTest, TypingIntoACellIsOneEditUntilTheEditorCloses)
{
    for (const char* text : {"1", "12", "120"})
        m_parts->setCell(1, 2, text);
    EXPECT_EQ(m_history.stack().count(), 1);
    EXPECT_EQ(m_history.stack().undoText(), QStringLiteral("Typing"));
    m_job.endTyping();
    m_parts->setCell(1, 2, "1200");
    EXPECT_EQ(m_history.stack().count(), 2);
    m_history.stack().undo();
    EXPECT_EQ(m_parts->cell(1, 2), QStringLiteral("120"));
    m_history.stack().undo();
    EXPECT_EQ(m_parts->cell(1, 2), QString());
    m_history.stack().redo();
    EXPECT_EQ(m_parts->cell(1, 2), QStringLiteral("120"));
    // The program's own writes (the fixed rows, a calculation's "Left Qty") are no edits.
    m_job.programChange(ListKind::Stocks, [&] { m_stocks->setCell(5, 2, "4"); });
    m_parts->setCell(0, 0, "Summe");
    EXPECT_EQ(m_history.stack().count(), 2);
}

TEST(RecentFiles, NewestFirstEachOnceEightAtMostAndKept)
{
    document::RecentFiles recent;
    for (int i = 0; i < 10; ++i)
        recent.add(QStringLiteral("/jobs/%1.dat").arg(i), document::RecentKind::Project);
    recent.add("/jobs/3.dat", document::RecentKind::Project);
    recent.add("/jobs/3.dat", document::RecentKind::Parts);
    ASSERT_EQ(recent.files().size(), 8);
    EXPECT_EQ(recent.files()[0], (document::RecentFile{"/jobs/3.dat", document::RecentKind::Parts}));
    EXPECT_EQ(recent.files()[1].path, QStringLiteral("/jobs/3.dat"));
    EXPECT_EQ(recent.files()[2].path, QStringLiteral("/jobs/9.dat"));

    QTemporaryDir dir;
    recent.write(dir.filePath("window.ini"));
    document::RecentFiles read;
    read.read(dir.filePath("window.ini"));
    EXPECT_EQ(read.files(), recent.files());
}
