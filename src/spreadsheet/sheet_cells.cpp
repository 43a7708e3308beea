#include "sheet_cells.h"

#include <QLocale>

#include <cmath>

namespace spreadsheet {

QString SheetCells::cell(int row, int column) const
{
    if (row < 1 || row > m_rows.size() || column < 1)
        return {};
    return m_rows[row - 1].value(column - 1);
}

void SheetCells::setCell(int row, int column, const QString& text)
{
    if (row < 1 || column < 1 || column > kKeptColumns)
        return;
    if (row > m_rows.size())
        setRowCount(row);
    QStringList& cells = m_rows[row - 1];
    // Empty cells past a row's end take no memory: a sheet's used range may reach far below its data.
    if (text.isEmpty() && column > cells.size())
        return;
    while (cells.size() < column)
        cells.append(QString());
    cells[column - 1] = text;
}

void SheetCells::setRowCount(int rows)
{
    m_rows.resize(std::max(rows, 0));
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
