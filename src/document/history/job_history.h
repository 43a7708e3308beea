#pragma once

#include "document/job_document.h"

#include <QUndoStack>

namespace document {

// Every edit of the job's lists as a command on an undo stack: undoing puts the list back as it was before
// the edit, its file too when the edit changed it (an opened list). A job started anew starts a new history.
class JobHistory : public QObject {
    Q_OBJECT

public:
    explicit JobHistory(JobDocument& job, QObject* parent = nullptr);

    QUndoStack& stack() { return m_stack; }

private:
    JobDocument& m_job;
    QUndoStack m_stack;
};

} // namespace document
