#include "text_file.h"

#include "localization/translate.h"
#include "split_fields.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace calculation {

FileResult fileFailure(const QString& message)
{
    return {false, message};
}

QString fillIn(QString message, std::initializer_list<QString> values)
{
    static const QRegularExpression placeholder(QStringLiteral("%[sd]"));
    qsizetype from = 0;
    for (const QString& value : values) {
        const qsizetype at = message.indexOf(placeholder, from);
        if (at < 0)
            break;
        message.replace(at, 2, value);
        from = at + value.size();
    }
    return message;
}

FileResult readTextLines(const QString& path, QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileFailure(fillIn(localization::translate("Cannot open file %s"), {path}));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fileFailure(fillIn(localization::translate("Cannot open file %s"), {path}));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    lines = splitLines(QString::fromUtf8(bytes));
    return {};
}

FileResult writeTextLines(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return fileFailure(fillIn(localization::translate("Cannot save file %s: %s"), {path, file.errorString()}));
}

} // namespace calculation
