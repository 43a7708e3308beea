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

    // A read-only grid opens no cell editor and passes on neither Enter nor Ctrl+V; it still scrolls and
    // selects.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // Writes the text of an open cell editor into the model and closes the editor.
    void finishEditing();

    // Paints one cell of the fixed rows through the view's delegate; called by the fixed-rows header.
    void paintFixedCell(QPainter* painter, const QRect& rect, const QModelIndex& index) const;

public Q_SLOTS:
    void fitRowHeights();

Q_SIGNALS:
    // Enter or Return outside a cell editor.
    void enterPressed();
    // Ctrl+V, with or without other modifier keys, outside a cell editor.
    void pasteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    bool isRefused(const QModelIndex& index) const;
    // The next cell in reading order (direction 1) or the previous one (-1) that may become current.
    QModelIndex stepOverRefused(const QModelIndex& refused, int direction) const;
    void scheduleRowFit();

    int m_textRowsColumn = -1;
    bool m_fitPending = false;
    bool m_readOnly = false;
    EditTriggers m_editTriggers;
    QColor m_fixedLineColor;
};

} // namespace mainwindow::widgets
