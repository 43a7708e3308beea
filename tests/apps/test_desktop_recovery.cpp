// The desktop program killed in the middle of a job: the next start finds the job and offers it back.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#ifdef BARVIK_DESKTOP

namespace {

bool waitFor(const std::function<bool()>& done, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QThread::msleep(50);
    return done();
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(DesktopRecovery, AJobKilledAfterAnEditIsOfferedBackAtTheNextStart)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString left = home.filePath("left.txt");
    QFile file(left);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("L1\t900\t5\t0\tYes\r\n");
    file.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    const QDir recovery(home.filePath("config/barvik/recovery"));
    auto start = [&](QProcess& process, const QStringList& arguments) {
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(BARVIK_DESKTOP), arguments);
        return process.waitForStarted(10000);
    };
    auto kill = [](QProcess& process) {
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(10000);
    };

    // 1 - an edit (Imp Left appends to the stocks), then the kill once the recovery file is written
    QProcess first;
    ASSERT_TRUE(start(first, {"--import-left", left}));
    const QString job = recovery.filePath("job-1.json");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(job); }, 15000)) << "no recovery file within 15 s";
    kill(first);
    ASSERT_TRUE(contents(job).contains("L1"));

    // 2 - the next start offers it: it holds the job's lock while its question is shown
    QProcess second;
    ASSERT_TRUE(start(second, {}));
    const QString lock = recovery.filePath("job-1.lock");
    const QByteArray owner = QByteArray::number(second.processId()).append('\n');
    EXPECT_TRUE(waitFor([&] { return contents(lock).startsWith(owner); }, 15000));
    kill(second);
    EXPECT_TRUE(QFile::exists(job)) << "a question not answered keeps the job";

    // 3 - restored: in the new run's own file, the old one gone
    QProcess third;
    ASSERT_TRUE(start(third, {"--recover"}));
    const QString restored = recovery.filePath("job-2.json");
    EXPECT_TRUE(waitFor([&] { return QFile::exists(restored) && !QFile::exists(job); }, 15000));
    EXPECT_TRUE(contents(restored).contains("L1"));
    kill(third);
}

#endif
