// The main window's list file commands and the layout export, with what they tell the user: errors in a
// message box, success in the status bar. What is asked before an edited list is replaced, and how a list
// is saved and opened, lives in job_commands.

#include "deruruvi.h"

#include "list_dialogs.h"

#include "document/job_document.h"
#include "exchange/layout_export.h"
#include "localization/translate.h"

#include <QFileInfo>
#include <QStatusBar>

namespace mainwindow {

using document::ListKind;
using localization::translate;

namespace {

constexpr int kStatusTimeout = 8000;

} // namespace

void TfrmMain::report(const lists::FileResult& result)
{
    m_commands->report(result);
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

void TfrmMain::openList(ListKind kind, const QString& path, int format)
{
    view(kind)->finishEditing();
    if (m_commands->confirmDiscardList(kind))
        readList(kind, path, format);
}

void TfrmMain::openPartsFile(const QString& path, int format)
{
    openList(ListKind::Parts, path, format);
}

void TfrmMain::openStocksFile(const QString& path, int format)
{
    openList(ListKind::Stocks, path, format);
}

void TfrmMain::btnPartSaveClick()
{
    ui.sgPart->finishEditing();
    m_commands->saveList(ListKind::Parts, true);
}

void TfrmMain::btnPartOpenClick()
{
    // Asked before the file is chosen: a Cancel leaves everything as it was.
    ui.sgPart->finishEditing();
    if (!m_commands->confirmDiscardList(ListKind::Parts))
        return;
    if (const std::optional<FileChoice> choice = m_dialogs.askOpenFile(partsOpenDialog()))
        readList(ListKind::Parts, choice->path, chosenFormat(ListKind::Parts, *choice));
}

void TfrmMain::btnStockSaveClick()
{
    ui.sgStock->finishEditing();
    m_commands->saveList(ListKind::Stocks, true);
}

void TfrmMain::btnStockOpenClick()
{
    ui.sgStock->finishEditing();
    if (!m_commands->confirmDiscardList(ListKind::Stocks))
        return;
    if (const std::optional<FileChoice> choice = m_dialogs.askOpenFile(stocksOpenDialog()))
        readList(ListKind::Stocks, choice->path, chosenFormat(ListKind::Stocks, *choice));
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
