#include "document/list_file.h"

#include "calculation/grids.h"
#include "calculation/number_text.h"
#include "lists/list_files.h"
#include "spreadsheet/sheet_import.h"

#include <QFileInfo>

#include <memory>

namespace document {

using calculation::FileResult;
using calculation::GridModel;

namespace {

// The readers behind the source formats; several dialog entries share the text layout.
enum class Reader { Text, Sfcad, Mst, Xls, Xlsx, Ods, Csv };

Reader readerOf(ListKind kind, int format)
{
    if (kind == ListKind::Parts) {
        switch (format) {
        case lists::kPartsSfcad:
            return Reader::Sfcad;
        case lists::kPartsMst:
            return Reader::Mst;
        case lists::kPartsExcel:
            return Reader::Xls;
        case lists::kPartsXlsx:
            return Reader::Xlsx;
        case lists::kPartsOds:
            return Reader::Ods;
        case lists::kPartsCsv:
            return Reader::Csv;
        default:
            return Reader::Text;
        }
    }
    switch (format) {
    case lists::kStocksExcel:
        return Reader::Xls;
    case lists::kStocksXlsx:
        return Reader::Xlsx;
    case lists::kStocksOds:
        return Reader::Ods;
    case lists::kStocksCsv:
        return Reader::Csv;
    default:
        return Reader::Text;
    }
}

} // namespace

QStringList listImage(const GridModel& grid, ListKind kind)
{
    using namespace calculation;
    QStringList lines;
    for (int row = GridModel::kFirstDataRow; row < grid.rows(); ++row) {
        const QString label = grid.cell(kLabelColumn, row);
        if (label.isEmpty())
            continue;
        if (kind == ListKind::Parts)
            lines.append(label + u'\t' + grid.cell(kLengthColumn, row) + u'\t' + grid.cell(kQtyColumn, row));
        else
            lines.append(lists::stockLine({label, grid.cell(kLengthColumn, row), grid.cell(kQtyColumn, row),
                                           grid.cell(kCostColumn, row), grid.cell(kPriorityColumn, row)}));
    }
    return lines;
}

int formatForPath(ListKind kind, const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool parts = kind == ListKind::Parts;
    if (suffix == u"xls")
        return parts ? lists::kPartsExcel : lists::kStocksExcel;
    if (suffix == u"xlsx")
        return parts ? lists::kPartsXlsx : lists::kStocksXlsx;
    if (suffix == u"ods")
        return parts ? lists::kPartsOds : lists::kStocksOds;
    if (suffix == u"csv")
        return parts ? lists::kPartsCsv : lists::kStocksCsv;
    if (parts && suffix == u"nbt")
        return lists::kPartsSfcad;
    return parts ? lists::kPartsText : lists::kStocksText;
}

bool readsBackByName(ListKind kind, const ListFile& file)
{
    return readerOf(kind, formatForPath(kind, file.path)) == readerOf(kind, file.format);
}

bool savesInPlace(ListKind kind, const ListFile& file)
{
    return !file.path.isEmpty() && readerOf(kind, file.format) == Reader::Text &&
           readerOf(kind, formatForPath(kind, file.path)) == Reader::Text;
}

FileResult readList(GridModel& grid, ListKind kind, const QString& path, int format)
{
    // Read into a copy, so that a file that fails half-way leaves the grid as it was.
    GridModel copy(grid.columns());
    copy.setCells(grid.cells());
    const FileResult read =
        kind == ListKind::Parts ? lists::LoadPartsFile(copy, path, format) : lists::LoadStocksFile(copy, path, format);
    if (read.ok)
        grid.setCells(copy.cells());
    return read;
}

FileResult importSheet(GridModel& grid, ListKind kind, const spreadsheet::SheetCells& sheet, const QString& path)
{
    GridModel copy(grid.columns());
    copy.setCells(grid.cells());
    const FileResult read = kind == ListKind::Parts ? spreadsheet::ImportPartsSheet(copy, sheet, path)
                                                    : spreadsheet::ImportStocksSheet(copy, sheet, path);
    if (read.ok)
        grid.setCells(copy.cells());
    return read;
}

ListFile readListFile(ListKind kind, const QString& path, int format)
{
    std::unique_ptr<GridModel> grid(kind == ListKind::Parts ? calculation::createPartsGrid()
                                                            : calculation::createStocksGrid());
    readList(*grid, kind, path, format);
    return {path, format, listImage(*grid, kind)};
}

FileResult saveList(const GridModel& grid, ListKind kind, const QString& path)
{
    return kind == ListKind::Parts ? lists::SavePartsFile(grid, path) : lists::SaveStocksFile(grid, path);
}

void writeListTotals(GridModel& grid, ListKind kind)
{
    using namespace calculation;
    float length = 0;
    float cost = 0;
    int64_t quantity = 0;
    int counted = 0;
    for (int row = GridModel::kFirstDataRow; row < grid.rows(); ++row) {
        const QString qtyText = grid.cell(kQtyColumn, row);
        if (qtyText.isEmpty())
            continue;
        const int32_t qty = parseInteger(qtyText).value_or(0);
        ++counted;
        quantity += qty;
        length = float(length + (long double)qty * parseNumber(grid.cell(kLengthColumn, row)).value_or(0));
        if (kind == ListKind::Stocks)
            cost = float(cost + (long double)qty * parseNumber(grid.cell(kCostColumn, row)).value_or(0));
    }
    // An empty list shows empty totals, as "Delete all" leaves them.
    auto write = [&](int column, const QString& text) {
        grid.setCell(column, GridModel::kTotalsRow, counted > 0 ? text : QString());
    };
    write(kLengthColumn, formatTotal(length));
    write(kQtyColumn, QString::number(quantity));
    if (kind == ListKind::Stocks)
        write(kCostColumn, formatTotal(cost));
}

} // namespace document
