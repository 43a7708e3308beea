#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <sys/types.h>

namespace files {

// Why a write failed, as the user is told it.
enum class WriteFailure {
    None,
    DiskFull,
    TooLarge,
    NoPermission,
    ReadOnly,
    NoFolder,
    IsFolder,
    NameTooLong,
    ReaderGone,
    DiskError,
    Other
};

struct WriteStatus {
    WriteFailure failure = WriteFailure::None;
    int systemError = 0; // the system's error number, for a failure of no other kind

    bool ok() const { return failure == WriteFailure::None; }
};

// Writes everything to a file descriptor, again after an interruption; 0, or the error number of the write
// that failed.
int writeAll(int fd, QByteArrayView bytes);
// The kind of failure that a system error number stands for.
WriteStatus writeFailure(int systemError);

// One output, written whole or not at all. A regular file (or a new one) is written to a temporary file
// beside it, every write, the flush to the disk and the close checked, and put in its place only by
// commit(): until then, and after any failure, the old file stays as it was. A symbolic link is followed, so
// the link stays and its file is replaced. A target that is no regular file (a device, a pipe) can't be
// replaced: commit() writes into it directly, and a failure there is still a failure.
class WholeFile {
public:
    explicit WholeFile(const QString& path);
    // An output that was not committed leaves no temporary file behind.
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    WriteStatus stage(QByteArrayView bytes);
    WriteStatus commit();
    // Whether the target is written directly (no regular file); known once staged.
    bool direct() const { return m_direct; }

private:
    void discard();

    QByteArray m_target;
    QByteArray m_temporary;
    QByteArray m_bytes;
    bool m_direct = false;
    bool m_staged = false;
    int m_slot = -1;
};

// stage() and commit() in one.
WriteStatus writeWholeFile(const QString& path, QByteArrayView bytes);

// Removes the temporary files of outputs not yet committed; safe in a signal handler, so that a program
// ended by a signal while it writes leaves the old files and nothing beside them.
void removeTemporaryFiles();

// What a file is, whatever its name: hard links and symbolic links to one file have one identity.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file a path leads to; none when there is no such file.
std::optional<FileIdentity> fileIdentity(const QString& path);
// Whether a path leads to a regular file (not a device, a pipe or a folder).
bool isRegularFile(const QString& path);

} // namespace files
