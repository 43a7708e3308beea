#include "document/history/job_history.h"

#include <QUndoCommand>

namespace document {

namespace {

// One edit of one list, done already when it is pushed.
class ListEdit final : public QUndoCommand {
public:
    ListEdit(JobDocument& job, ListKind kind, const QString& name, const ListSnapshot& before,
             const ListSnapshot& after, qint64 mergeKey)
        : QUndoCommand(name), m_job(job), m_kind(kind), m_before(before), m_after(after), m_mergeKey(mergeKey)
    {
    }

    void undo() override { m_job.restore(m_kind, m_before, withFile()); }
    void redo() override
    {
        if (m_done)
            m_job.restore(m_kind, m_after, withFile());
        m_done = true;
    }

    // Typing into one cell adds up to one edit.
    int id() const override { return m_mergeKey != 0 ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const ListEdit*>(other);
        if (next->m_kind != m_kind || next->m_mergeKey != m_mergeKey)
            return false;
        m_after = next->m_after;
        return true;
    }

private:
    // A file is put back only by the edits that changed it: a list saved since keeps its file.
    bool withFile() const { return !(m_before.file == m_after.file); }

    JobDocument& m_job;
    ListKind m_kind;
    ListSnapshot m_before;
    ListSnapshot m_after;
    qint64 m_mergeKey;
    bool m_done = false;
};

} // namespace

JobHistory::JobHistory(JobDocument& job, QObject* parent) : QObject(parent), m_job(job)
{
    connect(&m_job, &JobDocument::edited, this,
            [this](ListKind kind, const QString& name, const ListSnapshot& before, const ListSnapshot& after,
                   qint64 mergeKey) { m_stack.push(new ListEdit(m_job, kind, name, before, after, mergeKey)); });
    connect(&m_job, &JobDocument::started, &m_stack, &QUndoStack::clear);
}

} // namespace document
