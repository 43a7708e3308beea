#pragma once

#include <QColor>
#include <QTableView>

namespace mainwindow::widgets {

// A string grid over a GridModel: rows 0 and 1 (totals and header) stand fixed above the data rows, drawn
// in place of Qt's column header, so they never scroll away and their lower edge resizes the columns.
// Cells that the model marks unselectable can't become current by mouse or keyboard.
class GridView : public QTableView {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 20;
    static constexpr int kMinTextRowHeight = 18;

    explicit GridView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    // The data rows of this column grow to the height the delegate asks for its text (at least 18 pixels),
    // after every change of the model and every resize of the column. -1: all rows keep the default height.
    void setTextRowsColumn(int column);
    void setFixedLineColor(const QColor& color) { m_fixedLineColor = color; }
    // Columns of numbers: widened to their longest text, the fixed rows included, after every change of the
    // model, so that no number is cut off. A column the user made wider stays so.
    void setContentColumns(const QList<int>& columns);
    // This column takes the width the other columns leave, never less than it has now.
    void setSpareWidthColumn(int column);

    // A read-only grid opens no cell editor and passes on neither Enter nor Ctrl+V; it still scrolls and
    // selects.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // Writes the text of an open cell editor into the model and closes the editor.
    void finishEditing();
    // The data rows with a selected cell, and the current row, in order.
    QList<int> selectedDataRows() const;
    // The selected cells of the data rows.
    QModelIndexList selectedDataCells() const;

    // Paints one cell of the fixed rows through the view's delegate; called by the fixed-rows header.
    void paintFixedCell(QPainter* painter, const QRect& rect, const QModelIndex& index) const;

public Q_SLOTS:
    void fitRowHeights();
    void fitColumnWidths();

Q_SIGNALS:
    // Enter or Return outside a cell editor.
    void enterPressed();
    // Ctrl+V, with or without other modifier keys, outside a cell editor.
    void pasteRequested();
    // Delete outside a cell editor.
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;
    // Only the grid with the focus shows its selection, so the eye finds the one that keys go to.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    bool isRefused(const QModelIndex& index) const;
    // The next cell in reading order (direction 1) or the previous one (-1) that may become current.
    QModelIndex stepOverRefused(const QModelIndex& refused, int direction) const;
    void scheduleRowFit();
    void scheduleSpareWidthFit();
    void fitSpareWidth();

    int m_textRowsColumn = -1;
    bool m_fitPending = false;
    QList<int> m_contentColumns;
    int m_spareColumn = -1;
    int m_spareMinimum = 0;
    bool m_spareFitPending = false;
    bool m_readOnly = false;
    EditTriggers m_editTriggers;
    QColor m_fixedLineColor;
};

} // namespace mainwindow::widgets
