#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace spreadsheet {

// The cell texts of one sheet, rows and columns counted from 1 as a spreadsheet counts them. Only the
// first kKeptColumns columns are kept: the imports read no further, and a hostile sheet that claims
// thousands of columns then costs no memory.
class SheetCells {
public:
    static constexpr int kKeptColumns = 4;

    // The last row of the used range; rows below it are empty.
    int rowCount() const { return int(m_rows.size()); }
    // Empty outside the sheet.
    QString cell(int row, int column) const;

    // Rows grow as cells are written; writes beyond the kept columns are dropped.
    void setCell(int row, int column, const QString& text);
    void setRowCount(int rows);

private:
    QVector<QStringList> m_rows;
};

// A numeric cell as the user's locale writes it: whole numbers without a fraction, others in the shortest
// form that reads back to the same value, never with group separators.
QString numberText(double value);

} // namespace spreadsheet
