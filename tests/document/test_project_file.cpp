#include "document/project_file.h"

#include "calculation/grids.h"
#include "support/grid_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

using calculation::GridModel;
using document::LoadProjectFile;
using document::ProjectLoad;
using document::ProjectSettings;
using document::ProjectStep;

class ProjectFileTest : public GridTest {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // A project of the given lines after the two list paths.
    QString project(const QStringList& settingLines, const QString& parts, const QString& stocks)
    {
        return write("job.dat", (QStringList{parts, stocks} + settingLines).join("\r\n").toUtf8() + "\r\n");
    }

    QString partsList() { return write("parts.txt", "P1\t1200\t4\r\n"); }
    QString stocksList() { return write("stocks.txt", "S6\t6000\t2\t10\tNo\r\n"); }

    QTemporaryDir m_dir;
    std::unique_ptr<GridModel> m_parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
};

TEST_F(ProjectFileTest, RoundTripOfAFreshWindowsSettings)
{
    ProjectSettings saved;
    saved.partFile = partsList();
    saved.stockFile = stocksList();
    const QString path = m_dir.filePath("job.dat");
    ASSERT_TRUE(document::SaveProjectFile(saved, path).ok);
    QStringList lines;
    ASSERT_TRUE(lists::readTextLines(path, lines).ok);
    EXPECT_EQ(lines.mid(2), QStringList({"5", "0", "0", "0", "0", "15", "0", "mm", "Barvik pipe cuting project", "2",
                                         "1", "2", "1"}));

    // Every value comes back, and the lists are loaded from the paths.
    saved.change = true;
    saved.cost = true;
    saved.blade = "3";
    saved.title = "Hall 2";
    saved.print = 0;
    saved.times = "4";
    saved.exact = false;
    ASSERT_TRUE(document::SaveProjectFile(saved, path).ok);
    const ProjectLoad load = LoadProjectFile(path, *m_parts, *m_stocks);
    ASSERT_TRUE(load.result.ok) << load.result.message().toStdString();
    EXPECT_EQ(load.reached, ProjectStep::Done);
    EXPECT_EQ(document::projectLines(load.settings), document::projectLines(saved));
    EXPECT_EQ(row(*m_parts, 2), QStringList({"P1", "1200", "4"}));
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"S6", "6000", "2", "10", "No", ""}));

    // A value with a line break would shift the lines after it: the project is refused and the old one kept.
    saved.partFile = m_dir.filePath("a\nb.txt");
    EXPECT_FALSE(document::SaveProjectFile(saved, path).ok);
    EXPECT_EQ(LoadProjectFile(path, *m_parts, *m_stocks).reached, ProjectStep::Done);
}

TEST_F(ProjectFileTest, QualityZeroOpensAtThreeAndListsAreReadByTheirNames)
{
    // An SFCAD name is read in the SFCAD layout (three lines skipped), a workbook by the workbook reader.
    const QString parts = write("parts.nbt", "head\r\nhead\r\nhead\r\n1 P1 x 100 y 2\r\n");
    const QString stocks = m_dir.filePath("stocks.xlsx");
    ASSERT_TRUE(QFile::copy(BARVIK_TEST_DATA "/spreadsheets/job_stocks.xlsx", stocks));
    const QStringList settings = {"0", "1", "0", "2", "3", "20", "1", "cm", "T", "0", "2", "3"};
    const ProjectLoad load = LoadProjectFile(project(settings, parts, stocks), *m_parts, *m_stocks);
    ASSERT_TRUE(load.result.ok) << load.result.message().toStdString();
    EXPECT_EQ(load.settings.quality, 3);
    EXPECT_TRUE(load.settings.change);
    EXPECT_TRUE(load.settings.exact) << "a project of 14 lines leaves Exact Search ticked";
    EXPECT_EQ(row(*m_parts, 2), QStringList({"P1", "100", "2"}));
    EXPECT_EQ(row(*m_stocks, 2), QStringList({"Bar", "6000", "5", "12.5", "", ""}));
}

