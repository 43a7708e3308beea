#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QVector>

namespace calculation {

// A table of cell texts, the model behind the parts, stocks and layout grids. Row 0 is the totals row,
// row 1 the header row, data rows start at row 2. Cells are addressed (column, row), the way the grid
// contract names them: cell(1, 0) is the total length.
class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kTotalsRow = 0;
    static constexpr int kHeaderRow = 1;
    static constexpr int kFirstDataRow = 2;
    // Every row's cells, the fixed rows included. Copies share the texts until one side changes them.
    using Cells = QVector<QStringList>;

    // Starts as every grid starts: the two fixed rows and one empty data row.
    explicit GridModel(int columns, QObject* parent = nullptr);

    // Cells outside the table read as empty; writes outside it are ignored.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    // Empties the cells firstColumn..lastColumn of one row.
    void clearCells(int row, int firstColumn, int lastColumn);
    int rows() const;
    int columns() const;
    // Grows with empty rows or cuts rows off the end; never below the two fixed rows.
    void setRows(int count);
    // All cells of one column, the fixed rows included, each followed by a line feed.
    QString columnText(int column) const;
    Cells cells() const { return m_rows; }
    // Makes the table hold these cells (rows of another column count are cut or padded): rows are added or
    // cut at the end and only the cells that differ are written.
    void setCells(const Cells& cells);
    // Cells of a list hold one line: TAB, CR and LF written into them become blanks, so that no cell can
    // split a row of a list file.
    void setSingleLineCells(bool singleLine) { m_singleLine = singleLine; }

    // Columns the user may edit in data rows (all by default) and columns of data rows that can't be
    // selected at all (the stocks grid's "Left Qty").
    void setReadOnlyColumn(int column, bool readOnly);
    void setUnselectableColumn(int column, bool unselectable);
    bool isUnselectable(int column, int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Only data rows can be inserted or removed; the two fixed rows always stay.
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

private:
    bool contains(int column, int row) const;

    int m_columns;
    QVector<QStringList> m_rows;
    QVector<bool> m_readOnly;
    QVector<bool> m_unselectable;
    bool m_singleLine = false;
};

} // namespace calculation
