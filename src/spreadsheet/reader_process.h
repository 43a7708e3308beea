#pragma once

#include "workbook_reader.h"

#include <QStringList>

#include <string>

namespace spreadsheet::detail {

// Runs the reader program on a file and collects what it writes. The program runs in a process of its
// own that ends with this one; it is killed when it outlives timeoutMs, writes more than maxOutput bytes,
// or the read is cancelled. On success failure is None and the output is complete.
struct ReaderRun {
    ReadFailure failure = ReadFailure::None;
    std::string output;
};
ReaderRun runReader(const QString& program, const QStringList& arguments, const ReadCancel* cancel, int timeoutMs,
                    size_t maxOutput);

// The reader program's whole work: arguments PATH KIND PARENT_PID; the sheet's records on standard output.
int runSheetReader(int argc, char** argv);

} // namespace spreadsheet::detail
