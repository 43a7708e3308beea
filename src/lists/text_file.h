#pragma once

#include "calculation/file_result.h"

#include <QString>
#include <QStringList>

namespace lists {

using calculation::fileFailure;
using calculation::FileResult;

// The largest list file that is read: far above any real list, small enough to hold in memory.
inline constexpr qint64 kMaxListFileBytes = 16 * 1024 * 1024;

// Reads a whole text file as UTF-8 (a leading byte-order mark is dropped). Only a regular file of at most
// kMaxListFileBytes is opened: a folder, a device or a pipe would never end or never start. A missing or
// unreadable file fails with "Cannot open file %1".
FileResult readTextFile(const QString& path, QString& text);
// The text of a file already read; a file with NUL bytes or in UTF-16 is no text list.
FileResult decodeText(const QByteArray& bytes, const QString& path, QString& text);
// readTextFile, cut into lines (CR, LF or CR LF end a line).
FileResult readTextLines(const QString& path, QStringList& lines);

// The lines as a text file holds them: UTF-8, each ended by CR LF.
QByteArray textFileBytes(const QStringList& lines);
// Writes the lines as textFileBytes, whole or not at all: a failed write leaves the previous file as it was.
FileResult writeTextLines(const QString& path, const QStringList& lines);

} // namespace lists
