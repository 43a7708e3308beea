#pragma once

#include <QHeaderView>

namespace mainwindow::widgets {

class GridView;

// The column header of a GridView, showing the model's totals and header rows as two fixed grid rows.
// Dragging a column's right edge resizes the column; clicks select nothing.
class FixedRowsHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit FixedRowsHeader(GridView* view);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    GridView* m_view;
};

} // namespace mainwindow::widgets
