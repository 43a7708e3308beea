#include "grid_view.h"

#include "fixed_rows_header.h"

#include "calculation/grid_model.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace mainwindow::widgets {

using calculation::GridModel;

GridView::GridView(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new FixedRowsHeader(this));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(kMinTextRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == m_textRowsColumn)
            scheduleRowFit();
        if (column != m_spareColumn)
            scheduleSpareWidthFit();
    });
}

void GridView::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    if (!model)
        return;
    // The fixed rows are drawn by the header; in the scrolling part they are hidden.
    setRowHidden(GridModel::kTotalsRow, true);
    setRowHidden(GridModel::kHeaderRow, true);
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
        if (topLeft.row() < GridModel::kFirstDataRow)
            horizontalHeader()->viewport()->update();
        scheduleRowFit();
    });
    connect(model, &QAbstractItemModel::rowsInserted, this, &GridView::scheduleRowFit);
    // Rows can bring the vertical scroll bar, which takes width.
    connect(model, &QAbstractItemModel::rowsInserted, this, &GridView::scheduleSpareWidthFit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &GridView::scheduleSpareWidthFit);
    connect(model, &QAbstractItemModel::modelReset, this, &GridView::scheduleRowFit);
    if (model->rowCount() > GridModel::kFirstDataRow)
        setCurrentIndex(model->index(GridModel::kFirstDataRow, 0));
}

void GridView::setTextRowsColumn(int column)
{
    m_textRowsColumn = column;
    scheduleRowFit();
}

void GridView::setContentColumns(const QList<int>& columns)
{
    m_contentColumns = columns;
    scheduleRowFit();
}

void GridView::setSpareWidthColumn(int column)
{
    m_spareColumn = column;
    m_spareMinimum = columnWidth(column);
    scheduleSpareWidthFit();
}

void GridView::scheduleSpareWidthFit()
{
    if (m_spareColumn < 0 || m_spareFitPending)
        return;
    m_spareFitPending = true;
    QTimer::singleShot(0, this, &GridView::fitSpareWidth);
}

void GridView::fitSpareWidth()
{
    m_spareFitPending = false;
    if (m_spareColumn < 0 || !model())
        return;
    int others = 0;
    for (int column = 0; column < model()->columnCount(); ++column)
        if (column != m_spareColumn && !isColumnHidden(column))
            others += columnWidth(column);
    setColumnWidth(m_spareColumn, std::max(m_spareMinimum, viewport()->width() - others));
}

void GridView::fitColumnWidths()
{
    if (!model())
        return;
    // The text margins of a cell, as the style draws them, and a pixel to spare.
    const int padding = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 4;
    const QFontMetrics metrics(font());
    for (int column : m_contentColumns) {
        int needed = 0;
        for (int row = 0; row < model()->rowCount(); ++row)
            needed = std::max(needed, metrics.horizontalAdvance(model()->index(row, column).data().toString()));
        if (columnWidth(column) < needed + padding)
            setColumnWidth(column, needed + padding);
    }
}

void GridView::scheduleRowFit()
{
    if ((m_textRowsColumn < 0 && m_contentColumns.isEmpty()) || m_fitPending)
        return;
    // One fit after a burst of changes: a fill writes the table cell by cell.
    m_fitPending = true;
    QTimer::singleShot(0, this, &GridView::fitRowHeights);
}

void GridView::fitRowHeights()
{
    m_fitPending = false;
    fitColumnWidths();
    if (m_textRowsColumn < 0 || !model())
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = QRect(0, 0, columnWidth(m_textRowsColumn), kRowHeight);
    for (int row = GridModel::kFirstDataRow; row < model()->rowCount(); ++row) {
        const QModelIndex index = model()->index(row, m_textRowsColumn);
        const int height = itemDelegateForIndex(index)->sizeHint(option, index).height();
        setRowHeight(row, std::max(kMinTextRowHeight, height));
    }
}

void GridView::paintFixedCell(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = rect;
    option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    painter->save();
    painter->fillRect(rect, palette().button());
    itemDelegateForIndex(index)->paint(painter, option, index);
    painter->setPen(m_fixedLineColor.isValid() ? m_fixedLineColor : palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->restore();
}

void GridView::setReadOnly(bool readOnly)
{
    if (readOnly == m_readOnly)
        return;
    m_readOnly = readOnly;
    if (readOnly) {
        finishEditing();
        m_editTriggers = editTriggers();
        setEditTriggers(QAbstractItemView::NoEditTriggers);
    } else {
        setEditTriggers(m_editTriggers);
    }
}

void GridView::finishEditing()
{
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QList<int> GridView::selectedDataRows() const
{
    QList<int> rows;
    const QModelIndexList cells = selectedDataCells();
    for (const QModelIndex& cell : cells)
        rows.append(cell.row());
    if (currentIndex().isValid() && currentIndex().row() >= GridModel::kFirstDataRow)
        rows.append(currentIndex().row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QModelIndexList GridView::selectedDataCells() const
{
    QModelIndexList cells;
    if (!selectionModel())
        return cells;
    for (const QModelIndex& cell : selectionModel()->selectedIndexes())
        if (cell.row() >= GridModel::kFirstDataRow)
            cells.append(cell);
    return cells;
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    scheduleSpareWidthFit();
}

void GridView::initViewItemOption(QStyleOptionViewItem* option) const
{
    QTableView::initViewItemOption(option);
    // Selected cells of a grid without the focus look like the others. The cell editor keeps its own
    // palette, so a selection inside it still shows.
    if (!hasFocus()) {
        option->palette.setBrush(QPalette::Highlight, option->palette.base());
        option->palette.setBrush(QPalette::HighlightedText, option->palette.text());
    }
}

void GridView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void GridView::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

bool GridView::isRefused(const QModelIndex& index) const
{
    return index.isValid() && !(index.flags() & Qt::ItemIsSelectable);
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    // Enter moves through the cells and Ctrl+V pastes rows: both are the window's, never an editor's. Both
    // may add rows, so a read-only grid drops them.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (!m_readOnly)
            Q_EMIT enterPressed();
        return;
    }
    if (event->key() == Qt::Key_V && (event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        if (!m_readOnly)
            Q_EMIT pasteRequested();
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (!m_readOnly)
            Q_EMIT deleteRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    if (isRefused(indexAt(event->position().toPoint()))) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    // Tab steps over a cell that can't be selected, as it steps over hidden ones; other moves stop short.
    if (isRefused(next) && (cursorAction == MoveNext || cursorAction == MovePrevious))
        next = stepOverRefused(next, cursorAction == MoveNext ? 1 : -1);
    return isRefused(next) ? currentIndex() : next;
}

QModelIndex GridView::stepOverRefused(const QModelIndex& refused, int direction) const
{
    const int columns = model()->columnCount();
    const int end = model()->rowCount() * columns;
    for (int at = refused.row() * columns + refused.column() + direction; at >= 0 && at < end; at += direction) {
        const QModelIndex candidate = model()->index(at / columns, at % columns);
        if (!isRowHidden(candidate.row()) && !isColumnHidden(candidate.column()) && !isRefused(candidate))
            return candidate;
    }
    return refused;
}

} // namespace mainwindow::widgets
