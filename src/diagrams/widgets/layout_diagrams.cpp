#include "layout_diagrams.h"

#include "diagram_view.h"

#include "calculation/grid_model.h"
#include "calculation/layout_table.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace diagrams {

using calculation::GridModel;

LayoutDiagrams::LayoutDiagrams(QAbstractItemView& table, const GridModel& layout, DiagramView& view,
                               std::function<QString()> reuseText, QObject* parent)
    : QObject(parent), m_table(table), m_layout(layout), m_view(view), m_reuseText(std::move(reuseText))
{
    connect(m_table.selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { tableRowChanged(current.row()); });
    connect(&m_view, &DiagramView::patternClicked, this, &LayoutDiagrams::diagramClicked);
    // A table cut back to its empty row shows no plan any more.
    connect(&m_layout, &QAbstractItemModel::rowsRemoved, this, &LayoutDiagrams::clearWhenTableEmpty);
    connect(&m_layout, &QAbstractItemModel::dataChanged, this, &LayoutDiagrams::clearWhenTableEmpty);
}

void LayoutDiagrams::clearWhenTableEmpty()
{
    if (m_source && m_layout.cell(calculation::kLayoutNoColumn, GridModel::kFirstDataRow).isEmpty())
        clear();
}

void LayoutDiagrams::show(DiagramSource source)
{
    m_source = std::move(source);
    refresh();
}

void LayoutDiagrams::clear()
{
    m_source.reset();
    m_view.setDiagrams({});
}

void LayoutDiagrams::refresh()
{
    if (!m_source)
        return;
    m_view.setDiagrams(diagramsOfTable(*m_source, m_layout, m_reuseText()));
    tableRowChanged(m_table.currentIndex().row());
}

const PlanDiagrams* LayoutDiagrams::shown() const
{
    return m_source ? &m_view.diagrams() : nullptr;
}

void LayoutDiagrams::tableRowChanged(int row)
{
    m_view.setCurrentPattern(row >= GridModel::kFirstDataRow ? row - GridModel::kFirstDataRow : -1);
}

void LayoutDiagrams::diagramClicked(int index)
{
    const int row = GridModel::kFirstDataRow + index;
    const int column = std::max(0, m_table.currentIndex().column());
    m_table.setCurrentIndex(m_table.model()->index(row, column));
    m_table.scrollTo(m_table.model()->index(row, column));
}

} // namespace diagrams
