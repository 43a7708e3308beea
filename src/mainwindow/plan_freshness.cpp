#include "plan_freshness.h"

namespace mainwindow {

using calculation::GridModel;

PlanFreshness::PlanFreshness(QObject* parent) : QObject(parent) {}

void PlanFreshness::watch(const GridModel& grid, int programColumn)
{
    connect(&grid, &GridModel::dataChanged, this,
            [this, programColumn](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                const bool fixedRowsOnly = bottomRight.row() < GridModel::kFirstDataRow;
                const bool programColumnOnly =
                    topLeft.column() == programColumn && bottomRight.column() == programColumn;
                if (!fixedRowsOnly && !programColumnOnly)
                    jobChanged();
            });
    for (auto signal : {&GridModel::rowsInserted, &GridModel::rowsRemoved})
        connect(&grid, signal, this, &PlanFreshness::jobChanged);
    connect(&grid, &GridModel::modelReset, this, &PlanFreshness::jobChanged);
}

void PlanFreshness::jobChanged()
{
    if (!m_paused)
        update(m_shown, true);
}

void PlanFreshness::calculationEnded(bool shown)
{
    // A run without a plan leaves the table as it was, and so its mark.
    if (shown)
        update(true, false);
}

void PlanFreshness::update(bool shown, bool changed)
{
    const bool was = stale();
    m_shown = shown;
    m_changed = changed;
    if (stale() != was)
        Q_EMIT staleChanged(stale());
}

} // namespace mainwindow
