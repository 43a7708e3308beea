#include "job_commands.h"

#include "list_dialogs.h"

#include "localization/translate.h"

#include <QFileInfo>

namespace mainwindow {

using calculation::FileResult;
using calculation::MessageIcon;
using document::ListKind;
using localization::translate;

namespace {

constexpr ListKind kBothLists[] = {ListKind::Parts, ListKind::Stocks};

} // namespace

document::RecentKind recentKind(ListKind kind)
{
    return kind == ListKind::Parts ? document::RecentKind::Parts : document::RecentKind::Stocks;
}

JobCommands::JobCommands(document::JobDocument& job, UserDialogs& dialogs, document::RecentFiles& recent)
    : m_job(job), m_dialogs(dialogs), m_recent(recent)
{
}

void JobCommands::report(const FileResult& result)
{
    if (!result.ok)
        m_dialogs.showMessage(result.message(), MessageIcon::Error);
    else if (!result.notice.isEmpty())
        m_dialogs.showMessage(result.notice, MessageIcon::Information);
}

QString JobCommands::note(const QString& text, const QString& path)
{
    const QString shown = text.arg(QFileInfo(path).fileName());
    if (status)
        status(shown);
    return shown;
}

void JobCommands::recent(const QString& path, document::RecentKind kind, bool add)
{
    if (add)
        m_recent.add(path, kind);
    else
        m_recent.remove(path, kind);
    if (recentChanged)
        recentChanged();
}

bool JobCommands::confirmDiscardJob()
{
    if (!m_job.modified())
        return true;
    const Answer answer = m_dialogs.ask({translate("Save the changes to this job?"),
                                         translate("Not saved: %1.").arg(m_job.unsaved().join(QStringLiteral(", "))),
                                         translate("Save"), translate("Discard")});
    if (answer == Answer::Accept)
        return saveJob();
    return answer == Answer::Discard;
}

bool JobCommands::confirmDiscardList(ListKind kind)
{
    if (!m_job.listModified(kind))
        return true;
    const QString question = kind == ListKind::Parts ? translate("Save the changes to the parts list?")
                                                     : translate("Save the changes to the stocks list?");
    const Answer answer = m_dialogs.ask(
        {question, translate("Not saved: %1.").arg(m_job.unsavedItem(kind)), translate("Save"), translate("Discard")});
    if (answer == Answer::Accept)
        return saveList(kind, !document::savesInPlace(kind, m_job.file(kind)));
    return answer == Answer::Discard;
}

bool JobCommands::saveJob()
{
    for (ListKind kind : kBothLists)
        if (m_job.listModified(kind) && !saveList(kind, !document::savesInPlace(kind, m_job.file(kind))))
            return false;
    return !m_job.settingsModified() || saveProject(false);
}

bool JobCommands::saveList(ListKind kind, bool askName)
{
    QString path = m_job.file(kind).path;
    if (askName || !document::savesInPlace(kind, m_job.file(kind))) {
        const std::optional<FileChoice> choice =
            m_dialogs.askSaveFile(kind == ListKind::Parts ? partsSaveDialog() : stocksSaveDialog());
        if (!choice)
            return false;
        path = choice->path;
    }
    // The field names the file that holds the list: a save that failed leaves the one before.
    const FileResult saved = document::saveList(m_job.grid(kind), kind, path);
    if (!saved.ok) {
        report(saved);
        return false;
    }
    m_job.setListFile(kind, path, 0);
    note(translate("Saved %1"), path);
    recent(path, recentKind(kind), true);
    return true;
}

bool JobCommands::saveProject(bool askName)
{
    for (ListKind kind : kBothLists) {
        const document::ListFile& file = m_job.file(kind);
        const bool readsBack = file.path.isEmpty() || document::readsBackByName(kind, file);
        if (m_job.listModified(kind) || !readsBack) {
            // A project names the list files as they are on disk: an edit not saved would be left out.
            const QString details =
                file.path.isEmpty() ? translate("A project names the lists' files, and this list has none yet.")
                : readsBack
                    ? translate("A project names the list's file as it is on disk: %1 does not hold the rows shown.")
                          .arg(QFileInfo(file.path).fileName())
                    : translate("A project reads %1 as a text list, not the way it was opened.")
                          .arg(QFileInfo(file.path).fileName());
            const QString question = kind == ListKind::Parts ? translate("Save the changes to the parts list?")
                                                             : translate("Save the changes to the stocks list?");
            const Answer answer = m_dialogs.ask({question, details, translate("Save"), translate("Don't Save")});
            if (answer == Answer::Cancel)
                return false;
            if (answer == Answer::Accept && !saveList(kind, !document::savesInPlace(kind, file)))
                return false;
        }
        const QString path = m_job.file(kind).path;
        if (path.isEmpty() || !QFileInfo::exists(path)) {
            m_dialogs.showMessage(kind == ListKind::Parts ? translate("Please save the pipe parts first!")
                                                          : translate("Please save the pipe stocks first!"),
                                  MessageIcon::Error);
            return false;
        }
    }
    QString path = m_job.projectPath();
    if (askName || path.isEmpty()) {
        const std::optional<FileChoice> choice = m_dialogs.askSaveFile(projectSaveDialog());
        if (!choice)
            return false;
        path = choice->path;
    }
    const FileResult saved = document::SaveProjectFile(m_job.settings(), path);
    if (!saved.ok) {
        report(saved);
        return false;
    }
    m_job.setProject(path);
    note(translate("Saved %1"), path);
    recent(path, document::RecentKind::Project, true);
    return true;
}

bool JobCommands::openList(ListKind kind, const QString& path, int format, const document::ListReader& read)
{
    FileResult result;
    m_job.edit(kind, translate("Open List"), [&] {
        result = read(m_job.grid(kind), kind, path, format);
        if (result.ok)
            m_job.setListFile(kind, path, format);
    });
    report(result);
    recent(path, recentKind(kind), result.ok);
    return result.ok;
}

bool JobCommands::openProject(const QString& path, const document::ListReader& read)
{
    const document::ListFile before[] = {m_job.file(ListKind::Parts), m_job.file(ListKind::Stocks)};
    document::ProjectLoad load;
    m_job.programChange(ListKind::Parts, [&] {
        m_job.programChange(ListKind::Stocks, [&] {
            load = document::LoadProjectFile(path, m_job.grid(ListKind::Parts), m_job.grid(ListKind::Stocks), {}, read);
        });
    });
    // A project that could not be read at all changes nothing.
    if (!load.result.ok && load.reached == document::ProjectStep::PartsList && load.settings.partFile.isEmpty()) {
        report(load.result);
        recent(path, document::RecentKind::Project, false);
        return false;
    }
    m_job.startAnew();
    const bool restored[] = {load.restored(document::ProjectStep::PartsList),
                             load.restored(document::ProjectStep::StocksList)};
    const QString paths[] = {load.settings.partFile, load.settings.stockFile};
    for (int i = 0; i < 2; ++i) {
        const ListKind kind = kBothLists[i];
        if (restored[i])
            m_job.setListFile(kind, paths[i], document::formatForPath(kind, paths[i]));
        else
            m_job.setListFile(kind, before[i]);
    }
    if (applyProject)
        applyProject(load);
    m_job.setProject(path, load.settings);
    report(load.result);
    recent(path, document::RecentKind::Project, true);
    return load.result.ok;
}

bool JobCommands::newJob()
{
    if (!confirmDiscardJob())
        return false;
    // Nothing of the old job stays, its "Left Qty" neither.
    for (ListKind kind : kBothLists)
        m_job.programChange(kind, [&] {
            calculation::GridModel& grid = m_job.grid(kind);
            grid.setRows(calculation::GridModel::kFirstDataRow);
            grid.setRows(calculation::GridModel::kFirstDataRow + 1);
            grid.clearCells(calculation::GridModel::kTotalsRow, 1, grid.columns() - 1);
        });
    if (resetSettings)
        resetSettings();
    m_job.startAnew();
    return true;
}

} // namespace mainwindow
