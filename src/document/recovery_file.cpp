#include "document/recovery_file.h"

#include "calculation/file_result.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>

namespace document {

namespace {

constexpr int kFormatVersion = 1;

QJsonArray toJson(const QStringList& texts)
{
    return QJsonArray::fromStringList(texts);
}

QStringList toStrings(const QJsonValue& value)
{
    QStringList texts;
    for (const QJsonValue& text : value.toArray())
        texts.append(text.toString());
    return texts;
}

QJsonObject toJson(const ListSnapshot& list)
{
    QJsonArray rows;
    for (const QStringList& row : list.cells)
        rows.append(toJson(row));
    return {{QStringLiteral("file"), list.file.path},
            {QStringLiteral("format"), list.file.format},
            {QStringLiteral("image"), toJson(list.file.image)},
            {QStringLiteral("rows"), rows}};
}

bool fromJson(const QJsonValue& value, ListSnapshot& list)
{
    const QJsonObject object = value.toObject();
    if (!object.value(QStringLiteral("rows")).isArray())
        return false;
    list.file = {object.value(QStringLiteral("file")).toString(), object.value(QStringLiteral("format")).toInt(),
                 toStrings(object.value(QStringLiteral("image")))};
    list.cells.clear();
    for (const QJsonValue& row : object.value(QStringLiteral("rows")).toArray())
        list.cells.append(toStrings(row));
    // The two fixed rows at least, as every grid has.
    return list.cells.size() >= calculation::GridModel::kFirstDataRow;
}

// Settings as the lines of a project file, which read them back with all their checks.
bool settingsFromLines(const QJsonValue& value, ProjectSettings& settings)
{
    const QStringList lines = toStrings(value);
    if (lines.size() != projectLines(settings).size())
        return false;
    settings.partFile = lines[0];
    settings.stockFile = lines[1];
    settings.quality = lines[2].toInt();
    settings.change = lines[3] == u'1';
    settings.cost = lines[4] == u'1';
    settings.blade = lines[5];
    settings.stub = lines[6];
    settings.reuse = lines[7];
    settings.format = lines[8].toInt();
    settings.unit = lines[9];
    settings.title = lines[10];
    settings.display = lines[11].toInt();
    settings.print = lines[12].toInt();
    settings.times = lines[13];
    settings.exact = lines[14] == u'1';
    return true;
}

QString jobFile(const QString& folder, int slot)
{
    return QDir(folder).filePath(QStringLiteral("job-%1.json").arg(slot));
}

std::unique_ptr<QLockFile> lockFor(const QString& jobPath)
{
    auto lock = std::make_unique<QLockFile>(jobPath.chopped(4) + QStringLiteral("lock"));
    // Only a run that has ended gives its file up, however long ago the lock was taken.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QByteArray recoveryContent(const JobDocument& job, const QDateTime& written)
{
    const QJsonObject root{{QStringLiteral("version"), kFormatVersion},
                           {QStringLiteral("written"), written.toString(Qt::ISODate)},
                           {QStringLiteral("project"), job.projectPath()},
                           {QStringLiteral("settings"), toJson(projectLines(job.settings()))},
                           {QStringLiteral("saved"), toJson(projectLines(job.savedSettings()))},
                           {QStringLiteral("parts"), toJson(job.snapshot(ListKind::Parts))},
                           {QStringLiteral("stocks"), toJson(job.snapshot(ListKind::Stocks))}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool parseRecovery(const QByteArray& content, RecoveredJob& job)
{
    const QJsonObject root = QJsonDocument::fromJson(content).object();
    if (root.value(QStringLiteral("version")).toInt() != kFormatVersion)
        return false;
    job.project = root.value(QStringLiteral("project")).toString();
    job.written = QDateTime::fromString(root.value(QStringLiteral("written")).toString(), Qt::ISODate);
    return fromJson(root.value(QStringLiteral("parts")), job.parts) &&
           fromJson(root.value(QStringLiteral("stocks")), job.stocks) &&
           settingsFromLines(root.value(QStringLiteral("settings")), job.settings) &&
           settingsFromLines(root.value(QStringLiteral("saved")), job.saved);
}

void restoreJob(JobDocument& document, const RecoveredJob& job)
{
    document.startAnew();
    document.restore(ListKind::Parts, job.parts, true);
    document.restore(ListKind::Stocks, job.stocks, true);
    document.setSettings(job.settings);
    document.setProject(job.project, job.saved);
}

QString RecoveryFile::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("recovery"));
}

std::vector<LeftJob> RecoveryFile::findLeftJobs(const QString& folder)
{
    std::vector<LeftJob> found;
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("job-*.json")}, QDir::Files, QDir::Time);
    for (const QFileInfo& info : files) {
        LeftJob left{info.absoluteFilePath(), {}, lockFor(info.absoluteFilePath())};
        // A running program holds its own file's lock.
        if (!left.lock->tryLock(0))
            continue;
        QFile file(left.path);
        if (file.open(QIODevice::ReadOnly) && parseRecovery(file.readAll(), left.job))
            found.push_back(std::move(left));
    }
    return found;
}

void RecoveryFile::discard(LeftJob& left)
{
    QFile::remove(left.path);
    if (left.lock)
        left.lock->unlock();
}

RecoveryFile::RecoveryFile(JobDocument& job, const calculation::Clock& clock, const QString& folder, QObject* parent)
    : QObject(parent), m_job(job), m_clock(clock), m_folder(folder)
{
    QDir().mkpath(folder);
    // The first slot that no running program holds and no ended one has left a job in.
    for (int slot = 1; !m_lock && slot < 1000; ++slot) {
        const QString path = jobFile(folder, slot);
        if (QFile::exists(path))
            continue;
        std::unique_ptr<QLockFile> lock = lockFor(path);
        if (lock->tryLock(0)) {
            m_path = path;
            m_lock = std::move(lock);
        } else if (lock->error() != QLockFile::LockFailedError) {
            // A folder that can't be written: the job is kept nowhere, and the program still runs.
            break;
        }
    }
    for (QTimer* timer : {&m_quiet, &m_longest}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &RecoveryFile::write);
    }
    setDelays(kQuietMs, kLongestMs);
    connect(&m_job, &JobDocument::changed, this, &RecoveryFile::jobChanged);
}

RecoveryFile::~RecoveryFile() = default;

void RecoveryFile::setDelays(int quietMs, int longestMs)
{
    m_quiet.setInterval(quietMs);
    m_longest.setInterval(longestMs);
}

void RecoveryFile::jobChanged()
{
    if (!m_job.modified()) {
        flush();
        return;
    }
    m_quiet.start();
    if (!m_longest.isActive())
        m_longest.start();
}

void RecoveryFile::flush()
{
    if (m_job.modified()) {
        write();
        return;
    }
    discard();
}

void RecoveryFile::discard()
{
    m_quiet.stop();
    m_longest.stop();
    if (!m_path.isEmpty())
        QFile::remove(m_path);
}

void RecoveryFile::write()
{
    m_quiet.stop();
    m_longest.stop();
    if (m_path.isEmpty())
        return;
    const calculation::FileResult result = calculation::writeFileWhole(m_path, recoveryContent(m_job, m_clock.now()));
    if (result.ok)
        Q_EMIT written();
    else
        Q_EMIT writeFailed(result.message());
}

} // namespace document
