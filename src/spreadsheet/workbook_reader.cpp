#include "workbook_reader.h"

#include "localization/translate.h"
#include "read_budget.h"
#include "reader_process.h"
#include "sheet_records.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>

#include <unistd.h>

namespace spreadsheet {

using calculation::fileFailure;
using calculation::FileResult;
using localization::translate;

namespace {

// The reader keeps to its own budget of reading and of processor time; this is the bound for a reader
// that waits on something, with room for a slow start on a busy machine.
constexpr int kReaderMilliseconds = 10000;
// Records of the largest sheet of a few columns.
constexpr size_t kMaxRecordBytes = 160 * 1024 * 1024;

const char* kindName(WorkbookKind kind)
{
    static const char* const names[] = {"xls", "xlsx", "ods", "csv"};
    return names[int(kind)];
}

} // namespace

std::optional<WorkbookKind> kindFromPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (int i = 0; i < 4; ++i)
        if (suffix == QLatin1String(kindName(WorkbookKind(i))))
            return WorkbookKind(i);
    return std::nullopt;
}

QString readerProgram()
{
    const QString named = qEnvironmentVariable("BARVIK_SHEET_READER");
    if (!named.isEmpty())
        return named;
    const QString name = QStringLiteral("barvik-sheet-reader");
    const QString folder = QCoreApplication::instance()
                               ? QCoreApplication::applicationDirPath()
                               : QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
    const QString beside = QDir(folder).filePath(name);
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QDir(folder).filePath(QStringLiteral("../libexec/barvik/") + name);
}

QString readFailureMessage(ReadFailure failure, const QString& path)
{
    switch (failure) {
    case ReadFailure::None:
        break;
    case ReadFailure::Password:
        return translate("%1 is protected by a password").arg(path);
    case ReadFailure::Biff5:
        return translate("%1 is an Excel 5.0/95 workbook; save it as .xlsx or as Excel 97-2003").arg(path);
    case ReadFailure::TooLarge:
        return translate("%1 can't be read: it unpacks to more than %2 MB or takes longer than %3 s to read")
            .arg(path, QString::number(detail::ReadBudget::kInflatedBytes >> 20),
                 QLocale().toString(double(detail::ReadBudget::kMilliseconds) / 1000));
    case ReadFailure::NoSheet:
        return translate("%1 can't be read: it holds no sheet").arg(path);
    case ReadFailure::Cancelled:
        return translate("Reading %1 was cancelled").arg(path);
    case ReadFailure::NoReader:
        return translate("%1 can't be read: the workbook reader %2 is missing or can't be started")
            .arg(path, readerProgram());
    case ReadFailure::Damaged:
        break;
    }
    return translate("%1 can't be read: it is damaged").arg(path);
}

FileResult readWorkbookFile(const QString& path, WorkbookKind kind, SheetCells& sheet, const ReadCancel* cancel)
{
    sheet = SheetCells();
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return fileFailure(translate("Cannot open file %1").arg(path), path);
    if (info.size() > kMaxWorkbookBytes)
        return fileFailure(translate("%1 is %2 MB, larger than a workbook can be (at most %3 MB).")
                               .arg(path, QString::number(double(info.size()) / (1 << 20), 'f', 1),
                                    QString::number(kMaxWorkbookBytes >> 20)),
                           path);
    const detail::ReaderRun run = detail::runReader(
        readerProgram(), {info.absoluteFilePath(), QLatin1String(kindName(kind)), QString::number(::getpid())}, cancel,
        kReaderMilliseconds, kMaxRecordBytes);
    const ReadFailure read = run.failure != ReadFailure::None ? run.failure : detail::decodeSheet(run.output, sheet);
    if (read == ReadFailure::None)
        return {};
    sheet = SheetCells();
    return fileFailure(readFailureMessage(read, path), path);
}

FileResult readWorkbook(QByteArrayView bytes, WorkbookKind kind, SheetCells& sheet)
{
    sheet = SheetCells();
    QTemporaryFile file;
    if (!file.open() || file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return fileFailure(translate("Cannot open file %1").arg(file.fileName()));
    return readWorkbookFile(file.fileName(), kind, sheet);
}

} // namespace spreadsheet
