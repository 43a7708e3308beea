#include "document/job_document.h"

#include "calculation/grids.h"
#include "localization/translate.h"

#include <QFileInfo>

namespace document {

using calculation::GridModel;
using localization::translate;

namespace {

// The settings lines of a project, without the list paths.
QStringList settingLines(const ProjectSettings& settings)
{
    return projectLines(settings).mid(2);
}

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

} // namespace

JobDocument::JobDocument(GridModel& parts, GridModel& stocks, QObject* parent)
    : QObject(parent), m_grids{&parts, &stocks}
{
    for (ListKind kind : {ListKind::Parts, ListKind::Stocks}) {
        m_last[index(kind)] = snapshot(kind);
        watch(kind);
    }
}

GridModel& JobDocument::grid(ListKind kind) const
{
    return *m_grids[index(kind)];
}

ListSnapshot JobDocument::snapshot(ListKind kind) const
{
    return {grid(kind).cells(), file(kind)};
}

void JobDocument::watch(ListKind kind)
{
    const GridModel* model = m_grids[index(kind)];
    connect(
        model, &GridModel::dataChanged, this, [this, kind](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
            // One cell typed into: its edits add up until the editor closes.
            const bool oneCell = topLeft == bottomRight;
            const qint64 key = oneCell ? (m_typingSession << 32) | (qint64(topLeft.row()) << 8) | topLeft.column() : 0;
            gridChanged(kind, bottomRight.row(), key);
        });
    connect(model, &GridModel::rowsInserted, this,
            [this, kind](const QModelIndex&, int, int last) { gridChanged(kind, last, 0); });
    connect(model, &GridModel::rowsRemoved, this,
            [this, kind](const QModelIndex&, int, int last) { gridChanged(kind, last, 0); });
    connect(model, &GridModel::modelReset, this, [this, kind] { gridChanged(kind, GridModel::kFirstDataRow, 0); });
}

void JobDocument::gridChanged(ListKind kind, int lastRow, qint64 mergeKey)
{
    // Inside edit() and the program's changes the whole change is settled at its end; the fixed rows are
    // the program's (totals, headers).
    if (m_batch[index(kind)] > 0 || lastRow < GridModel::kFirstDataRow)
        return;
    const ListSnapshot before = m_last[index(kind)];
    settle(kind, true);
    Q_EMIT edited(kind, translate("Typing"), before, m_last[index(kind)], mergeKey);
    update();
}

bool JobDocument::edit(ListKind kind, const QString& name, const std::function<void()>& change)
{
    const ListSnapshot before = snapshot(kind);
    ++m_batch[index(kind)];
    change();
    --m_batch[index(kind)];
    if (m_batch[index(kind)] > 0)
        return true;
    const ListSnapshot after = snapshot(kind);
    const bool changed = after.cells != before.cells || !(after.file == before.file);
    settle(kind, changed);
    if (changed)
        Q_EMIT edited(kind, name, before, m_last[index(kind)], 0);
    update();
    return changed;
}

void JobDocument::programChange(ListKind kind, const std::function<void()>& change)
{
    ++m_batch[index(kind)];
    change();
    --m_batch[index(kind)];
    if (m_batch[index(kind)] == 0)
        settle(kind, false);
    update();
}

void JobDocument::restore(ListKind kind, const ListSnapshot& snapshot, bool withFile)
{
    ++m_batch[index(kind)];
    grid(kind).setCells(snapshot.cells);
    if (withFile)
        m_files[index(kind)] = snapshot.file;
    --m_batch[index(kind)];
    settle(kind, true);
    update();
}

void JobDocument::settle(ListKind kind, bool totals)
{
    if (totals) {
        ++m_batch[index(kind)];
        writeListTotals(grid(kind), kind);
        --m_batch[index(kind)];
    }
    m_last[index(kind)] = snapshot(kind);
}

void JobDocument::setListFile(ListKind kind, const QString& path, int format)
{
    setListFile(kind, ListFile{path, format, listImage(grid(kind), kind)});
}

void JobDocument::setListFile(ListKind kind, const ListFile& file)
{
    m_files[index(kind)] = file;
    if (m_batch[index(kind)] == 0)
        m_last[index(kind)] = snapshot(kind);
    update();
}

bool JobDocument::listModified(ListKind kind) const
{
    return listImage(grid(kind), kind) != file(kind).image;
}

ProjectSettings JobDocument::settings() const
{
    ProjectSettings settings = m_settings;
    settings.partFile = file(ListKind::Parts).path;
    settings.stockFile = file(ListKind::Stocks).path;
    return settings;
}

void JobDocument::setSettings(const ProjectSettings& settings)
{
    if (projectLines(settings) == projectLines(m_settings))
        return;
    m_settings = settings;
    update();
}

void JobDocument::setProject(const QString& path)
{
    setProject(path, settings());
}

void JobDocument::setProject(const QString& path, const ProjectSettings& saved)
{
    m_projectPath = path;
    m_savedSettings = saved;
    update();
}

bool JobDocument::settingsModified() const
{
    if (m_projectPath.isEmpty())
        return settingLines(settings()) != settingLines(m_savedSettings);
    return projectLines(settings()) != projectLines(m_savedSettings);
}

bool JobDocument::modified() const
{
    return listModified(ListKind::Parts) || listModified(ListKind::Stocks) || settingsModified();
}

void JobDocument::startAnew()
{
    for (ListKind kind : {ListKind::Parts, ListKind::Stocks}) {
        m_files[index(kind)] = ListFile{};
        m_files[index(kind)].image = listImage(grid(kind), kind);
        m_last[index(kind)] = snapshot(kind);
    }
    m_projectPath.clear();
    m_savedSettings = settings();
    Q_EMIT started();
    update();
}

QString jobName(const QString& project, const QString& partsFile, const QString& stocksFile)
{
    if (!project.isEmpty())
        return fileName(project);
    QStringList names;
    for (const QString& list : {partsFile, stocksFile})
        if (!list.isEmpty())
            names.append(fileName(list));
    return names.isEmpty() ? translate("untitled") : names.join(QStringLiteral(", "));
}

QString JobDocument::name() const
{
    return jobName(m_projectPath, file(ListKind::Parts).path, file(ListKind::Stocks).path);
}

QString JobDocument::unsavedItem(ListKind kind) const
{
    const bool parts = kind == ListKind::Parts;
    if (file(kind).path.isEmpty())
        return parts ? translate("the parts list, which has no file yet")
                     : translate("the stocks list, which has no file yet");
    return (parts ? translate("the parts list %1") : translate("the stocks list %1")).arg(fileName(file(kind).path));
}

QStringList JobDocument::unsaved() const
{
    QStringList items;
    for (ListKind kind : {ListKind::Parts, ListKind::Stocks})
        if (listModified(kind))
            items.append(unsavedItem(kind));
    if (settingsModified())
        items.append(m_projectPath.isEmpty() ? translate("the settings")
                                             : translate("the project %1").arg(fileName(m_projectPath)));
    return items;
}

void JobDocument::update()
{
    Q_EMIT changed();
    const bool now = modified();
    if (now != m_modified) {
        m_modified = now;
        Q_EMIT modifiedChanged(now);
    }
}

} // namespace document
