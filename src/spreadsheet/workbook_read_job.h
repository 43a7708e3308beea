#pragma once

#include "calculation/file_result.h"
#include "sheet_cells.h"
#include "workbook_reader.h"

#include <QObject>
#include <QString>

class QThread;

namespace spreadsheet {

// One workbook read on a thread of its own, so that the window stays responsive; a cancel ends the reader
// program at once. finished() is emitted in the thread that owns the job, once, after a cancel too.
class WorkbookReadJob : public QObject {
    Q_OBJECT

public:
    WorkbookReadJob(const QString& path, WorkbookKind kind, QObject* parent = nullptr);
    // Cancels a read under way and waits for its thread.
    ~WorkbookReadJob() override;

    void start();
    void cancel();

    const QString& path() const { return m_path; }
    bool cancelled() const { return m_cancel.cancelled(); }
    // Valid after finished().
    const calculation::FileResult& result() const { return m_result; }
    const SheetCells& sheet() const { return m_sheet; }

Q_SIGNALS:
    void finished();

private:
    QString m_path;
    WorkbookKind m_kind;
    ReadCancel m_cancel;
    calculation::FileResult m_result;
    SheetCells m_sheet;
    QThread* m_thread = nullptr;
};

} // namespace spreadsheet
