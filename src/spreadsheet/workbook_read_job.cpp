#include "workbook_read_job.h"

#include <QThread>

namespace spreadsheet {

WorkbookReadJob::WorkbookReadJob(const QString& path, WorkbookKind kind, QObject* parent)
    : QObject(parent), m_path(path), m_kind(kind)
{
}

WorkbookReadJob::~WorkbookReadJob()
{
    if (m_thread) {
        m_cancel.cancel();
        m_thread->wait();
    }
}

void WorkbookReadJob::start()
{
    if (m_thread)
        return;
    m_thread = QThread::create([this] { m_result = readWorkbookFile(m_path, m_kind, m_sheet, &m_cancel); });
    m_thread->setParent(this);
    // The thread's end is told in this object's thread, where its results are read.
    connect(m_thread, &QThread::finished, this, &WorkbookReadJob::finished);
    m_thread->start();
}

void WorkbookReadJob::cancel()
{
    m_cancel.cancel();
}

} // namespace spreadsheet
