// barvik-cli with project files and remnant stock lists.

#include "apps/cli_fixture.h"

#include <QDir>
#include <QProcess>

namespace {

QStringList lines(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts)
                                          : QStringList{"<unreadable>"};
}

// The layout export without the remnant labels, which carry the minute of the run.
QStringList withoutLabels(const QString& out)
{
    QStringList kept;
    for (const QString& line : out.split("\r\n"))
        kept << line.section(u'\t', 0, 5);
    return kept;
}

} // namespace

TEST_F(CliTest, AProjectRunsTheJobItNames)
{
    write("parts.txt", "A\t731\t9\r\nB\t517\t13\r\nC\t389\t11\r\n");
    write("stocks.txt", "Bar\t2000\t30\t10\tYes\r\nShort\t1300\t30\t8\tNo\r\n");
    const QStringList options = {"--blade", "2", "--quality", "3", "--change", "--display", "1", "--seed", "5"};
    const QString project = dir.filePath("job.dat");
    const CliResult given =
        runCli(QStringList{dir.filePath("parts.txt"), dir.filePath("stocks.txt"), "--save-project", project} + options);
    ASSERT_EQ(given.exitCode, 0) << given.err.toStdString();
    EXPECT_EQ(lines(project), QStringList({dir.filePath("parts.txt"), dir.filePath("stocks.txt"), "3", "1", "0", "2",
                                           "0", "15", "0", "mm", "Barvik pipe cuting project", "1", "1", "2", "1"}));
    const CliResult fromProject = runCli({"--project", project, "--seed", "5"});
    ASSERT_EQ(fromProject.exitCode, 0) << fromProject.err.toStdString();
    EXPECT_EQ(withoutLabels(fromProject.out), withoutLabels(given.out));

    // Options given win over the project's; what they don't name stays the project's.
    const QString changed = dir.filePath("changed.dat");
    ASSERT_EQ(runCli({"--project", project, "--blade", "4", "--save-project", changed}).exitCode, 0);
    EXPECT_EQ(lines(changed).mid(2, 4), QStringList({"3", "1", "0", "4"}));

    // Moved to another folder with its lists: found beside it.
    ASSERT_TRUE(QDir(dir.path()).mkdir("moved"));
    for (const char* name : {"parts.txt", "stocks.txt", "job.dat"})
        ASSERT_TRUE(QFile::rename(dir.filePath(name), dir.filePath(QStringLiteral("moved/") + name)));
    EXPECT_EQ(runCli({"--project", dir.filePath("moved/job.dat")}).exitCode, 0);

    // A project whose parts list is gone stops at line 1 and says so.
    const QString gone = write("gone.dat", "/nowhere/lost.txt\r\n/nowhere/stocks.txt\r\n5\r\n");
    const CliResult stopped = runCli({"--project", gone});
    EXPECT_EQ(stopped.exitCode, 2);
    EXPECT_TRUE(stopped.err.contains(gone + ", line 1: the parts list /nowhere/lost.txt can't be read"))
        << stopped.err.toStdString();

    // Lists given on the command line take the place of the project's, which need not be there; the
    // project's settings still count.
    const QString lost = write("lost.dat", QStringList{"/nowhere/lost.txt", "/nowhere/stocks.txt", "3", "1", "0", "6",
                                                       "0", "15", "0", "mm", "Job", "1", "1", "2", "1"}
                                               .join("\r\n")
                                               .toUtf8());
    const QString saved = dir.filePath("saved.dat");
    const CliResult replaced = runCli({"--project", lost, dir.filePath("moved/parts.txt"),
                                       dir.filePath("moved/stocks.txt"), "--save-project", saved});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_EQ(lines(saved).mid(0, 6),
              QStringList({dir.filePath("moved/parts.txt"), dir.filePath("moved/stocks.txt"), "3", "1", "0", "6"}));
}

