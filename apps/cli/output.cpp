#include "cli/output.h"

#include <cerrno>
#include <unistd.h>

namespace cli {

namespace {

// Writes everything to a file descriptor; 0, or the error number of the write that failed.
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

} // namespace

int StandardStreams::write(QByteArrayView bytes)
{
    return writeAll(STDOUT_FILENO, bytes);
}

void StandardStreams::message(const QString& text)
{
    // Standard error that can't be written leaves nowhere to say so.
    writeAll(STDERR_FILENO, (text + u'\n').toLocal8Bit());
}

bool StandardStreams::watched() const
{
    return isatty(STDERR_FILENO) != 0;
}

void StandardStreams::progress(const QByteArray& text)
{
    writeAll(STDERR_FILENO, text);
}

} // namespace cli
