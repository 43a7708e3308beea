// The main window's grid editing commands: the row buttons, Enter, paste, Delete and the Edit menu. Every
// change of a list is one edit of the job document, which undo and redo take back and do again. The rules
// live in grid_editing and grid_input; these handlers connect them to the grids.

#include "deruruvi.h"

#include "grid_input.h"

#include "document/history/job_history.h"
#include "document/job_document.h"
#include "localization/translate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>

namespace mainwindow {

using calculation::GridModel;
using document::ListKind;
using localization::translate;
using widgets::GridView;

namespace {

InputGrid inputGrid(ListKind kind)
{
    return kind == ListKind::Parts ? InputGrid::Parts : InputGrid::Stocks;
}

} // namespace

GridModel& TfrmMain::model(ListKind kind) const
{
    return kind == ListKind::Parts ? *m_parts : *m_stocks;
}

GridView* TfrmMain::view(ListKind kind) const
{
    return kind == ListKind::Parts ? ui.sgPart : ui.sgStock;
}

GridView* TfrmMain::focusedGrid() const
{
    for (GridView* grid : {ui.sgPart, ui.sgStock, ui.sgLayout})
        if (grid->hasFocus())
            return grid;
    return nullptr;
}

void TfrmMain::connectEditMenu()
{
    QUndoStack& stack = m_history->stack();
    connect(ui.mnUndo, &QAction::triggered, this, &TfrmMain::mnUndoClick);
    connect(ui.mnRedo, &QAction::triggered, this, &TfrmMain::mnRedoClick);
    auto updateUndo = [this, &stack] {
        // Not while a search works on the job.
        const bool editable = ui.O1->isEnabled();
        ui.mnUndo->setEnabled(editable && stack.canUndo());
        ui.mnRedo->setEnabled(editable && stack.canRedo());
        ui.mnUndo->setText(stack.canUndo() ? translate("Undo %1").arg(stack.undoText()) : translate("Undo(&U)"));
        ui.mnRedo->setText(stack.canRedo() ? translate("Redo %1").arg(stack.redoText()) : translate("Redo(&R)"));
    };
    connect(&stack, &QUndoStack::indexChanged, this, updateUndo);
    connect(&stack, &QUndoStack::cleanChanged, this, updateUndo);
    connect(ui.O1, &QAction::changed, this, updateUndo);
    connect(ui.mnEdit, &QMenu::aboutToShow, this, updateUndo);
    updateUndo();
    connect(ui.mnCut, &QAction::triggered, this, &TfrmMain::mnCutClick);
    connect(ui.mnCopy, &QAction::triggered, this, &TfrmMain::mnCopyClick);
    connect(ui.mnPaste, &QAction::triggered, this, &TfrmMain::mnPasteClick);
    connect(ui.mnDeleteRows, &QAction::triggered, this, &TfrmMain::mnDeleteRowsClick);
    connect(ui.mnSelectAll, &QAction::triggered, this, &TfrmMain::mnSelectAllClick);
    connect(ui.mnNew, &QAction::triggered, this, &TfrmMain::mnNewClick);
    connect(ui.mnSaveAs, &QAction::triggered, this, &TfrmMain::mnSaveAsClick);
    connect(ui.sgPart, &GridView::deleteRequested, this, &TfrmMain::sgPartDelete);
    connect(ui.sgStock, &GridView::deleteRequested, this, &TfrmMain::sgStockDelete);
}

void TfrmMain::mnUndoClick()
{
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    if (ui.O1->isEnabled())
        m_history->stack().undo();
}

void TfrmMain::mnRedoClick()
{
    ui.sgPart->finishEditing();
    ui.sgStock->finishEditing();
    if (ui.O1->isEnabled())
        m_history->stack().redo();
}

void TfrmMain::btnPartAddClick()
{
    m_document->edit(ListKind::Parts, translate("Add Row"), [&] { addRow(*m_parts, InputGrid::Parts); });
}

void TfrmMain::btnPartDelClick()
{
    ui.sgPart->finishEditing();
    m_document->edit(ListKind::Parts, translate("Delete Rows"),
                     [&] { deleteRows(*m_parts, InputGrid::Parts, ui.sgPart->selectedDataRows()); });
}

void TfrmMain::btnPartDelAllClick()
{
    ui.sgPart->finishEditing();
    m_document->edit(ListKind::Parts, translate("Delete All"), [&] { deleteAll(*m_parts, InputGrid::Parts); });
}

void TfrmMain::btnPartTimesClick()
{
    ui.sgPart->finishEditing();
    m_document->edit(ListKind::Parts, translate("Multiply Quantities"),
                     [&] { multiplyQuantities(*m_parts, ui.edTimes->text()); });
}

void TfrmMain::btnStockAddClick()
{
    m_document->edit(ListKind::Stocks, translate("Add Row"), [&] { addRow(*m_stocks, InputGrid::Stocks); });
}

void TfrmMain::btnStockDelClick()
{
    ui.sgStock->finishEditing();
    m_document->edit(ListKind::Stocks, translate("Delete Rows"),
                     [&] { deleteRows(*m_stocks, InputGrid::Stocks, ui.sgStock->selectedDataRows()); });
}

void TfrmMain::btnStockDelAllClick()
{
    ui.sgStock->finishEditing();
    m_document->edit(ListKind::Stocks, translate("Delete All"), [&] { deleteAll(*m_stocks, InputGrid::Stocks); });
}

void TfrmMain::moveOnEnter(ListKind kind)
{
    GridView* grid = view(kind);
    const QModelIndex current = grid->currentIndex();
    if (!current.isValid())
        return;
    const CellMove move = nextCellOnEnter(inputGrid(kind), current.column(), current.row(), model(kind).rows());
    if (move.addsRow)
        m_document->edit(kind, translate("Add Row"), [&] { model(kind).setRows(model(kind).rows() + 1); });
    grid->setCurrentIndex(model(kind).index(move.row, move.column));
}

void TfrmMain::sgPartKeyPress()
{
    moveOnEnter(ListKind::Parts);
}

void TfrmMain::sgStockKeyPress()
{
    moveOnEnter(ListKind::Stocks);
}

void TfrmMain::pasteInto(ListKind kind)
{
    const QString text = QGuiApplication::clipboard()->text();
    m_document->edit(kind, translate("Paste"), [&] { pasteRows(model(kind), inputGrid(kind), text); });
}

void TfrmMain::sgPartKeyDown()
{
    pasteInto(ListKind::Parts);
}

void TfrmMain::sgStockKeyDown()
{
    pasteInto(ListKind::Stocks);
}

void TfrmMain::clearSelected(ListKind kind)
{
    m_document->edit(kind, translate("Clear Cells"), [&] { clearCells(model(kind), view(kind)->selectedDataCells()); });
}

void TfrmMain::sgPartDelete()
{
    clearSelected(ListKind::Parts);
}

void TfrmMain::sgStockDelete()
{
    clearSelected(ListKind::Stocks);
}

// The Edit menu works on the field being typed into, else on the grid with the keyboard.

void TfrmMain::mnCutClick()
{
    if (auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        line->cut();
        return;
    }
    mnCopyClick();
    GridView* grid = focusedGrid();
    if (grid == ui.sgPart || grid == ui.sgStock)
        clearSelected(grid == ui.sgPart ? ListKind::Parts : ListKind::Stocks);
}

void TfrmMain::mnCopyClick()
{
    if (auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        line->copy();
        return;
    }
    if (GridView* grid = focusedGrid()) {
        const auto* cells = qobject_cast<const GridModel*>(grid->model());
        const QString text = cellsText(*cells, grid->selectedDataCells());
        if (!text.isEmpty())
            QGuiApplication::clipboard()->setText(text);
    }
}

void TfrmMain::mnPasteClick()
{
    if (auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        line->paste();
        return;
    }
    GridView* grid = focusedGrid();
    if ((grid == ui.sgPart || grid == ui.sgStock) && !grid->isReadOnly())
        pasteInto(grid == ui.sgPart ? ListKind::Parts : ListKind::Stocks);
}

void TfrmMain::mnDeleteRowsClick()
{
    GridView* grid = focusedGrid();
    if (grid == ui.sgStock)
        btnStockDelClick();
    else if (grid == ui.sgPart)
        btnPartDelClick();
}

void TfrmMain::mnSelectAllClick()
{
    if (auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        line->selectAll();
    else if (GridView* grid = focusedGrid())
        grid->selectAll();
}

} // namespace mainwindow