TEST_F(CliTest, RemnantListsAreWrittenAfterTheRunAndImportedBeforeIt)
{
    const QString parts = write("parts.txt", "A\t600\t3\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t1\t12\tYes\r\n");
    const QString left = write("left.txt", "R\t1000\t1\r\n");
    // One bar is not enough; two imports of one bar each make the job possible.
    EXPECT_EQ(runCli({parts, stocks}).exitCode, 1);
    const QString saved = dir.filePath("saved.txt");
    const QString remnants = dir.filePath("remnants.stk");
    const CliResult result = runCli({parts, stocks, "--import-left", left, "--import-left", left, "--save-left", saved,
                                     "--export-left", remnants, "--stocks-format", "text"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    // Every bar is cut, one piece each: nothing left whole, and a remnant of 400 from each of the three stocks.
    EXPECT_EQ(lines(saved), QStringList());
    // Neighbouring rows of one stock share a remnant label, so the lines hold the three between them.
    int pieces = 0;
    for (const QString& line : lines(remnants)) {
        EXPECT_EQ(line.section(u'\t', 1, 1), QStringLiteral("400"));
        EXPECT_EQ(line.section(u'\t', 3), QStringLiteral("0\tYes"));
        pieces += line.section(u'\t', 2, 2).toInt();
    }
    EXPECT_EQ(pieces, 3);

    // More bars than needed: the whole ones are saved for the next job.
    const QString plenty = write("plenty.txt", "Bar\t1000\t5\t12\tYes\r\n");
    ASSERT_EQ(runCli({parts, plenty, "--save-left", saved}).exitCode, 0);
    EXPECT_EQ(lines(saved), QStringList{"Bar\t1000\t2\t12\tYes"});

    // A bad line in an import refuses the run and names the line.
    const QString bad = write("bad.txt", "R\t1000\t1\r\nR\t1000\tmany\r\n");
    const CliResult refused = runCli({parts, stocks, "--import-left", bad});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(bad + ", line 2: the quantity \"many\" is not a whole number"))
        << refused.err.toStdString();
    EXPECT_EQ(runCli({parts, stocks, "--save-left", stocks}).exitCode, 2);
}

// The print modes from a project and from the command line, with the job's title and unit on the pages,
// and the labels on a sheet or one a page.
TEST_F(CliTest, PrintModesPrintWhatTheySayUnderTheJob)
{
    auto text = [](const QString& pdf) {
        QProcess process;
        process.start("pdftotext", {"-layout", pdf, "-"});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    auto pages = [&](const QString& pdf) { return int(text(pdf).count(u'\f')); };
    const QString parts = write("parts.txt", "Post A\t731\t9\r\nRail\t517\t13\r\nBrace\t389\t11\r\n");
    const QString stocks = write("stocks.txt", "Tube\t2000\t30\t10\tYes\r\n");
    // Lists as the project's print choice, the job's title and unit.
    const QString project =
        write("job.dat", (parts + "\r\n" + stocks +
                          "\r\n3\r\n0\r\n0\r\n3\r\n10\r\n300\r\n0\r\nin\r\nHall 4 rack\r\n2\r\n2\r\n2\r\n0\r\n")
                             .toUtf8());
    const QString pdf = dir.filePath("job.pdf");
    ASSERT_EQ(runCli({"--project", project, "--pdf", pdf}).exitCode, 0);
    const QString lists = text(pdf);
    for (const char* shown :
         {"Hall 4 rack", "Length Unit: in", "Blade Width: 3", "Parts", "Post A", "Brace", "Stocks", "Tube", "2000"})
        EXPECT_TRUE(lists.contains(QLatin1String(shown))) << shown << "\n" << lists.toStdString();
    EXPECT_FALSE(lists.contains("Total cost=")) << lists.toStdString();
    ASSERT_EQ(runCli({"--project", project, "--pdf", pdf, "--print-mode", "all", "--title", "Hall 5"}).exitCode, 0);
    const QString all = text(pdf);
    EXPECT_TRUE(all.contains("Hall 5") && all.contains("Post A") && all.contains("Total cost=")) << all.toStdString();

    // One label a page: a page per piece and remnant; on A4 3 x 8 with 5 used, as many sheets as they fill.
    const QString single = dir.filePath("single.pdf");
    ASSERT_EQ(runCli({"--project", project, "--labels", single, "--label-sheet", "62x29"}).exitCode, 0);
    const int labels = pages(single);
    EXPECT_GE(labels, 9 + 13 + 11);
    EXPECT_EQ(text(single).count("Hall 4 rack"), labels);
    ASSERT_EQ(runCli({"--project", project, "--pdf", pdf, "--print-mode", "labels", "--label-skip", "5"}).exitCode, 0);
    EXPECT_EQ(pages(pdf), (labels + 5 + 23) / 24);
    EXPECT_EQ(runCli({"--project", project, "--labels", single, "--label-skip", "24"}).exitCode, 2);
    EXPECT_EQ(runCli({"--project", project, "--pdf", pdf, "--print-mode", "labels", "--cut-list"}).exitCode, 2);
}
