#pragma once

#include "diagrams/bar_geometry.h"

#include <QObject>
#include <functional>
#include <optional>

class QAbstractItemView;

namespace calculation {
class GridModel;
}

namespace diagrams {

class DiagramView;

// Keeps the diagram view in step with the layout table: the diagrams of the plan the table shows, the
// left-overs shaded for the current "Rpt Use Len:", and the current row the same in both.
class LayoutDiagrams : public QObject {
    Q_OBJECT

public:
    LayoutDiagrams(QAbstractItemView& table, const calculation::GridModel& layout, DiagramView& view,
                   std::function<QString()> reuseText, QObject* parent = nullptr);

    // The plan just written into the table.
    void show(DiagramSource source);
    void clear();
    // Builds the diagrams again, as after a change of the reuse length.
    void refresh();
    // The diagrams shown, or nothing when the table holds no plan.
    const PlanDiagrams* shown() const;
    // The run the diagrams shown come from, or nothing.
    const DiagramSource* source() const { return m_source ? &*m_source : nullptr; }

private:
    void clearWhenTableEmpty();
    void tableRowChanged(int row);
    void diagramClicked(int index);

    QAbstractItemView& m_table;
    const calculation::GridModel& m_layout;
    DiagramView& m_view;
    std::function<QString()> m_reuseText;
    std::optional<DiagramSource> m_source;
};

} // namespace diagrams
