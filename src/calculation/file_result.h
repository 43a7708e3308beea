#pragma once

#include "files/whole_file.h"

#include <QByteArrayView>
#include <QString>

namespace calculation {

// The outcome of every file operation of the program: on failure, what failed, in which file and, where
// it applies, on which line of a text file or in which row and column of a sheet (each from 1; 0 when the
// failure concerns the file as a whole); on success, what the user should still be told (text of the file
// that was not used).
struct FileResult {
    bool ok = true;
    QString error;
    QString notice;
    QString file;
    int line = 0;
    int row = 0;
    int column = 0;

    // The failure as the user reads it: a line's failure is prefixed by the file and the line; a failure
    // of the whole file, or of a sheet's cell, names the file (and the row) in its own words.
    QString message() const;
};

FileResult fileFailure(const QString& message, const QString& file = QString(), int line = 0);

// Why a write failed, in the user's words.
QString writeFailureReason(const files::WriteStatus& status);
// A write's failure, naming the file.
FileResult writeFailure(const QString& path, const files::WriteStatus& status);
// Writes a user's file whole or not at all (files::writeWholeFile).
FileResult writeFileWhole(const QString& path, QByteArrayView bytes);

} // namespace calculation
