#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

namespace calculation {

// The outcome of reading or writing a file: on failure, the message for the user; on success, what the
// user should still be told (text of the file that was not used).
struct FileResult {
    bool ok = true;
    QString error;
    QString notice;
};

FileResult fileFailure(const QString& message);

// Replaces the "%s" and "%d" placeholders of a message by the values, in order: the messages keep the
// placeholders of the catalogs they are translated with. Values are not searched for placeholders.
QString fillIn(QString message, std::initializer_list<QString> values);

// At most 40 characters of a text, for a message; a longer text is cut and ends in "…".
QString excerpt(const QString& text);

// The largest list file that is read: far above any real list, small enough to hold in memory.
inline constexpr qint64 kMaxListFileBytes = 16 * 1024 * 1024;

// Reads a whole text file as UTF-8 (a leading byte-order mark is dropped). Only a regular file of at most
// kMaxListFileBytes is opened: a folder, a device or a pipe would never end or never start. A missing or
// unreadable file fails with "Cannot open file %s".
FileResult readTextFile(const QString& path, QString& text);
// The text of a file already read; a file with NUL bytes or in UTF-16 is no text list.
FileResult decodeText(const QByteArray& bytes, const QString& path, QString& text);
// readTextFile, cut into lines (CR, LF or CR LF end a line).
FileResult readTextLines(const QString& path, QStringList& lines);

// Writes the lines as UTF-8, each ended by CR LF, replacing the file only when everything was written:
// a failed write leaves the previous file as it was.
FileResult writeTextLines(const QString& path, const QStringList& lines);

} // namespace calculation
