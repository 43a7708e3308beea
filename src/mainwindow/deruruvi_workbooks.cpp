// The window's reading of workbooks: the reader runs off the user-interface thread, the window shows a busy
// cursor and, when the read takes a moment, a dialog with Cancel; the sheet is imported when it is back.

#include "deruruvi.h"

#include "lists/list_files.h"
#include "localization/translate.h"
#include "spreadsheet/workbook_read_job.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QProgressDialog>

#include <memory>
#include <utility>

namespace mainwindow {

using calculation::FileResult;
using document::ListKind;
using localization::translate;

// Workbooks already read, by path: what the reader said and the sheet it brought back.
struct ReadSheets : QHash<QString, std::pair<FileResult, spreadsheet::SheetCells>> {};

namespace {

// A read that ends sooner shows only the busy cursor.
constexpr int kBusyDialogDelay = 400;

std::optional<spreadsheet::WorkbookKind> workbookKind(ListKind kind, int format)
{
    return kind == ListKind::Parts ? lists::partsWorkbookKind(format) : lists::stocksWorkbookKind(format);
}

// Takes a list from the sheets read when its file is one of them, and reads any other file as usual.
document::ListReader sheetsReader(std::shared_ptr<const ReadSheets> sheets)
{
    return [sheets](calculation::GridModel& grid, ListKind kind, const QString& path, int format) {
        const auto read = sheets->constFind(path);
        if (read == sheets->constEnd())
            return document::readList(grid, kind, path, format);
        if (!read->first.ok)
            return read->first;
        return document::importSheet(grid, kind, read->second, path);
    };
}

} // namespace

bool TfrmMain::readWorkbook(const QString& path, spreadsheet::WorkbookKind kind,
                            const std::function<void(const spreadsheet::WorkbookReadJob&)>& done)
{
    // One read at a time; the dialog keeps the window's commands away while it is open.
    if (m_workbookRead)
        return false;
    auto* job = new spreadsheet::WorkbookReadJob(path, kind, this);
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
    connect(job, &spreadsheet::WorkbookReadJob::finished, this, [this, job, busy, done] {
        QApplication::restoreOverrideCursor();
        // Gone before a message box opens: its timer would show it again over the message.
        delete busy;
        job->deleteLater();
        m_workbookRead = nullptr;
        if (job->cancelled())
            showStatus(translate("Reading %1 was cancelled").arg(job->path()));
        else
            done(*job);
        afterReads({});
    });
    m_workbookRead = job;
    job->start();
    return true;
}

void TfrmMain::afterReads(const std::function<void()>& then)
{
    if (then)
        m_afterReads.push_back(then);
    if (m_workbookRead)
        return;
    const std::vector<std::function<void()>> waiting = std::move(m_afterReads);
    m_afterReads.clear();
    for (const std::function<void()>& next : waiting)
        next();
}

void TfrmMain::readList(ListKind kind, const QString& path, int format)
{
    // A list dropped or chosen while a workbook is read opens after it, in the order asked.
    if (m_workbookRead) {
        afterReads([this, kind, path, format] { readList(kind, path, format); });
        return;
    }
    const std::optional<spreadsheet::WorkbookKind> book = workbookKind(kind, format);
    if (!book || path.isEmpty()) {
        m_commands->openList(kind, path, format);
        return;
    }
    readWorkbook(path, *book, [this, kind, format](const spreadsheet::WorkbookReadJob& job) {
        auto sheets = std::make_shared<ReadSheets>();
        sheets->insert(job.path(), {job.result(), job.sheet()});
        m_commands->openList(kind, job.path(), format, sheetsReader(sheets));
    });
}

void TfrmMain::readProject(const QString& path)
{
    if (m_workbookRead) {
        afterReads([this, path] { readProject(path); });
        return;
    }
    // The workbooks a project names are read first, one after the other; a cancel opens nothing.
    std::vector<std::pair<QString, spreadsheet::WorkbookKind>> books;
    const QStringList lists = document::projectListPaths(path);
    for (int i = 0; i < int(lists.size()); ++i) {
        const ListKind kind = i == 0 ? ListKind::Parts : ListKind::Stocks;
        if (const auto book = workbookKind(kind, document::formatForPath(kind, lists[i])); book && !lists[i].isEmpty())
            books.emplace_back(lists[i], *book);
    }
    readWorkbooks(std::make_shared<ReadSheets>(), std::move(books),
                  [this, path](std::shared_ptr<const ReadSheets> sheets) {
                      m_commands->openProject(path, sheetsReader(std::move(sheets)));
                  });
}

void TfrmMain::readWorkbooks(std::shared_ptr<ReadSheets> sheets,
                             std::vector<std::pair<QString, spreadsheet::WorkbookKind>> books,
                             const std::function<void(std::shared_ptr<const ReadSheets>)>& done)
{
    if (books.empty()) {
        done(std::move(sheets));
        return;
    }
    const auto [path, kind] = books.back();
    books.pop_back();
    readWorkbook(path, kind, [this, sheets, books, done](const spreadsheet::WorkbookReadJob& job) {
        sheets->insert(job.path(), {job.result(), job.sheet()});
        readWorkbooks(sheets, books, done);
    });
}

} // namespace mainwindow
