#pragma once

#include "mainwindow/grid_editing.h"

#include <QStyledItemDelegate>

#include <functional>

namespace mainwindow::widgets {

// Fills a cell with a colour and draws its text on one line, vertically centred, from the left edge.
void paintShadedCell(QPainter* painter, const QStyleOptionViewItem& option, const QColor& colour, const QString& text);

// The grey of the totals rows of the parts and layout grids.
QColor totalsShade();

// Cells of the parts and stocks grids: a line editor that drops what may not be typed into a number
// column, the Priority column's "Yes"/"No" list, the grey parts totals row and the stocks' "Left Qty"
// column in the button face colour.
class InputCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    InputCellDelegate(InputGrid kind, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

Q_SIGNALS:
    // Enter or Return in an open editor: the text is committed and the editor closed first.
    void enterPressed();
    // A typed text was removed from its cell; reason says why, briefly.
    void typedTextRefused(const QString& reason);
    // Rows pasted into an open editor: the editor has closed with its text, and the rows go into the grid
    // as the grid's paste puts them.
    void rowsPasted();

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Ctrl+V in a line editor: rows go into the grid, one line into the editor, a line with TABs is
    // refused. False for a clipboard text that the editor takes as it is.
    bool pasteIntoEditor(QWidget* editor);

    InputGrid m_kind;
};

// Cells of the layout table: the grey totals row, "Left Len" coloured by what is left over, and the
// "Cutting Layout" text wrapped to the column width between pieces. A stale plan's rows are greyed.
class LayoutCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // reuseText gives the current "Rpt Use Len:" text, which decides the green of reusable remnants.
    LayoutCellDelegate(std::function<QString()> reuseText, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // "Cutting Layout" cells are as high as their wrapped text, every other cell 18 pixels.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setStale(bool stale) { m_stale = stale; }
    // The part names with blanks of the plan shown, which the wrapping keeps whole.
    void setPieceNames(const QStringList& names) { m_pieceNames = names; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    std::function<QString()> m_reuseText;
    bool m_stale = false;
    QStringList m_pieceNames;
};

} // namespace mainwindow::widgets
