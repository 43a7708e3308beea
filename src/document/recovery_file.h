#pragma once

#include "calculation/run_seams.h"
#include "document/job_document.h"

#include <QDateTime>
#include <QLockFile>
#include <QTimer>

#include <memory>
#include <vector>

namespace document {

// Everything of a job that the recovery file keeps: both lists with their files, the settings as they
// stood and as the project (or the start) had them, and when it was written.
struct RecoveredJob {
    ListSnapshot parts;
    ListSnapshot stocks;
    ProjectSettings settings;
    ProjectSettings saved;
    QString project;
    QDateTime written;
};

QByteArray recoveryContent(const JobDocument& job, const QDateTime& written);
// False for a file that is not a recovery file (or not whole).
bool parseRecovery(const QByteArray& content, RecoveredJob& job);
// Makes the document hold the job as it was: its lists, files, settings and project, with nothing to undo.
void restoreJob(JobDocument& document, const RecoveredJob& job);

// A job that a run left behind when it ended without saving (a crash, a kill, a power cut). It stays locked
// for this run while it is offered, so that no other run offers it too.
struct LeftJob {
    QString path;
    RecoveredJob job;
    std::unique_ptr<QLockFile> lock;
};

// The job's recovery file: written, atomically, at most a second after the last change and two seconds after
// the first unsaved one; removed once nothing is unsaved (saved, discarded, or all undone). Each running
// program has a file of its own in the folder.
class RecoveryFile : public QObject {
    Q_OBJECT

public:
    static constexpr int kQuietMs = 1000;
    static constexpr int kLongestMs = 2000;

    // The folder where the recovery files live: in the user's configuration folder.
    static QString defaultFolder();
    // The jobs left in the folder by runs that have ended, newest first.
    static std::vector<LeftJob> findLeftJobs(const QString& folder);
    // Removes a left job's file once it is restored or declined.
    static void discard(LeftJob& left);

    RecoveryFile(JobDocument& job, const calculation::Clock& clock, const QString& folder, QObject* parent = nullptr);
    ~RecoveryFile() override;

    // Tests wait less.
    void setDelays(int quietMs, int longestMs);
    QString path() const { return m_path; }
    QString folder() const { return m_folder; }
    // Writes the file now when something is unsaved, else removes it.
    void flush();
    // Removes the file whatever is unsaved: the user saved or discarded the job and the program ends.
    void discard();

Q_SIGNALS:
    // The file was written, or could not be (the message says why, in the user's words).
    void written();
    void writeFailed(const QString& message);

private:
    void jobChanged();
    void write();

    JobDocument& m_job;
    const calculation::Clock& m_clock;
    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_quiet;
    QTimer m_longest;
};

} // namespace document
