#pragma once

#include "calculation/grid_model.h"

#include <QObject>

namespace mainwindow {

// Whether the layouts in the table still answer the job: a plan goes stale when the user edits the parts or
// stocks lists or a setting after "Calc", and is fresh again once the next "Calc" shows a plan. The table
// keeps a stale plan (the kept-plan rule needs it); the window only marks it.
class PlanFreshness : public QObject {
    Q_OBJECT

public:
    explicit PlanFreshness(QObject* parent = nullptr);

    // Follows the data rows of an input grid. The fixed rows are the program's (totals, headers), as is
    // the stocks grid's "Left Qty" column, which a fill writes: changes there are no edits.
    void watch(const calculation::GridModel& grid, int programColumn = -1);

    bool stale() const { return m_shown && m_changed; }

    // While paused, changes to the grids are the program's own (a language switch rewording the
    // priorities).
    void setPaused(bool paused) { m_paused = paused; }

public Q_SLOTS:
    // A setting that the next calculation reads was changed.
    void jobChanged();
    // A calculation has ended; shown tells whether it put a plan into the table.
    void calculationEnded(bool shown);

Q_SIGNALS:
    void staleChanged(bool stale);

private:
    void update(bool shown, bool changed);

    bool m_shown = false;
    bool m_changed = false;
    bool m_paused = false;
};

} // namespace mainwindow
