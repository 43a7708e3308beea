#include "grids.h"

#include "localization/translate.h"

#include <initializer_list>

namespace calculation {

using localization::translate;

namespace {

void writeHeaders(GridModel& grid, std::initializer_list<QString> headers)
{
    grid.setCell(0, GridModel::kTotalsRow, translate("Total"));
    int column = 0;
    for (const QString& header : headers)
        grid.setCell(column++, GridModel::kHeaderRow, header);
}

} // namespace

GridModel* createPartsGrid(QObject* parent)
{
    auto* grid = new GridModel(kPartColumns, parent);
    grid->setSingleLineCells(true);
    writePartsHeaders(*grid);
    return grid;
}

GridModel* createStocksGrid(QObject* parent)
{
    auto* grid = new GridModel(kStockColumns, parent);
    grid->setSingleLineCells(true);
    grid->setReadOnlyColumn(kLeftQtyColumn, true);
    grid->setUnselectableColumn(kLeftQtyColumn, true);
    writeStocksHeaders(*grid);
    return grid;
}

GridModel* createLayoutGrid(QObject* parent)
{
    auto* grid = new GridModel(kLayoutColumns, parent);
    for (int column = 0; column < kLayoutColumns; ++column)
        grid->setReadOnlyColumn(column, true);
    writeLayoutHeaders(*grid);
    return grid;
}

void writePartsHeaders(GridModel& grid)
{
    writeHeaders(grid, {translate("Label"), translate("Length"), translate("Qty")});
}

void writeStocksHeaders(GridModel& grid)
{
    writeHeaders(grid, {translate("Label"), translate("Length"), translate("Qty"), translate("Cost"),
                        translate("Priority"), translate("Left Qty")});
}

void writeLayoutHeaders(GridModel& grid)
{
    writeHeaders(grid, {translate("No."), translate("Label"), translate("Length"), translate("Qty"),
                        translate("Left Len"), translate("Cutting Layout"), translate("Left Lable")});
}

} // namespace calculation
