#include "fixed_rows_header.h"

#include "grid_view.h"

#include "calculation/grid_model.h"

#include <QPainter>

namespace mainwindow::widgets {

using calculation::GridModel;

FixedRowsHeader::FixedRowsHeader(GridView* view) : QHeaderView(Qt::Horizontal, view), m_view(view)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setMinimumSectionSize(8);
}

QSize FixedRowsHeader::sizeHint() const
{
    return {QHeaderView::sizeHint().width(), 2 * GridView::kRowHeight};
}

void FixedRowsHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!model() || !rect.isValid())
        return;
    const int rowHeight = rect.height() / 2;
    const QRect totals(rect.x(), rect.y(), rect.width(), rowHeight);
    const QRect header(rect.x(), rect.y() + rowHeight, rect.width(), rect.height() - rowHeight);
    m_view->paintFixedCell(painter, totals, model()->index(GridModel::kTotalsRow, logicalIndex));
    m_view->paintFixedCell(painter, header, model()->index(GridModel::kHeaderRow, logicalIndex));
}

} // namespace mainwindow::widgets
