#include "files/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace files {

namespace {

// The temporary files of outputs not yet committed, where a signal handler can find them: a slot is
// claimed, its path written, and only then marked ready.
constexpr int kSlots = 16;
enum SlotState { kFree, kClaimed, kReady };
struct TemporarySlot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};
TemporarySlot temporarySlots[kSlots];

int claimSlot(const QByteArray& path)
{
    if (path.size() >= PATH_MAX)
        return -1;
    for (int slot = 0; slot < kSlots; ++slot) {
        int expected = kFree;
        if (temporarySlots[slot].state.compare_exchange_strong(expected, kClaimed)) {
            std::memcpy(temporarySlots[slot].path, path.constData(), size_t(path.size()) + 1);
            temporarySlots[slot].state = kReady;
            return slot;
        }
    }
    return -1;
}

void releaseSlot(int& slot)
{
    if (slot >= 0)
        temporarySlots[slot].state = kFree;
    slot = -1;
}

// The file a path names; a symbolic link is followed, also when its file does not exist yet.
QByteArray targetOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return QFile::encodeName(path);
    const QString canonical = info.canonicalFilePath();
    return QFile::encodeName(canonical.isEmpty() ? info.symLinkTarget() : canonical);
}

// A name for the temporary file beside the target, hidden from folder listings.
QByteArray temporaryName(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(slash);
    // Short enough that the suffix does not make the name too long for the folder.
    const QByteArray name = target.mid(slash + 1).left(200);
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(6, 'x');
    for (char& letter : suffix)
        letter = letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))];
    return folder + "/." + name + '.' + suffix;
}

// The new file keeps the old one's permissions and, where the system allows it, its owner; where it does
// not, the file is the writer's, as a new file would be, and without the set-user and set-group bits.
void keepModeAndOwner(int fd, const struct stat& old)
{
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return;
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            ::fchmod(fd, old.st_mode & 0777);
}

// A replaced file is known to the disk only once its folder is.
void syncFolderOf(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int writeAll(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        done += written;
    }
    return 0;
}

WriteStatus writeFailure(int systemError)
{
    switch (systemError) {
    case 0:
        return {};
    case ENOSPC:
    case EDQUOT:
        return {WriteFailure::DiskFull, systemError};
    case EFBIG:
        return {WriteFailure::TooLarge, systemError};
    case EACCES:
    case EPERM:
        return {WriteFailure::NoPermission, systemError};
    case EROFS:
        return {WriteFailure::ReadOnly, systemError};
    case ENOENT:
    case ENOTDIR:
        return {WriteFailure::NoFolder, systemError};
    case EISDIR:
        return {WriteFailure::IsFolder, systemError};
    case ENAMETOOLONG:
        return {WriteFailure::NameTooLong, systemError};
    case EPIPE:
        return {WriteFailure::ReaderGone, systemError};
    case EIO:
        return {WriteFailure::DiskError, systemError};
    default:
        return {WriteFailure::Other, systemError};
    }
}

WholeFile::WholeFile(const QString& path) : m_target(path.isEmpty() ? QByteArray() : targetOf(path)) {}

WholeFile::~WholeFile()
{
    discard();
}

void WholeFile::discard()
{
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    releaseSlot(m_slot);
    m_temporary.clear();
    m_bytes.clear();
    m_staged = false;
}

WriteStatus WholeFile::stage(QByteArrayView bytes)
{
    discard();
    if (m_target.isEmpty())
        return writeFailure(ENOENT);
    struct stat old = {};
    const bool exists = ::stat(m_target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return writeFailure(errno);
    if (exists && S_ISDIR(old.st_mode))
        return writeFailure(EISDIR);
    m_direct = exists && !S_ISREG(old.st_mode);
    if (m_direct) {
        m_bytes = bytes.toByteArray();
        m_staged = true;
        return {};
    }
    // Known to the signal handler before it exists, so that no moment leaves it behind.
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        m_temporary = temporaryName(m_target);
        m_slot = claimSlot(m_temporary);
        fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const int error = errno;
        if (fd < 0)
            releaseSlot(m_slot);
        if (fd < 0 && error != EEXIST) {
            m_temporary.clear();
            return writeFailure(error);
        }
    }
    if (fd < 0) {
        m_temporary.clear();
        return writeFailure(EEXIST);
    }
    if (exists)
        keepModeAndOwner(fd, old);
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        discard();
        return writeFailure(error);
    }
    m_staged = true;
    return {};
}

WriteStatus WholeFile::commit()
{
    if (!m_staged)
        return writeFailure(EINVAL);
    m_staged = false;
    if (m_direct) {
        const QByteArray bytes = std::exchange(m_bytes, QByteArray());
        const int fd = ::open(m_target.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return writeFailure(errno);
        int error = writeAll(fd, bytes);
        // Devices and pipes have nothing to flush to a disk.
        if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
            error = errno;
        if (::close(fd) != 0 && error == 0)
            error = errno;
        return writeFailure(error);
    }
    if (::rename(m_temporary.constData(), m_target.constData()) != 0) {
        const int error = errno;
        discard();
        return writeFailure(error);
    }
    m_temporary.clear();
    releaseSlot(m_slot);
    syncFolderOf(m_target);
    return {};
}

WriteStatus writeWholeFile(const QString& path, QByteArrayView bytes)
{
    WholeFile file(path);
    const WriteStatus staged = file.stage(bytes);
    return staged.ok() ? file.commit() : staged;
}

void removeTemporaryFiles()
{
    for (TemporarySlot& slot : temporarySlots)
        if (slot.state.load() == kReady)
            ::unlink(slot.path);
}

std::optional<FileIdentity> fileIdentity(const QString& path)
{
    struct stat status = {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

bool isRegularFile(const QString& path)
{
    struct stat status = {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace files
