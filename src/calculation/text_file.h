#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

namespace calculation {

// The outcome of reading or writing a file: on failure, the message for the user.
struct FileResult {
    bool ok = true;
    QString error;
};

FileResult fileFailure(const QString& message);

// Replaces the "%s" and "%d" placeholders of a message by the values, in order: the messages keep the
// placeholders of the catalogs they are translated with. Values are not searched for placeholders.
QString fillIn(QString message, std::initializer_list<QString> values);

// Reads a whole text file as UTF-8 lines (a leading byte-order mark is dropped; CR, LF or CR LF end a
// line). Fails with "Cannot open file %s" before anything else is done.
FileResult readTextLines(const QString& path, QStringList& lines);

// Writes the lines as UTF-8, each ended by CR LF, replacing the file only when everything was written:
// a failed write leaves the previous file as it was.
FileResult writeTextLines(const QString& path, const QStringList& lines);

} // namespace calculation
