#include "sheet_import.h"

#include "calculation/grids.h"
#include "calculation/number_text.h"
#include "localization/translate.h"

#include <optional>
#include <vector>

namespace spreadsheet {

using calculation::fileFailure;
using calculation::FileResult;
using calculation::GridModel;
using localization::translate;

namespace {

struct SheetRow {
    QString label;
    QString length;
    QString qty;
    QString cost;
};

struct Totals {
    float length = 0;
    float cost = 0;
    qint64 qty = 0;
};

// Sums kept as the list loaders keep them: lengths and costs in 32-bit floats.
float addProduct(float total, float value, int32_t qty)
{
    return float(double(total) + double(value) * qty);
}

// The rows to import, checked; the first bad row ends the check with its message.
FileResult collectRows(const SheetCells& sheet, bool withCost, std::vector<SheetRow>& rows, Totals& totals)
{
    for (int r = 1; r <= sheet.rowCount(); ++r) {
        SheetRow row{sheet.cell(r, 1), sheet.cell(r, 2), sheet.cell(r, 3), withCost ? sheet.cell(r, 4) : QString()};
        if (row.label.isEmpty() || row.length.isEmpty() || row.qty.isEmpty())
            continue;
        const QString where = QString::number(r);
        const std::optional<int32_t> qty = calculation::parseInteger(row.qty);
        if (!qty)
            return fileFailure(translate("sheet row %1: the quantity \"%2\" is not a whole number")
                                   .arg(where, calculation::excerpt(row.qty)));
        const std::optional<float> length = calculation::parseNumber(row.length);
        if (!length)
            return fileFailure(translate("sheet row %1: the length \"%2\" is not a number")
                                   .arg(where, calculation::excerpt(row.length)));
        if (withCost) {
            if (row.cost.isEmpty())
                return fileFailure(translate("sheet row %1: the cost in column 4 is empty").arg(where));
            const std::optional<float> cost = calculation::parseNumber(row.cost);
            if (!cost)
                return fileFailure(translate("sheet row %1: the cost \"%2\" is not a number")
                                       .arg(where, calculation::excerpt(row.cost)));
            totals.cost = addProduct(totals.cost, *cost, *qty);
        }
        totals.length = addProduct(totals.length, *length, *qty);
        totals.qty += *qty;
        rows.push_back(row);
    }
    return {};
}

FileResult importSheet(GridModel& grid, const SheetCells& sheet, bool withCost)
{
    std::vector<SheetRow> rows;
    Totals totals;
    if (FileResult checked = collectRows(sheet, withCost, rows, totals); !checked.ok)
        return checked;
    // Cutting back to the fixed rows first leaves no cell of the previous content behind.
    grid.setRows(GridModel::kFirstDataRow);
    grid.setRows(GridModel::kFirstDataRow + int(rows.size()) + 1);
    int gridRow = GridModel::kFirstDataRow;
    for (const SheetRow& row : rows) {
        grid.setCell(calculation::kLabelColumn, gridRow, row.label);
        grid.setCell(calculation::kLengthColumn, gridRow, row.length);
        grid.setCell(calculation::kQtyColumn, gridRow, row.qty);
        if (withCost)
            grid.setCell(calculation::kCostColumn, gridRow, row.cost);
        ++gridRow;
    }
    grid.setCell(calculation::kLengthColumn, GridModel::kTotalsRow, calculation::formatTotal(totals.length));
    grid.setCell(calculation::kQtyColumn, GridModel::kTotalsRow, QString::number(totals.qty));
    if (withCost) {
        grid.setCell(calculation::kCostColumn, GridModel::kTotalsRow, calculation::formatTotal(totals.cost));
        // Bars left over from an earlier plan say nothing about the new stocks.
        grid.setCell(calculation::kLeftQtyColumn, GridModel::kTotalsRow, QString());
    }
    return {};
}

FileResult importWorkbook(GridModel& grid, const QString& path, WorkbookKind kind, bool withCost)
{
    SheetCells sheet;
    if (FileResult read = readWorkbookFile(path, kind, sheet); !read.ok)
        return read;
    return importSheet(grid, sheet, withCost);
}

} // namespace

FileResult ImportPartsSheet(GridModel& parts, const SheetCells& sheet)
{
    return importSheet(parts, sheet, false);
}

FileResult ImportStocksSheet(GridModel& stocks, const SheetCells& sheet)
{
    return importSheet(stocks, sheet, true);
}

FileResult ImportPartsWorkbook(GridModel& parts, const QString& path, WorkbookKind kind)
{
    return importWorkbook(parts, path, kind, false);
}

FileResult ImportStocksWorkbook(GridModel& stocks, const QString& path, WorkbookKind kind)
{
    return importWorkbook(stocks, path, kind, true);
}

} // namespace spreadsheet
