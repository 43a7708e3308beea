#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

namespace spreadsheet {

// What a cell holds, as far as the imports care: a value, nothing, or why it gives no value.
enum class CellKind : uint8_t {
    Empty,
    Text,
    Number,
    Boolean,
    // An error value such as "#DIV/0!"; its text is the error's name.
    Error,
    // A formula whose result the workbook did not store.
    NoResult,
    // A cell the workbook names but cannot give, such as a text index past its table of texts.
    Unreadable,
};

struct Cell {
    CellKind kind = CellKind::Empty;
    QString text;
};

// The cells of one sheet, rows and columns counted from 1 as a spreadsheet counts them. Only the first
// kKeptColumns columns are kept: the imports read no further, and a hostile sheet that claims thousands of
// columns then costs no memory.
class SheetCells {
public:
    static constexpr int kKeptColumns = 5;
    // The rows a sheet of the largest spreadsheet programs can hold.
    static constexpr int kMaxRows = 1 << 20;

    // The last row of the used range; rows below it are empty.
    int rowCount() const { return int(m_rows.size()); }
    // Empty outside the sheet.
    QString cell(int row, int column) const { return at(row, column).text; }
    const Cell& at(int row, int column) const;
    // A row with nothing in its kept columns.
    bool isEmptyRow(int row) const;

    // Rows grow as cells are written, up to kMaxRows; writes beyond the kept columns are dropped.
    void setCell(int row, int column, const Cell& cell);
    void setCell(int row, int column, const QString& text) { setCell(row, column, Cell{kindOf(text), text}); }
    void setRowCount(int rows);

    // How many sheets the workbook has and the name of the one read, when the reader could not tell the
    // active sheet and read the first.
    int sheetCount() const { return m_sheetCount; }
    const QString& firstSheetName() const { return m_firstSheetName; }
    void setFirstSheetRead(int sheetCount, const QString& name);
    // Only the Excel 97-2003 reader reads the first sheet, and it gives formulas no value.
    bool formulasUnread() const { return m_sheetCount > 0; }

private:
    static CellKind kindOf(const QString& text) { return text.isEmpty() ? CellKind::Empty : CellKind::Text; }

    QVector<QVector<Cell>> m_rows;
    int m_sheetCount = 0;
    QString m_firstSheetName;
};

// A numeric cell as the user's locale writes it: whole numbers without a fraction, others in the shortest
// form that reads back to the same value, never with group separators.
QString numberText(double value);

} // namespace spreadsheet
