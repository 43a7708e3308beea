// The window's reading of workbooks: the reader runs off the user-interface thread, the window shows a busy
// cursor and, when the read takes a moment, a dialog with Cancel; the sheet is imported when it is back.

#include "deruruvi.h"

#include "lists/list_files.h"
#include "localization/translate.h"
#include "spreadsheet/sheet_import.h"
#include "spreadsheet/workbook_read_job.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>

namespace mainwindow {

using localization::translate;

namespace {

// A read that ends sooner shows only the busy cursor.
constexpr int kBusyDialogDelay = 400;

} // namespace

bool TfrmMain::readWorkbook(const QString& path, int format, bool stocks)
{
    const std::optional<spreadsheet::WorkbookKind> kind =
        stocks ? lists::stocksWorkbookKind(format) : lists::partsWorkbookKind(format);
    if (!kind || path.isEmpty())
        return false;
    // One read at a time; the dialog keeps the window's commands away while it is open.
    if (m_workbookRead)
        return true;
    auto* job = new spreadsheet::WorkbookReadJob(path, *kind, this);
    auto* busy =
        new QProgressDialog(translate("Reading %1…").arg(QFileInfo(path).fileName()), translate("Cancel"), 0, 0, this);
    busy->setObjectName(QStringLiteral("workbookBusy"));
    busy->setWindowTitle(windowTitle());
    busy->setWindowModality(Qt::WindowModal);
    busy->setMinimumDuration(kBusyDialogDelay);
    // Its first value starts the clock after which it shows.
    busy->setValue(0);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    connect(busy, &QProgressDialog::canceled, job, &spreadsheet::WorkbookReadJob::cancel);
    connect(job, &spreadsheet::WorkbookReadJob::finished, this, [this, job, busy, stocks] {
        QApplication::restoreOverrideCursor();
        // Gone before a message box opens: its timer would show it again over the message.
        delete busy;
        job->deleteLater();
        m_workbookRead = nullptr;
        if (job->cancelled()) {
            showStatus(translate("Reading %1 was cancelled").arg(job->path()));
            return;
        }
        if (!job->result().ok) {
            report(job->result());
            return;
        }
        report(stocks ? spreadsheet::ImportStocksSheet(*m_stocks, job->sheet(), job->path())
                      : spreadsheet::ImportPartsSheet(*m_parts, job->sheet(), job->path()));
    });
    m_workbookRead = job;
    job->start();
    return true;
}

} // namespace mainwindow
