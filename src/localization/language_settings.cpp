#include "language_settings.h"

#include "catalogs.h"

#include "files/whole_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringList>

#include <optional>

namespace localization {

namespace {

const QString kSection = QStringLiteral("Common");
const QString kKey = QStringLiteral("Language");

QMutex& pathMutex()
{
    static QMutex mutex;
    return mutex;
}

QString& chosenPath()
{
    static QString path;
    return path;
}

// The lines of the file without their line ends; nothing when it can't be read or is no text (a NUL or
// bytes that are not UTF-8).
std::optional<QStringList> readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// The name of the section a line opens, or nothing when it opens none.
std::optional<QString> sectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(u'[') || !trimmed.endsWith(u']'))
        return std::nullopt;
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool isLanguageKey(const QString& line)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals > 0 && line.left(equals).trimmed().compare(kKey, Qt::CaseInsensitive) == 0;
}

bool isCommon(const QString& line)
{
    const std::optional<QString> name = sectionName(line);
    return name && name->compare(kSection, Qt::CaseInsensitive) == 0;
}

bool looksLikeCode(const QString& code)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_@.-]{1,64}$"));
    return pattern.match(code).hasMatch();
}

} // namespace

QString settingsFilePath(const QString& programFolder, const QString& configFolder)
{
    const QString beside = QDir(programFolder).filePath(QLatin1String(kSettingsFileName));
    const QFileInfo besideFile(beside);
    if (besideFile.isFile() && besideFile.isWritable())
        return beside;
    if (configFolder.isEmpty())
        return beside;
    const QString own = QDir(configFolder).filePath(QLatin1String(kSettingsFileName));
    if (!besideFile.exists() && !QFileInfo::exists(own) && QFileInfo(programFolder).isDir() &&
        QFileInfo(programFolder).isWritable())
        return beside;
    return own;
}

void setSettingsFile(const QString& path)
{
    const QMutexLocker lock(&pathMutex());
    chosenPath() = path;
}

QString settingsFile()
{
    {
        const QMutexLocker lock(&pathMutex());
        if (!chosenPath().isEmpty())
            return chosenPath();
    }
    return settingsFilePath(QCoreApplication::applicationDirPath(),
                            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

QString readSavedLanguage(const QString& path)
{
    const QString fallback = QLatin1String(kDefaultLanguage);
    const std::optional<QStringList> lines = readLines(path);
    if (!lines)
        return fallback;
    bool inCommon = false;
    for (const QString& line : *lines) {
        if (sectionName(line)) {
            inCommon = isCommon(line);
        } else if (inCommon && isLanguageKey(line)) {
            const QString code = line.mid(line.indexOf(u'=') + 1).trimmed();
            return looksLikeCode(code) ? code : fallback;
        }
    }
    return fallback;
}

bool saveLanguage(const QString& path, const QString& code)
{
    // A file that is no text holds nothing worth keeping.
    QStringList lines = readLines(path).value_or(QStringList());
    const QString entry = kKey + u'=' + code;
    qsizetype common = -1;
    qsizetype insertAt = -1;
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        if (sectionName(lines[i])) {
            if (common >= 0)
                break;
            if (isCommon(lines[i]))
                common = insertAt = i + 1;
        } else if (common >= 0 && isLanguageKey(lines[i])) {
            lines[i] = entry;
            written = true;
        } else if (common >= 0 && !lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written && common >= 0) {
        lines.insert(insertAt, entry);
    } else if (!written) {
        lines.append(u'[' + kSection + u']');
        lines.append(entry);
    }

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += (line + QStringLiteral("\r\n")).toUtf8();
    return files::writeWholeFile(path, bytes).ok();
}

} // namespace localization
