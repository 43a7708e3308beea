#include "grid_model.h"

#include <algorithm>

namespace calculation {

namespace {

constexpr int kStartRows = 3;
bool isLineBreak(QChar c)
{
    return c == u'\t' || c == u'\r' || c == u'\n';
}

QStringList emptyRow(int columns)
{
    QStringList row;
    row.reserve(columns);
    for (int c = 0; c < columns; ++c)
        row.append(QString());
    return row;
}

} // namespace

GridModel::GridModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::max(columns, 1)), m_readOnly(m_columns, false),
      m_unselectable(m_columns, false)
{
    for (int r = 0; r < kStartRows; ++r)
        m_rows.append(emptyRow(m_columns));
}

bool GridModel::contains(int column, int row) const
{
    return column >= 0 && column < m_columns && row >= 0 && row < m_rows.size();
}

QString GridModel::cell(int column, int row) const
{
    return contains(column, row) ? m_rows[row][column] : QString();
}

void GridModel::setCell(int column, int row, const QString& text)
{
    if (m_singleLine && std::any_of(text.begin(), text.end(), isLineBreak)) {
        QString oneLine = text;
        std::replace_if(oneLine.begin(), oneLine.end(), isLineBreak, u' ');
        setCell(column, row, oneLine);
        return;
    }
    if (!contains(column, row) || m_rows[row][column] == text)
        return;
    m_rows[row][column] = text;
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void GridModel::clearCells(int row, int firstColumn, int lastColumn)
{
    for (int c = firstColumn; c <= lastColumn; ++c)
        setCell(c, row, QString());
}

int GridModel::rows() const
{
    return int(m_rows.size());
}

int GridModel::columns() const
{
    return m_columns;
}

void GridModel::setRows(int count)
{
    count = std::max(count, kFirstDataRow);
    if (count > rows())
        insertRows(rows(), count - rows());
    else if (count < rows())
        removeRows(count, rows() - count);
}

QString GridModel::columnText(int column) const
{
    QString text;
    if (column < 0 || column >= m_columns)
        return text;
    for (const QStringList& row : m_rows)
        text += row[column] + u'\n';
    return text;
}

void GridModel::setCells(const Cells& cells)
{
    setRows(int(cells.size()));
    for (int row = 0; row < rows() && row < cells.size(); ++row)
        for (int column = 0; column < m_columns; ++column)
            setCell(column, row, cells[row].value(column));
}

void GridModel::setReadOnlyColumn(int column, bool readOnly)
{
    if (column >= 0 && column < m_columns)
        m_readOnly[column] = readOnly;
}

void GridModel::setUnselectableColumn(int column, bool unselectable)
{
    if (column >= 0 && column < m_columns)
        m_unselectable[column] = unselectable;
}

bool GridModel::isUnselectable(int column, int row) const
{
    return contains(column, row) && row >= kFirstDataRow && m_unselectable[column];
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows();
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !contains(index.column(), index.row()))
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return m_rows[index.row()][index.column()];
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    setCell(index.column(), index.row(), value.toString());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !contains(index.column(), index.row()))
        return Qt::NoItemFlags;
    // The totals and header rows are fixed: shown, never selected or edited.
    if (index.row() < kFirstDataRow || m_unselectable[index.column()])
        return Qt::ItemIsEnabled;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_readOnly[index.column()])
        result |= Qt::ItemIsEditable;
    return result;
}

bool GridModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count < 1 || row < kFirstDataRow || row > rows())
        return false;
    beginInsertRows({}, row, row + count - 1);
    m_rows.insert(row, count, emptyRow(m_columns));
    endInsertRows();
    return true;
}

bool GridModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count < 1 || row < kFirstDataRow || row + count > rows())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

} // namespace calculation
