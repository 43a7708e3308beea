// barvik-cli's output files: written whole after a run that showed a layout, or not at all; never over an
// input; into devices and pipes without replacing them.

#include "apps/cli_fixture.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

const QStringList kOutputOptions = {"--export",      "--save-project", "--save-left",
                                    "--export-left", "--pdf",          "--cut-list-text"};

} // namespace

TEST_F(CliTest, NoOutputMayBeAnInputFile)
{
    const QByteArray partsText = "A\t600\t4\r\n";
    const QString parts = write("parts.txt", partsText);
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\r\n");
    const QString project = write(
        "job.dat",
        (QStringList{parts, stocks, "3", "0", "0", "0", "0", "15", "0", "mm", "Job", "2", "1", "2", "1"}.join("\r\n") +
         "\r\n")
            .toUtf8());
    ASSERT_EQ(::link(QFile::encodeName(parts).constData(), QFile::encodeName(dir.filePath("hard.txt")).constData()), 0);
    ASSERT_TRUE(QFile::link(parts, dir.filePath("symbolic.txt")));
    for (const QString& option : kOutputOptions) {
        for (const char* name : {"hard.txt", "symbolic.txt"}) {
            const CliResult given = runCli({parts, stocks, option, dir.filePath(name)});
            EXPECT_EQ(given.exitCode, 2) << option.toStdString() << ' ' << name;
            EXPECT_TRUE(given.err.contains("is one of the input files.")) << given.err.toStdString();
            // The project's own lists are inputs too.
            const CliResult fromProject = runCli({"--project", project, option, dir.filePath(name)});
            EXPECT_EQ(fromProject.exitCode, 2) << option.toStdString();
            EXPECT_TRUE(fromProject.err.contains("is one of the input files.")) << fromProject.err.toStdString();
        }
    }
    EXPECT_EQ(read(parts), partsText);

    const QString out = dir.filePath("out.txt");
    const CliResult twice = runCli({parts, stocks, "--export", out, "--cut-list-text", dir.filePath("./out.txt")});
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_TRUE(twice.err.contains("The export file and the cut-list-text file are the same file"))
        << twice.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(CliTest, NothingIsWrittenWhenTheRunOrAnOutputFails)
{
    const QString parts = write("parts.txt", "A\t600\t4\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\r\n");
    const QString tooShort = write("short.txt", "Bar\t500\t10\r\n");
    const QString exported = write("export.txt", "old");
    const QString project = dir.filePath("job.dat");
    const QString cuts = dir.filePath("cuts.txt");
    const QString pdf = dir.filePath("layouts.pdf");
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    EXPECT_EQ(runCli({parts, tooShort, "--save-project", project, "--export", exported}).exitCode, 1);
    const QString missing = dir.filePath("no-folder/left.txt");
    const CliResult failed = runCli({parts, stocks, "--save-project", project, "--export", exported, "--cut-list-text",
                                     cuts, "--pdf", pdf, "--save-left", missing});
    EXPECT_EQ(failed.exitCode, 3);
    EXPECT_EQ(failed.err, "Cannot save file " + missing + ": its folder does not exist\n");
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_EQ(read(exported), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    // A title with a line break would make a project that no longer opens.
    EXPECT_EQ(runCli({parts, stocks, "--title", "Hall\n2", "--save-project", project, "--export", exported}).exitCode,
              3);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);

    // Standard output is written last, and a failure there is an output failure.
    CapturedOutput closed;
    closed.failure = EPIPE;
    const CliResult unread = runCli({parts, stocks, "--export", exported}, closed);
    EXPECT_EQ(unread.exitCode, 3);
    EXPECT_EQ(unread.err, "Cannot write the layouts to standard output: the program that read it has ended\n");
    EXPECT_TRUE(read(exported).startsWith("No.\t"));
}

// A pipe takes the output as it comes; copies of /dev/null and /dev/full (made only by root) stay devices,
// and the full one fails the run.
TEST_F(CliTest, DevicesAndPipesTakeTheOutputsAndStay)
{
    const QString parts = write("parts.txt", "A\t600\t4\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\r\n");
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const CliResult piped = runCli({parts, stocks, "--export", pipe});
    char received[4096] = {};
    const ssize_t size = ::read(reader, received, sizeof received - 1);
    ::close(reader);
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_EQ(QByteArray(received, int(std::max<ssize_t>(size, 0))), piped.out.toUtf8());
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());

    const QString null = dir.filePath("null");
    const QString full = dir.filePath("full");
    if (::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0600, makedev(1, 3)) != 0 ||
        ::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0600, makedev(1, 7)) != 0)
        GTEST_SKIP() << "only root makes device nodes";
    EXPECT_EQ(runCli({parts, stocks, "--export", null, "--cut-list-text", null}).exitCode, 0);
    const CliResult onFull = runCli({parts, stocks, "--export", full});
    EXPECT_EQ(onFull.exitCode, 3);
    EXPECT_EQ(onFull.err, "Cannot save file " + full + ": the disk is full\n");
    for (const QString& device : {null, full}) {
        struct stat status = {};
        ASSERT_EQ(::stat(QFile::encodeName(device).constData(), &status), 0);
        EXPECT_TRUE(S_ISCHR(status.st_mode)) << device.toStdString();
    }
}

// A label with ESC and a TAB-separated output: no field more, no escape sequence for a terminal.
TEST_F(CliTest, ControlCharactersReachNoTabSeparatedOutput)
{
    const QString parts = write("parts.txt", "A\x1b[2JB\t600\t4\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\r\n");
    const QString exported = dir.filePath("export.txt");
    const QString cuts = dir.filePath("cuts.txt");
    const CliResult result = runCli({parts, stocks, "--display", "0", "--export", exported, "--cut-list-text", cuts});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.toUtf8(), read(exported));
    EXPECT_TRUE(result.out.contains("A [2JB(600)")) << result.out.toStdString();
    const QString cutList = QString::fromUtf8(read(cuts));
    EXPECT_TRUE(cutList.contains("\tA [2JB\t")) << cutList.toStdString();
    for (const QString& text : {result.out, cutList})
        EXPECT_FALSE(text.contains(u'\x1b'));
    for (const QString& line : cutList.split("\r\n", Qt::SkipEmptyParts))
        EXPECT_EQ(line.count(u'\t'), 7) << line.toStdString();
}
