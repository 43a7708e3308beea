// The main window's commands for whole jobs: project files and the remnant stock lists. The rules live in
// project_file and exchange/remnant_stocks; these handlers connect them to the controls and dialogs.

#include "deruruvi.h"

#include "document/job_document.h"
#include "list_dialogs.h"

#include "exchange/remnant_stocks.h"
#include "localization/translate.h"

#include <QFileInfo>

namespace mainwindow {

using document::ListKind;

using calculation::MessageIcon;
using localization::translate;

// Projects

void TfrmMain::S1Click()
{
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    m_commands->saveProject(false);
}

void TfrmMain::mnSaveAsClick()
{
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    m_commands->saveProject(true);
}

void TfrmMain::O1Click()
{
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    if (!m_commands->confirmDiscardJob())
        return;
    if (const std::optional<FileChoice> choice = m_dialogs.askOpenFile(projectOpenDialog()))
        readProject(choice->path);
}

void TfrmMain::LoadProject(const QString& path)
{
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    if (m_commands->confirmDiscardJob())
        readProject(path);
}

// Remnant stocks

void TfrmMain::btnLeftClick()
{
    const std::optional<FileChoice> choice = m_dialogs.askSaveFile(leftStocksSaveDialog());
    if (!choice)
        return;
    const exchange::RemnantSave saved = exchange::saveLeftStocks(*m_stocks, choice->path);
    // The stocks field names the list just written, unless the save failed; the grid still holds the whole
    // stock, which that file does not.
    if (saved.result.ok)
        m_document->setListFile(ListKind::Stocks, document::readListFile(ListKind::Stocks, choice->path));
    reportCount(saved, choice->path, translate("Congratulations! Successfully saved count: "));
}

void TfrmMain::btnExportLeftClick()
{
    if (const std::optional<FileChoice> choice = m_dialogs.askSaveFile(remnantExportDialog()))
        reportCount(exchange::exportRemnants(*m_layout, choice->path), choice->path,
                    translate("Congratulations! Successfully exported count: "));
}

void TfrmMain::btnImportLeftClick()
{
    ui.sgStock->finishEditing();
    if (const std::optional<FileChoice> choice = m_dialogs.askOpenFile(remnantImportDialog()))
        importLeftStocks(choice->path);
}

void TfrmMain::importLeftStocks(const QString& path)
{
    lists::FileResult imported;
    m_document->edit(ListKind::Stocks, translate("Imp Left"),
                     [&] { imported = exchange::importLeftStocks(*m_stocks, path); });
    report(imported);
}

void TfrmMain::reportCount(const exchange::RemnantSave& saved, const QString& path, const QString& message)
{
    if (saved.result.ok) {
        showStatus(translate("Saved %1").arg(QFileInfo(path).fileName()));
        m_dialogs.showMessage(message + QString::number(saved.count), MessageIcon::Information);
    } else {
        report(saved.result);
    }
}

} // namespace mainwindow
