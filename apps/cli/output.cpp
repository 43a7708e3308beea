#include "cli/output.h"

#include "files/whole_file.h"

#include <unistd.h>

namespace cli {

files::WriteStatus StandardStreams::write(QByteArrayView bytes)
{
    const int error = files::writeAll(STDOUT_FILENO, bytes);
    return error == 0 ? files::WriteStatus{} : files::writeFailure(error);
}

void StandardStreams::message(const QString& text)
{
    // Standard error that can't be written leaves nowhere to say so.
    files::writeAll(STDERR_FILENO, (text + u'\n').toLocal8Bit());
}

bool StandardStreams::watched() const
{
    return isatty(STDERR_FILENO) != 0;
}

void StandardStreams::progress(const QByteArray& text)
{
    files::writeAll(STDERR_FILENO, text);
}

} // namespace cli
