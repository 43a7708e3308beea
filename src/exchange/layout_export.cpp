#include "layout_export.h"

#include "calculation/grids.h"
#include "calculation/tab_fields.h"
#include "lists/text_file.h"

namespace exchange {

using calculation::GridModel;

namespace {

QString joinedRow(const GridModel& layout, int row)
{
    QStringList cells;
    for (int column = 0; column < calculation::kLayoutColumns; ++column)
        cells << layout.cell(column, row);
    return calculation::tabLine(cells);
}

} // namespace

QStringList layoutExportLines(const GridModel& layout)
{
    // The header first and the totals last, although the totals row stands above the header on screen.
    QStringList lines{joinedRow(layout, GridModel::kHeaderRow)};
    for (int row = GridModel::kFirstDataRow; row < layout.rows(); ++row)
        if (!layout.cell(0, row).isEmpty())
            lines << joinedRow(layout, row);
    lines << joinedRow(layout, GridModel::kTotalsRow);
    return lines;
}

lists::FileResult exportLayouts(const GridModel& layout, const QString& path)
{
    return lists::writeTextLines(path, layoutExportLines(layout));
}

} // namespace exchange
