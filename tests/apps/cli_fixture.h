#pragma once

#include "cli/output.h"
#include "cli/run.h"

#include "localization/catalogs.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// What barvik-cli says in a test: standard output kept, or failing with a system error number.
class CapturedOutput : public cli::Output {
public:
    files::WriteStatus write(QByteArrayView bytes) override
    {
        if (failure != 0)
            return files::writeFailure(failure);
        out += bytes;
        return {};
    }
    void message(const QString& text) override { err += text + u'\n'; }
    bool watched() const override { return false; }
    void progress(const QByteArray&) override {}

    QByteArray out;
    QString err;
    int failure = 0;
};

// Runs barvik-cli in this process, with a fixed seed unless the arguments give one, and English again
// after it.
inline CliResult runCli(QStringList arguments, CapturedOutput output = {})
{
    if (!arguments.contains("--seed"))
        arguments << "--seed"
                  << "7";
    std::vector<QByteArray> bytes{"barvik-cli"};
    for (const QString& argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<const char*> argv;
    for (const QByteArray& argument : bytes)
        argv.push_back(argument.constData());
    argv.push_back(nullptr);
    const int exitCode = cli::runCli(int(bytes.size()), argv.data(), output);
    localization::useLanguage();
    return {exitCode, QString::fromUtf8(output.out), output.err};
}

// Runs the barvik-cli program in the C locale with a fixed seed, for what only a process shows: exit codes
// by signal, the standard streams of the system. Its standard output goes to a file when one is named.
inline CliResult runCliProcess(QStringList arguments, const QString& outputFile = QString())
{
    QProcess process;
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");
    process.setProcessEnvironment(environment);
    if (!arguments.contains("--seed"))
        arguments << "--seed"
                  << "7";
    process.start(QStringLiteral(BARVIK_CLI), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// A scratch folder for the lists and files of a run.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const char* name, const QByteArray& text)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    QTemporaryDir dir;
};
