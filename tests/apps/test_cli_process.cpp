// barvik-cli as a process: what only the system's streams, signals and file names show.

#include "apps/cli_fixture.h"

#include <QProcess>

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
