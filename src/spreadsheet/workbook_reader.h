#pragma once

#include "calculation/file_result.h"
#include "sheet_cells.h"

#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <optional>

namespace spreadsheet {

enum class WorkbookKind { Xls, Xlsx, Ods, Csv };

// Why a workbook gave no sheet.
enum class ReadFailure : uint8_t { None, Damaged, Password, Biff5, TooLarge, NoSheet, Cancelled, NoReader };

// The kind that a file name's extension names, if any (case ignored).
std::optional<WorkbookKind> kindFromPath(const QString& path);

// Lets another thread stop a read under way: the reader program is ended at once.
class ReadCancel {
public:
    ReadCancel();
    ~ReadCancel();
    ReadCancel(const ReadCancel&) = delete;
    ReadCancel& operator=(const ReadCancel&) = delete;

    void cancel();
    bool cancelled() const { return m_cancelled; }
    // Readable once cancelled, for a wait on the reader's output.
    int waitHandle() const { return m_pipe[0]; }

private:
    std::atomic<bool> m_cancelled{false};
    int m_pipe[2] = {-1, -1};
};

// The cells of a workbook's active sheet (the one the workbook marks as active, else the first; Excel
// 97-2003 workbooks give their first sheet, as FreeXL does not tell the active one). Numbers become their
// decimal text (numberText), texts stay as they are, formulas give their stored result, dates, booleans and
// error values give texts such as "2024-01-31", "TRUE" and "#DIV/0!", and each cell says which it was. The
// file is read by what it holds: a zip package as Excel 2007+ or OpenDocument, a compound file as Excel
// 97-2003, text as CSV, whatever its extension says. The bytes are untrusted: they are read by a reader
// program of their own, within ReadBudget's bytes and time, so a crash or hang of a library costs only that
// program. A workbook that can't be read fails with a message for the user naming the file, and leaves
// the sheet empty.
calculation::FileResult readWorkbookFile(const QString& path, WorkbookKind kind, SheetCells& sheet,
                                         const ReadCancel* cancel = nullptr);
// The same for bytes in memory (written to a temporary file for the reader).
calculation::FileResult readWorkbook(QByteArrayView bytes, WorkbookKind kind, SheetCells& sheet);

// The message for a workbook that gave no sheet.
QString readFailureMessage(ReadFailure failure, const QString& path);

// The largest workbook file that is read.
inline constexpr qint64 kMaxWorkbookBytes = 64 * 1024 * 1024;

// The reader program: found beside the running program, or in libexec/barvik above it, unless the
// environment variable BARVIK_SHEET_READER names it.
QString readerProgram();

namespace detail {
// The reading itself, in this process: what the reader program does.
ReadFailure readSheetHere(const QString& path, WorkbookKind kind, SheetCells& sheet);
} // namespace detail

} // namespace spreadsheet
