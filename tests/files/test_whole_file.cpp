#include "files/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using files::WriteFailure;

namespace {

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

mode_t fileType(const QString& path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

class WholeFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    // Everything in a folder, hidden names included: a write leaves nothing beside its file.
    static QStringList names(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(WholeFileTest, ReplacesTheFileWholeKeepingItsModeAndItsLinks)
{
    const QString target = path("list.txt");
    put(target, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(target, path("link.txt")));
    {
        files::WholeFile file(target);
        ASSERT_TRUE(file.stage("never committed").ok());
        EXPECT_EQ(read(target), "old");
    }
    EXPECT_EQ(names(m_dir.path()), (QStringList{"link.txt", "list.txt"}));

    ASSERT_TRUE(files::writeWholeFile(path("link.txt"), "new").ok());
    EXPECT_EQ(read(target), "new");
    EXPECT_EQ(fileType(path("link.txt")), mode_t(S_IFLNK));
    EXPECT_EQ(QFile::permissions(target),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    EXPECT_EQ(names(m_dir.path()), (QStringList{"link.txt", "list.txt"}));

    EXPECT_EQ(files::writeWholeFile(m_dir.path(), "x").failure, WriteFailure::IsFolder);
    EXPECT_EQ(files::writeWholeFile(path("no-folder/list.txt"), "x").failure, WriteFailure::NoFolder);
}

// A small tmpfs, filled up; a write of a few bytes fails as a large one does.
TEST_F(WholeFileTest, AFullDiskFailsAndKeepsTheOldFile)
{
    const QString disk = path("disk");
    ASSERT_TRUE(QDir().mkdir(disk));
    const QByteArray mountPoint = QFile::encodeName(disk);
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "this machine lets the test mount no tmpfs";
    struct Unmount {
        const QByteArray& point;
        ~Unmount() { ::umount(point.constData()); }
    } unmount{mountPoint};
    const QString target = disk + "/list.txt";
    put(target, "old");
    EXPECT_EQ(files::writeWholeFile(target, QByteArray(256 * 1024, 'x')).failure, WriteFailure::DiskFull);
    {
        QFile filler(disk + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) > 0 && filler.flush()) {
        }
    }
    EXPECT_EQ(files::writeWholeFile(target, "P1\t1200\t4\r\n").failure, WriteFailure::DiskFull);
    EXPECT_EQ(read(target), "old");
    EXPECT_EQ(names(disk), (QStringList{"filler", "list.txt"}));
}

TEST_F(WholeFileTest, PastTheFileSizeLimitFailsAndKeepsTheOldFile)
{
    const QString target = path("list.txt");
    put(target, "old");
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit low = old;
    low.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
    const files::WriteStatus status = files::writeWholeFile(target, QByteArray(10000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(status.failure, WriteFailure::TooLarge);
    EXPECT_EQ(read(target), "old");
    EXPECT_EQ(names(m_dir.path()), QStringList{"list.txt"});
}

// A device or a pipe is written into and stays what it is; a device that fails fails the write.
TEST_F(WholeFileTest, DevicesAndPipesAreWrittenIntoNeverReplaced)
{
    // The reading end opened first, without waiting, so that the write neither blocks nor waits for a thread.
    const QString pipe = path("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(files::writeWholeFile(pipe, "through the pipe").ok());
    char received[64] = {};
    EXPECT_EQ(::read(reader, received, sizeof received), 16);
    ::close(reader);
    EXPECT_STREQ(received, "through the pipe");
    EXPECT_EQ(fileType(pipe), mode_t(S_IFIFO));

    // Copies of /dev/null and /dev/full, never the system's own: a writer that replaced devices would
    // replace them.
    const QString null = path("null");
    const QString full = path("full");
    if (::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0600, makedev(1, 3)) != 0 ||
        ::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0600, makedev(1, 7)) != 0)
        GTEST_SKIP() << "only root makes device nodes";
    EXPECT_TRUE(files::writeWholeFile(null, "gone").ok());
    EXPECT_EQ(files::writeWholeFile(full, "x").failure, WriteFailure::DiskFull);
    EXPECT_EQ(fileType(null), mode_t(S_IFCHR));
    EXPECT_EQ(fileType(full), mode_t(S_IFCHR));
    EXPECT_EQ(names(m_dir.path()), (QStringList{"full", "null", "pipe"}));
}
