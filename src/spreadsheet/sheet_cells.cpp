#include "sheet_cells.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace spreadsheet {

const Cell& SheetCells::at(int row, int column) const
{
    static const Cell empty;
    if (row < 1 || row > m_rows.size() || column < 1 || column > m_rows[row - 1].size())
        return empty;
    return m_rows[row - 1][column - 1];
}

bool SheetCells::isEmptyRow(int row) const
{
    if (row < 1 || row > m_rows.size())
        return true;
    const QVector<Cell>& cells = m_rows[row - 1];
    return std::all_of(cells.begin(), cells.end(), [](const Cell& c) { return c.kind == CellKind::Empty; });
}

void SheetCells::setCell(int row, int column, const Cell& cell)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kKeptColumns)
        return;
    // Empty cells past a row's end take no memory: a sheet's used range may reach far below its data.
    if (cell.kind == CellKind::Empty && (row > m_rows.size() || column > m_rows[row - 1].size()))
        return;
    if (row > m_rows.size())
        setRowCount(row);
    QVector<Cell>& cells = m_rows[row - 1];
    if (cells.size() < column)
        cells.resize(column);
    cells[column - 1] = cell;
}

void SheetCells::setRowCount(int rows)
{
    m_rows.resize(std::clamp(rows, 0, kMaxRows));
}

void SheetCells::setFirstSheetRead(int sheetCount, const QString& name)
{
    m_sheetCount = sheetCount;
    m_firstSheetName = name;
}

QString numberText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Whole numbers that an integer holds exactly show as integers: 1200, not 1.2e+03.
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.0e15)
        return locale.toString(qint64(value));
    return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace spreadsheet
