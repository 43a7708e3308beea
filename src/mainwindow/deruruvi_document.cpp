// The main window's side of the job document: the title with its modified mark, the settings followed into
// the document, New, the recent files, files dropped on the window, and the job left by a run that ended
// without saving. The rules live in the document module and in job_commands.

#include "deruruvi.h"

#include "list_dialogs.h"
#include "widgets/window_state.h"

#include "document/history/job_history.h"
#include "document/job_document.h"
#include "document/recovery_file.h"
#include "localization/translate.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>

namespace mainwindow {

using document::ListKind;
using localization::translate;

namespace {

// The lists and projects that a drop opens, by their names.
bool isOpenable(const QString& path)
{
    static const QStringList suffixes = {QStringLiteral("dat"),  QStringLiteral("txt"), QStringLiteral("stk"),
                                         QStringLiteral("nbt"),  QStringLiteral("dst"), QStringLiteral("xls"),
                                         QStringLiteral("xlsx"), QStringLiteral("ods"), QStringLiteral("csv")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
        return QString();
    const QString path = data->urls().constFirst().toLocalFile();
    return isOpenable(path) ? path : QString();
}

} // namespace

void TfrmMain::setUpDocument()
{
    m_document = new document::JobDocument(*m_parts, *m_stocks, this);
    m_history = new document::JobHistory(*m_document, this);
    m_commands = std::make_unique<JobCommands>(*m_document, m_dialogs, m_recent);
    m_commands->status = [this](const QString& text) { showStatus(text); };
    m_commands->recentChanged = [this] {
        m_recent.write(widgets::windowStateFile());
        rebuildRecentMenu();
    };
    m_commands->applyProject = [this](const document::ProjectLoad& load) { applySettings(load.settings, &load); };
    m_commands->resetSettings = [this] {
        // The defaults of the job's own texts in the current language, as at the start.
        document::ProjectSettings defaults;
        defaults.unit = translate("mm");
        defaults.title = translate("Barvik pipe cuting project");
        applySettings(defaults);
    };

    // Every control of the settings tells the document as it changes.
    auto follow = [this] { m_document->setSettings(controlSettings()); };
    for (QLineEdit* field : {ui.edGap, ui.edMargin, ui.edCircle, ui.edUnit, ui.edTitle, ui.edTimes})
        connect(field, &QLineEdit::textChanged, this, follow);
    for (QCheckBox* box : {ui.ckChange, ui.ckCost, ui.ckExact})
        connect(box, &QCheckBox::toggled, this, follow);
    for (QComboBox* list : {ui.cbxFormat, ui.cbxDisplay, ui.cbxPrint})
        connect(list, &QComboBox::currentIndexChanged, this, follow);
    connect(ui.tbFast, &QSlider::valueChanged, this, follow);
    m_document->setSettings(controlSettings());
    m_document->setProject(QString());

    connect(m_document, &document::JobDocument::changed, this, &TfrmMain::updateTitle);
    connect(m_document, &document::JobDocument::changed, this, [this] {
        ui.edPartFile->setPath(m_document->file(ListKind::Parts).path);
        ui.edStockFile->setPath(m_document->file(ListKind::Stocks).path);
    });
    m_recovery = new document::RecoveryFile(*m_document, m_clock, document::RecoveryFile::defaultFolder(), this);
    // A failed write repeats at every edit: the planner is told once, in the status bar until another
    // message replaces it, and again only after a write succeeded (which takes the message away).
    connect(m_recovery, &document::RecoveryFile::writeFailed, this, [this](const QString& message) {
        if (!m_recoveryFailure.isEmpty())
            return;
        m_recoveryFailure = message;
        statusBar()->showMessage(message);
    });
    connect(m_recovery, &document::RecoveryFile::written, this, [this] {
        if (!m_recoveryFailure.isEmpty() && statusBar()->currentMessage() == m_recoveryFailure)
            statusBar()->clearMessage();
        m_recoveryFailure.clear();
    });
    m_recent.read(widgets::windowStateFile());
    rebuildRecentMenu();
    connectEditMenu();
    setAcceptDrops(true);
    updateTitle();
}

document::ProjectSettings TfrmMain::controlSettings() const
{
    document::ProjectSettings settings;
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
    return settings;
}

void TfrmMain::applySettings(const document::ProjectSettings& settings, const document::ProjectLoad* load)
{
    using document::ProjectStep;
    // Without a project every step applies: a new job's defaults or a job restored.
    auto restored = [load](ProjectStep step) { return !load || load->restored(step); };
    if (restored(ProjectStep::Quality))
        ui.tbFast->setValue(settings.quality);
    if (restored(ProjectStep::Change))
        ui.ckChange->setChecked(settings.change);
    if (restored(ProjectStep::Cost) && settings.cost != ui.ckCost->isChecked()) {
        // As if the user clicked the box: ticking it checks the stocks just loaded.
        ui.ckCost->setChecked(settings.cost);
        if (load)
            ckCostClick(settings.cost);
    }
    if (restored(ProjectStep::Lengths)) {
        ui.edGap->setText(settings.blade);
        ui.edMargin->setText(settings.stub);
        ui.edCircle->setText(settings.reuse);
    }
    if (restored(ProjectStep::Format))
        ui.cbxFormat->setCurrentIndex(settings.format);
    if (restored(ProjectStep::Texts)) {
        // Shown from their start, as typed texts are.
        for (auto [field, text] : {std::pair{ui.edUnit, settings.unit}, std::pair{ui.edTitle, settings.title}}) {
            field->setText(text);
            field->setCursorPosition(0);
        }
    }
    if (restored(ProjectStep::Choices)) {
        ui.cbxDisplay->setCurrentIndex(settings.display);
        ui.cbxPrint->setCurrentIndex(settings.print);
    }
    if (restored(ProjectStep::Times))
        ui.edTimes->setText(settings.times);
    if (restored(ProjectStep::Exact))
        ui.ckExact->setChecked(settings.exact);
}

void TfrmMain::updateTitle()
{
    setWindowTitle(m_document->name() + QStringLiteral("[*] - ") + translate("Barvik pipe cutting system"));
    setWindowModified(m_document->modified());
}

void TfrmMain::mnNewClick()
{
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    m_commands->newJob();
}

void TfrmMain::rebuildRecentMenu()
{
    ui.mnRecent->clear();
    int number = 0;
    for (const document::RecentFile& file : m_recent.files()) {
        const QString name = QFileInfo(file.path).fileName();
        const QString shown = file.kind == document::RecentKind::Project ? name
                              : file.kind == document::RecentKind::Parts ? translate("%1 (parts list)").arg(name)
                                                                         : translate("%1 (stocks list)").arg(name);
        QAction* action = ui.mnRecent->addAction(QStringLiteral("&%1 %2").arg(++number).arg(shown));
        action->setStatusTip(file.path);
        action->setToolTip(file.path);
        connect(action, &QAction::triggered, this, [this, file] { openRecent(file); });
    }
    ui.mnRecent->setEnabled(!m_recent.files().isEmpty() && ui.O1->isEnabled());
}

void TfrmMain::openRecent(const document::RecentFile& file)
{
    if (file.kind == document::RecentKind::Project)
        LoadProject(file.path);
    else if (file.kind == document::RecentKind::Parts)
        openPartsFile(file.path, document::formatForPath(ListKind::Parts, file.path));
    else
        openStocksFile(file.path, document::formatForPath(ListKind::Stocks, file.path));
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    // Not while a search works on the job.
    if (!droppedFile(event->mimeData()).isEmpty() && ui.O1->isEnabled())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty() || !ui.O1->isEnabled())
        return;
    event->acceptProposedAction();
    openDropped(path, childAt(event->position().toPoint()));
}

void TfrmMain::openDropped(const QString& path, QWidget* target)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"dat") {
        LoadProject(path);
        return;
    }
    // A list goes into the panel it was dropped on; elsewhere a stock file into the stocks, any other list
    // into the parts.
    const bool onStocks = target && (target == ui.gbStock || ui.gbStock->isAncestorOf(target));
    const bool onParts = target && (target == ui.gbPart || ui.gbPart->isAncestorOf(target));
    if (onStocks || (!onParts && suffix == u"stk"))
        openStocksFile(path, document::formatForPath(ListKind::Stocks, path));
    else
        openPartsFile(path, document::formatForPath(ListKind::Parts, path));
}

void TfrmMain::offerLeftJob(bool ask)
{
    std::vector<document::LeftJob> left = document::RecoveryFile::findLeftJobs(m_recovery->folder());
    if (left.empty())
        return;
    // The newest; older ones are offered at the next start.
    document::LeftJob& newest = left.front();
    const document::RecoveredJob& job = newest.job;
    Answer answer = Answer::Accept;
    if (ask) {
        const QString name = document::jobName(job.project, job.parts.file.path, job.stocks.file.path);
        const QString when = QLocale().toString(job.written, QLocale::ShortFormat);
        answer = m_dialogs.ask({translate("Restore the job that was not saved?"),
                                translate("The program ended at %1 without saving %2.").arg(when, name),
                                translate("Restore"), translate("Discard")});
    }
    if (answer == Answer::Cancel)
        return;
    if (answer == Answer::Accept) {
        applySettings(job.settings);
        document::restoreJob(*m_document, job);
        // Kept in this run's own file before the old one goes.
        m_recovery->flush();
    }
    document::RecoveryFile::discard(newest);
}

} // namespace mainwindow
