// The main window's commands for whole jobs: project files and the remnant stock lists. The rules live in
// project_file and exchange/remnant_stocks; these handlers connect them to the controls and dialogs.

#include "deruruvi.h"

#include "document/project_file.h"
#include "list_dialogs.h"

#include "exchange/remnant_stocks.h"
#include "localization/translate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QSlider>

namespace mainwindow {

using document::ProjectLoad;
using document::ProjectSettings;
using document::ProjectStep;

using calculation::MessageIcon;
using localization::translate;

// Projects

void TfrmMain::S1Click()
{
    // A project names the list files as they are on disk, so both must have been saved.
    auto saved = [](const widgets::FileNameField* field) {
        return !field->path().isEmpty() && QFileInfo::exists(field->path());
    };
    if (!saved(ui.edPartFile)) {
        m_dialogs.showMessage(translate("Please save the pipe parts first!"), MessageIcon::Error);
        return;
    }
    if (!saved(ui.edStockFile)) {
        m_dialogs.showMessage(translate("Please save the pipe stocks first!"), MessageIcon::Error);
        return;
    }
    if (const std::optional<FileChoice> choice = m_dialogs.askSaveFile(projectSaveDialog()))
        SaveProject(choice->path);
}

void TfrmMain::O1Click()
{
    if (const std::optional<FileChoice> choice = m_dialogs.askOpenFile(projectOpenDialog()))
        LoadProject(choice->path);
}

void TfrmMain::SaveProject(const QString& path)
{
    ProjectSettings settings;
    settings.partFile = ui.edPartFile->path();
    settings.stockFile = ui.edStockFile->path();
    settings.quality = ui.tbFast->value();
    settings.change = ui.ckChange->isChecked();
    settings.cost = ui.ckCost->isChecked();
    settings.blade = ui.edGap->text();
    settings.stub = ui.edMargin->text();
    settings.reuse = ui.edCircle->text();
    settings.format = ui.cbxFormat->currentIndex();
    settings.unit = ui.edUnit->text();
    settings.title = ui.edTitle->text();
    settings.display = ui.cbxDisplay->currentIndex();
    settings.print = ui.cbxPrint->currentIndex();
    settings.times = ui.edTimes->text();
    settings.exact = ui.ckExact->isChecked();
    reportSaved(document::SaveProjectFile(settings, path), path);
}

void TfrmMain::LoadProject(const QString& path)
{
    const ProjectLoad load = document::LoadProjectFile(path, *m_parts, *m_stocks);
    const ProjectSettings& settings = load.settings;
    // A list that could not be read is still shown by name.
    if (load.restored(ProjectStep::PartsList) || !settings.partFile.isEmpty())
        ui.edPartFile->setPath(settings.partFile);
    if (load.restored(ProjectStep::StocksList) || !settings.stockFile.isEmpty())
        ui.edStockFile->setPath(settings.stockFile);
    if (load.restored(ProjectStep::Quality))
        ui.tbFast->setValue(settings.quality);
    if (load.restored(ProjectStep::Change))
        ui.ckChange->setChecked(settings.change);
    if (load.restored(ProjectStep::Cost) && settings.cost != ui.ckCost->isChecked()) {
        // As if the user clicked the box: ticking it checks the stocks just loaded.
        ui.ckCost->setChecked(settings.cost);
        ckCostClick(settings.cost);
    }
    if (load.restored(ProjectStep::Lengths)) {
        ui.edGap->setText(settings.blade);
        ui.edMargin->setText(settings.stub);
        ui.edCircle->setText(settings.reuse);
    }
    if (load.restored(ProjectStep::Format))
        ui.cbxFormat->setCurrentIndex(settings.format);
    if (load.restored(ProjectStep::Texts)) {
        ui.edUnit->setText(settings.unit);
        ui.edTitle->setText(settings.title);
    }
    if (load.restored(ProjectStep::Choices)) {
        ui.cbxDisplay->setCurrentIndex(settings.display);
        ui.cbxPrint->setCurrentIndex(settings.print);
    }
    if (load.restored(ProjectStep::Times))
        ui.edTimes->setText(settings.times);
    if (load.restored(ProjectStep::Exact))
        ui.ckExact->setChecked(settings.exact);
    report(load.result);
}

// Remnant stocks

void TfrmMain::btnLeftClick()
{
    const std::optional<FileChoice> choice = m_dialogs.askSaveFile(leftStocksSaveDialog());
    if (!choice)
        return;
    const exchange::RemnantSave saved = exchange::saveLeftStocks(*m_stocks, choice->path);
    // The stocks field names the list just written, unless the save failed.
    if (saved.result.ok)
        ui.edStockFile->setPath(choice->path);
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
    if (const std::optional<FileChoice> choice = m_dialogs.askOpenFile(remnantImportDialog()))
        report(exchange::importLeftStocks(*m_stocks, choice->path));
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