// A project that stops half-way keeps what came before and says where and what failed.
TEST_F(ProjectFileTest, AFailingStepIsReportedWithItsLineAndWhatWasRestored)
{
    const QString parts = partsList();
    const QString stocks = stocksList();
    const QStringList all = {"7", "1", "0", "2", "3", "20", "1", "cm", "T", "0", "2", "3"};
    struct Stop {
        QStringList settings;
        ProjectStep reached;
        int line;
        QString error;
    };
    const Stop stops[] = {
        {all.mid(0, 11), ProjectStep::Times, 14,
         "the file ends before this line, which holds the quantity multiplier\nRestored before it: the parts list, "
         "the stocks list, the quality level, Change Optimization, Cost Optimization, the blade width, stub "
         "length and reuse length, the number format, the length unit and title, the display and print choices."},
        {all + QStringList{"on"}, ProjectStep::Exact, 15,
         "Exact Search \"on\" is not a whole number\nRestored before it: the parts list, the stocks list, the "
         "quality level, Change Optimization, Cost Optimization, the blade width, stub length and reuse length, the "
         "number format, the length unit and title, the display and print choices, the quantity multiplier."},
        {QStringList{"7", "yes"} + all.mid(2), ProjectStep::Change, 4,
         "Change Optimization \"yes\" is not a whole number\nRestored before it: the parts list, the stocks list, "
         "the quality level."}};
    for (const Stop& stop : stops) {
        const QString path = project(stop.settings, parts, stocks);
        const ProjectLoad load = LoadProjectFile(path, *m_parts, *m_stocks);
        EXPECT_FALSE(load.result.ok);
        EXPECT_EQ(load.reached, stop.reached);
        EXPECT_EQ(load.result.message(), path + ", line " + QString::number(stop.line) + ": " + stop.error);
        EXPECT_EQ(load.settings.quality, 7);
    }

    // A parts list that is gone: named, the grid as it was, nothing else restored.
    fill(*m_parts, {{"old", "1", "1"}});
    const QString gone = m_dir.filePath("gone/lost.txt");
    const QString path = project(all, gone, stocks);
    const ProjectLoad load = LoadProjectFile(path, *m_parts, *m_stocks);
    EXPECT_EQ(load.reached, ProjectStep::PartsList);
    EXPECT_EQ(load.settings.partFile, gone);
    EXPECT_EQ(load.result.message(), path + ", line 1: the parts list " + gone + " can't be read: Cannot open file " +
                                         gone + "\nNothing was restored.");
    EXPECT_EQ(row(*m_parts, 2), QStringList({"old", "1", "1"}));

    EXPECT_FALSE(LoadProjectFile(write("empty.dat", ""), *m_parts, *m_stocks).result.ok);
}

TEST_F(ProjectFileTest, ListsMovedWithTheProjectAreFoundBesideIt)
{
    // Written on another machine; the files lie beside the project now.
    const QString parts = partsList();
    const QString stocks = stocksList();
    const ProjectLoad load = LoadProjectFile(project({"5", "0", "0", "0", "0", "15", "0", "mm", "T", "2", "1", "2"},
                                                     "C:\\jobs\\a\\parts.txt", "/home/someone/jobs/stocks.txt"),
                                             *m_parts, *m_stocks);
    ASSERT_TRUE(load.result.ok) << load.result.message().toStdString();
    EXPECT_EQ(load.settings.partFile, parts);
    EXPECT_EQ(load.settings.stockFile, stocks);
    EXPECT_EQ(m_parts->cell(0, 2), QStringLiteral("P1"));
    // A path that exists wins over a file beside the project; an empty path stays empty.
    const QString elsewhere = write("other/parts.txt", "P9\t10\t1\r\n");
    EXPECT_EQ(document::resolveListPath(elsewhere, m_dir.filePath("job.dat")), elsewhere);
    EXPECT_EQ(document::resolveListPath(QString(), m_dir.filePath("job.dat")), QString());
}
