// The reading of a workbook inside the reader program: the file's first bytes, not its name, pick the
// reader.

#include "readers.h"
#include "workbook_reader.h"
#include "zip_package.h"

#include <QFile>

namespace spreadsheet::detail {

namespace {

constexpr char kCompoundFile[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

ReadFailure readPackage(const QString& path, SheetCells& sheet)
{
    ZipPackage package;
    switch (package.open(path)) {
    case ZipPackage::Open::Ok:
        break;
    case ZipPackage::Open::Encrypted:
        return ReadFailure::Password;
    default:
        return ReadFailure::Damaged;
    }
    ReadBudget budget;
    const std::optional<QByteArray> mimetype = package.smallMember(QStringLiteral("mimetype"), budget, 256);
    const bool ods = (mimetype && mimetype->startsWith("application/vnd.oasis.opendocument.spreadsheet")) ||
                     (!mimetype && package.contains(QStringLiteral("content.xml")) &&
                      !package.contains(QStringLiteral("[Content_Types].xml")));
    return ods ? readOdsPackage(package, budget, sheet) : readXlsxPackage(package, budget, sheet);
}

// A compound file that FreeXL can't read is told by the names of its streams: an Excel 2007+ workbook
// protected by a password keeps an "EncryptionInfo" stream, an Excel 5.0/95 workbook a "Book" stream where
// Excel 97-2003 has "Workbook". The names are UTF-16 in the file's directory.
ReadFailure readCompoundFile(QFile& file, SheetCells& sheet)
{
    const ReadFailure read = readXlsFile(file.fileName(), sheet);
    if (read != ReadFailure::Damaged && read != ReadFailure::NoSheet)
        return read;
    static const QByteArray encryption = QByteArray("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28);
    static const QByteArray book = QByteArray("B\0o\0o\0k\0\0\0", 10);
    const QByteArray bytes = file.read(kMaxWorkbookBytes);
    if (bytes.contains(encryption))
        return ReadFailure::Password;
    // A compound file without a sheet is no workbook that can be read.
    return bytes.contains(book) ? ReadFailure::Biff5 : ReadFailure::Damaged;
}

bool isText(QByteArrayView bytes)
{
    return !bytes.contains('\0') && QString::fromUtf8(bytes).toUtf8() == bytes;
}

} // namespace

ReadFailure readSheetHere(const QString& path, WorkbookKind kind, SheetCells& sheet)
{
    sheet = SheetCells();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadFailure::Damaged;
    const QByteArray head = file.peek(8);
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return readPackage(path, sheet);
    if (head == QByteArrayView(kCompoundFile, 8))
        return readCompoundFile(file, sheet);
    // Text saved under a workbook's name, as the layout and remnant exports write it, is read as CSV.
    const QByteArray bytes = file.read(kMaxWorkbookBytes);
    if (kind != WorkbookKind::Csv && !isText(bytes))
        return ReadFailure::Damaged;
    return readCsv(bytes, sheet);
}

} // namespace spreadsheet::detail
