// The main window's grid editing commands: the row buttons, Enter and paste. The rules live in grid_editing
// and grid_input; these handlers connect them to the grids.

#include "deruruvi.h"

#include "grid_input.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

namespace mainwindow {

using calculation::GridModel;
using widgets::GridView;

int TfrmMain::currentDataRow(const GridView* view) const
{
    const QModelIndex current = view->currentIndex();
    return current.isValid() ? current.row() : GridModel::kFirstDataRow;
}

void TfrmMain::btnPartAddClick()
{
    addRow(*m_parts, InputGrid::Parts);
}

void TfrmMain::btnPartDelClick()
{
    deleteRow(*m_parts, InputGrid::Parts, currentDataRow(ui.sgPart));
}

void TfrmMain::btnPartDelAllClick()
{
    deleteAll(*m_parts, InputGrid::Parts);
}

void TfrmMain::btnPartTimesClick()
{
    multiplyQuantities(*m_parts, ui.edTimes->text());
}

void TfrmMain::btnStockAddClick()
{
    addRow(*m_stocks, InputGrid::Stocks);
}

void TfrmMain::btnStockDelClick()
{
    deleteRow(*m_stocks, InputGrid::Stocks, currentDataRow(ui.sgStock));
}

void TfrmMain::btnStockDelAllClick()
{
    deleteAll(*m_stocks, InputGrid::Stocks);
}

void TfrmMain::moveOnEnter(GridView* view, GridModel& grid, InputGrid kind)
{
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return;
    const CellMove move = nextCellOnEnter(kind, current.column(), current.row(), grid.rows());
    if (move.addsRow)
        grid.setRows(grid.rows() + 1);
    view->setCurrentIndex(grid.index(move.row, move.column));
}

void TfrmMain::sgPartKeyPress()
{
    moveOnEnter(ui.sgPart, *m_parts, InputGrid::Parts);
}

void TfrmMain::sgStockKeyPress()
{
    moveOnEnter(ui.sgStock, *m_stocks, InputGrid::Stocks);
}

void TfrmMain::sgPartKeyDown()
{
    pasteRows(*m_parts, InputGrid::Parts, QGuiApplication::clipboard()->text());
}

void TfrmMain::sgStockKeyDown()
{
    pasteRows(*m_stocks, InputGrid::Stocks, QGuiApplication::clipboard()->text());
}

} // namespace mainwindow
