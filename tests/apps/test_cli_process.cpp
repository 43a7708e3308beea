// barvik-cli as a process: what only the system's streams, signals and file names show.

#include "apps/cli_fixture.h"

#include <QDir>
#include <QProcess>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Output that can't be written is an error of its own, and a file name that is not valid UTF-8 still
// names its file.
TEST_F(CliTest, OutputFailuresExitThreeAndAnyFileNameOpens)
{
    const QString parts = write("parts.txt", "A\t600\t4\r\nB\t400\t4 pcs\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\r\n");
    const CliResult full = runCliProcess({parts, stocks}, QStringLiteral("/dev/full"));
    EXPECT_EQ(full.exitCode, 3);
    EXPECT_TRUE(full.err.contains("Cannot write the layouts to standard output")) << full.err.toStdString();

    // The refused export leaves the list as it was.
    EXPECT_EQ(runCliProcess({parts, stocks, "--export", stocks}).exitCode, 2);
    QFile kept(stocks);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("Bar\t1000\t10\r\n"));

    // The name \xff-parts.txt can only be written by the shell; the process API would encode it as UTF-8.
    ASSERT_TRUE(QFile::copy(parts, dir.filePath("copy.txt")));
    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    shell.start("/bin/sh",
                {"-c",
                 "name=$(printf '\\377-parts.txt') && mv copy.txt \"$name\" && LC_ALL=C exec \"$0\" \"$name\" "
                 "stocks.txt --seed 7",
                 QStringLiteral(BARVIK_CLI)});
    ASSERT_TRUE(shell.waitForFinished(60000));
    const QString err = QString::fromUtf8(shell.readAllStandardError());
    EXPECT_EQ(shell.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(shell.readAllStandardOutput()).startsWith("No.\t"));
    // The notice of the unused text names the file as given, not by a path of its own.
    EXPECT_TRUE(err.contains("-parts.txt was not used:\nline 2: the extra text \"pcs\" was ignored."))
        << err.toStdString();
    EXPECT_FALSE(err.contains("/dev/fd")) << err.toStdString();
}

namespace {

// Runs barvik-cli with its standard output on a pipe whose reading end is already closed.
int runIntoClosedPipe(const QStringList& arguments)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return -1;
    ::close(ends[0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<QByteArray> bytes{BARVIK_CLI};
    for (const QString& argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, BARVIK_CLI, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    int status = 0;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

// A closed pipe is an output failure (exit 3), not the end of the program by SIGPIPE (141).
TEST_F(CliTest, AClosedStandardOutputExitsThree)
{
    const QString parts = write("parts.txt", "A\t600\t4\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\r\n");
    EXPECT_EQ(runIntoClosedPipe({parts, stocks, "--seed", "7"}), 3);
    EXPECT_EQ(runIntoClosedPipe({"--help"}), 3);
}

// Ended by SIGTERM as soon as the new PDF shows beside the old one: the old PDF stays, and nothing is left
// beside it. A run that ends first has written the new PDF whole.
TEST_F(CliTest, ASignalWhileThePdfIsWrittenKeepsTheOldPdf)
{
    QByteArray partsText;
    for (int kind = 0; kind < 400; ++kind)
        partsText += "P" + QByteArray::number(kind) + "\t" + QByteArray::number(2001 + 7 * kind) + "\t1\r\n";
    const QString parts = write("parts.txt", partsText);
    const QString stocks = write("stocks.txt", "Bar\t6000\t400\t12\tYes\r\n");
    const QString pdf = write("layouts.pdf", "old PDF");
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QProcess process;
    process.start(QStringLiteral(BARVIK_CLI),
                  {parts, stocks, "--quality", "1", "--seed", "7", "--pdf", pdf, "--diagrams", "--cut-list"});
    ASSERT_TRUE(process.waitForStarted());
    bool signalled = false;
    // Waiting a millisecond at a time also lets the process object see the program end.
    while (!signalled && !process.waitForFinished(1)) {
        if (QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() > before.size()) {
            ::kill(pid_t(process.processId()), SIGTERM);
            signalled = true;
        }
    }
    // A process object that already saw the end answers a second wait with false.
    ASSERT_TRUE(process.state() == QProcess::NotRunning || process.waitForFinished(60000));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    QFile kept(pdf);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QByteArray text = kept.readAll();
    // The signal can land just after the finished PDF took the old one's place: then the new one is whole.
    if (signalled && text == "old PDF") {
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
    } else {
        EXPECT_TRUE(text.startsWith("%PDF") && text.trimmed().endsWith("%%EOF"));
    }
}
