#include "workbook_reader.h"

#include "isolated_run.h"
#include "localization/translate.h"
#include "readers.h"
#include "sheet_records.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace spreadsheet {

using calculation::fileFailure;
using calculation::FileResult;
using localization::translate;

namespace detail {

FileResult cantStart(const QString& reason)
{
    return fileFailure(translate("Cant start") + QStringLiteral(" Excel: ") + reason);
}

} // namespace detail

std::optional<WorkbookKind> kindFromPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xls")
        return WorkbookKind::Xls;
    if (suffix == u"xlsx")
        return WorkbookKind::Xlsx;
    if (suffix == u"ods")
        return WorkbookKind::Ods;
    if (suffix == u"csv")
        return WorkbookKind::Csv;
    return std::nullopt;
}

namespace {

// Far beyond any real list; a reader that takes longer is stuck.
constexpr int kReaderSeconds = 30;

// The reading itself, in this process. FreeXL reads files only: its bytes come from xlsPath when that is
// given, else from a temporary file.
FileResult readHere(QByteArrayView bytes, WorkbookKind kind, const QString& xlsPath, SheetCells& sheet)
{
    switch (kind) {
    case WorkbookKind::Xlsx:
    case WorkbookKind::Ods:
        return detail::readOrcusWorkbook(bytes, kind == WorkbookKind::Ods, sheet);
    case WorkbookKind::Csv:
        return detail::readCsv(bytes, sheet);
    case WorkbookKind::Xls:
        break;
    }
    if (!xlsPath.isEmpty())
        return detail::readXlsFile(xlsPath, sheet);
    QTemporaryFile file;
    if (!file.open() || file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return detail::cantStart(QStringLiteral("no temporary file for the workbook"));
    return detail::readXlsFile(file.fileName(), sheet);
}

// FreeXL 1.0.6 overruns a buffer on some crafted .xls files and Orcus 0.17 allocates what a crafted
// archive claims, so the libraries read in a child process that hands the cells back.
FileResult readIsolated(QByteArrayView bytes, WorkbookKind kind, const QString& xlsPath, SheetCells& sheet)
{
    QString failure;
    const std::optional<std::string> records = detail::runIsolated(
        [&] {
            SheetCells cells;
            const FileResult read = readHere(bytes, kind, xlsPath, cells);
            return detail::encodeSheet(read, cells);
        },
        kReaderSeconds, failure);
    if (!records) {
        sheet = SheetCells();
        return detail::cantStart(failure);
    }
    return detail::decodeSheet(*records, sheet);
}

} // namespace

FileResult readWorkbook(QByteArrayView bytes, WorkbookKind kind, SheetCells& sheet)
{
    return readIsolated(bytes, kind, QString(), sheet);
}

FileResult readWorkbookFile(const QString& path, WorkbookKind kind, SheetCells& sheet)
{
    sheet = SheetCells();
    const FileResult cannotOpen = fileFailure(translate("Cannot open file %1").arg(path), path);
    const QFileInfo info(path);
    if (!info.isFile())
        return cannotOpen;
    if (info.size() > kMaxWorkbookBytes)
        return fileFailure(translate("%1 is %2 MB, larger than a workbook can be (at most %3 MB).")
                               .arg(path, QString::number(double(info.size()) / (1 << 20), 'f', 1),
                                    QString::number(kMaxWorkbookBytes >> 20)));
    if (kind == WorkbookKind::Xls)
        return readIsolated({}, kind, path, sheet);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannotOpen;
    const QByteArray bytes = file.read(kMaxWorkbookBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxWorkbookBytes)
        return cannotOpen;
    return readWorkbook(bytes, kind, sheet);
}

} // namespace spreadsheet
