// The main window's list file commands and the layout export, with what they tell the user: errors in a
// message box, success in the status bar.

#include "deruruvi.h"

#include "list_dialogs.h"
#include "lists/list_files.h"

#include "exchange/layout_export.h"
#include "localization/translate.h"

#include <QFileInfo>
#include <QStatusBar>

namespace mainwindow {

using calculation::MessageIcon;
using localization::translate;

namespace {

constexpr int kStatusTimeout = 8000;

} // namespace

void TfrmMain::report(const lists::FileResult& result)
{
    if (!result.ok)
        m_dialogs.showMessage(result.message(), MessageIcon::Error);
    else if (!result.notice.isEmpty())
        m_dialogs.showMessage(result.notice, MessageIcon::Information);
}

void TfrmMain::reportSaved(const lists::FileResult& result, const QString& path)
{
    if (result.ok)
        showStatus(translate("Saved %1").arg(QFileInfo(path).fileName()));
    report(result);
}

void TfrmMain::showStatus(const QString& text)
{
    statusBar()->showMessage(text, kStatusTimeout);
}

void TfrmMain::openPartsFile(const QString& path, int format)
{
    ui.edPartFile->setPath(path);
    if (!readWorkbook(path, format, false))
        report(lists::LoadPartsFile(*m_parts, path, format));
}

void TfrmMain::openStocksFile(const QString& path, int format)
{
    ui.edStockFile->setPath(path);
    if (!readWorkbook(path, format, true))
        report(lists::LoadStocksFile(*m_stocks, path, format));
}

void TfrmMain::btnPartSaveClick()
{
    const std::optional<FileChoice> choice = m_dialogs.askSaveFile(partsSaveDialog());
    if (!choice)
        return;
    // The field names the file that holds the list: a save that failed leaves the one before.
    const lists::FileResult saved = lists::SavePartsFile(*m_parts, choice->path);
    if (saved.ok)
        ui.edPartFile->setPath(choice->path);
    reportSaved(saved, choice->path);
}

void TfrmMain::btnPartOpenClick()
{
    if (const std::optional<FileChoice> choice = m_dialogs.askOpenFile(partsOpenDialog()))
        openPartsFile(choice->path, choice->filterPosition);
}

void TfrmMain::btnStockSaveClick()
{
    const std::optional<FileChoice> choice = m_dialogs.askSaveFile(stocksSaveDialog());
    if (!choice)
        return;
    const lists::FileResult saved = lists::SaveStocksFile(*m_stocks, choice->path);
    if (saved.ok)
        ui.edStockFile->setPath(choice->path);
    reportSaved(saved, choice->path);
}

void TfrmMain::btnStockOpenClick()
{
    if (const std::optional<FileChoice> choice = m_dialogs.askOpenFile(stocksOpenDialog()))
        openStocksFile(choice->path, choice->filterPosition);
}

void TfrmMain::N5Click()
{
    const std::optional<FileChoice> choice = m_dialogs.askSaveFile(layoutExportDialog());
    if (!choice)
        return;
    reportSaved(exchange::exportLayouts(*m_layout, choice->path), choice->path);
}

void TfrmMain::cbExportClick()
{
    N5Click();
}

} // namespace mainwindow
