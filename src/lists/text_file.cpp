#include "lists/text_file.h"

#include "lists/split_fields.h"
#include "localization/translate.h"

#include <QFile>
#include <QFileInfo>

namespace lists {

using localization::translate;

FileResult readTextFile(const QString& path, QString& text)
{
    const FileResult cannotOpen = fileFailure(translate("Cannot open file %1").arg(path), path);
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return cannotOpen;
    if (!info.isFile())
        return fileFailure(translate("%1 is not a list file: only regular files can be read.").arg(path), path);
    auto tooLarge = [&](qint64 size) {
        return fileFailure(
            translate("%1 is %2 MB, larger than a list file can be (at most %3 MB).")
                .arg(path, QString::number(double(size) / (1 << 20), 'f', 1), QString::number(kMaxListFileBytes >> 20)),
            path);
    };
    if (info.size() > kMaxListFileBytes)
        return tooLarge(info.size());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannotOpen;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return cannotOpen;
    // The file may have grown since it was looked at.
    if (bytes.size() > kMaxListFileBytes)
        return tooLarge(bytes.size());
    return decodeText(bytes, path, text);
}

FileResult decodeText(const QByteArray& bytes, const QString& path, QString& text)
{
    // UTF-16 shows as its byte-order mark or as a NUL beside every ASCII letter.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.contains('\0'))
        return fileFailure(translate("%1 is not a text list: it holds NUL bytes or is written in UTF-16.").arg(path),
                           path);
    const qsizetype bom = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    text = QString::fromUtf8(QByteArrayView(bytes).sliced(bom));
    return {};
}

FileResult readTextLines(const QString& path, QStringList& lines)
{
    QString text;
    const FileResult read = readTextFile(path, text);
    if (read.ok)
        lines = splitLines(text);
    return read;
}

QByteArray textFileBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

FileResult writeTextLines(const QString& path, const QStringList& lines)
{
    return calculation::writeFileWhole(path, textFileBytes(lines));
}

} // namespace lists
