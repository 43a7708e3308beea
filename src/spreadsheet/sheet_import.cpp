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
    QString priority;
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

enum Field { Label = 1, Length, Qty, Cost, Priority };

QString fieldName(int field)
{
    switch (field) {
    case Label:
        return translate("label");
    case Length:
        return translate("length");
    case Qty:
        return translate("quantity");
    case Cost:
        return translate("cost");
    default:
        return translate("priority");
    }
}

// Notices about the rows taken, told once the sheet is imported.
class Notices {
public:
    static constexpr int kShown = 10;

    void add(const QString& line)
    {
        if (m_count++ < kShown)
            m_lines.append(line);
    }
    QString text() const
    {
        QStringList lines = m_lines;
        if (m_count > kShown)
            lines.append(translate("and %1 more.").arg(m_count - kShown));
        return lines.join(u'\n');
    }

private:
    QStringList m_lines;
    int m_count = 0;
};

// The rows of one sheet checked; the first bad cell ends the check with its message.
class RowChecker {
public:
    RowChecker(const SheetCells& sheet, const QString& path, bool xls) : m_sheet(sheet), m_path(path), m_xls(xls) {}

    // The cell's text, or nothing after the failure; an empty cell is a failure unless it may be empty.
    std::optional<QString> text(int row, int field, bool mayBeEmpty = false)
    {
        const Cell& cell = m_sheet.at(row, field);
        const QString where = QString::number(row);
        switch (cell.kind) {
        case CellKind::Empty:
            if (mayBeEmpty)
                return QString();
            // FreeXL gives no value for a formula, so an empty cell of an Excel 97-2003 workbook may be one.
            return fail(row, field,
                        m_xls ? translate("%1 row %2: the %3 is empty; if it holds a formula, save the workbook as "
                                          ".xlsx or .ods, as formulas of Excel 97-2003 workbooks can't be read")
                                    .arg(m_path, where, fieldName(field))
                              : translate("%1 row %2: the %3 is empty").arg(m_path, where, fieldName(field)));
        case CellKind::NoResult:
            return fail(row, field,
                        translate("%1 row %2: the %3 is a formula without a stored result; open and save the "
                                  "workbook in a spreadsheet program")
                            .arg(m_path, where, fieldName(field)));
        case CellKind::Error:
            return fail(row, field,
                        translate("%1 row %2: the %3 is the error value %4")
                            .arg(m_path, where, fieldName(field), calculation::excerpt(cell.text)));
        case CellKind::Unreadable:
            return fail(row, field,
                        translate("%1 row %2: the %3 can't be read: the workbook names a text it does not hold")
                            .arg(m_path, where, fieldName(field)));
        default:
            return cell.text;
        }
    }

    std::optional<float> number(int row, int field, const QString& text)
    {
        if (const std::optional<float> value = calculation::parseNumber(text))
            return value;
        return fail(row, field,
                    translate("%1 row %2: the %3 \"%4\" is not a number")
                        .arg(m_path, QString::number(row), fieldName(field), calculation::excerpt(text)));
    }

    std::optional<int32_t> integer(int row, const QString& text)
    {
        if (const std::optional<int32_t> value = calculation::parseInteger(text))
            return value;
        return fail(row, Qty,
                    translate("%1 row %2: the quantity \"%3\" is not a whole number")
                        .arg(m_path, QString::number(row), calculation::excerpt(text)));
    }

    const FileResult& result() const { return m_result; }

private:
    // The message names the file and the row itself, as the sheet's rows are numbered.
    std::nullopt_t fail(int row, int column, const QString& message)
    {
        m_result = fileFailure(message, m_path);
        m_result.row = row;
        m_result.column = column;
        return std::nullopt;
    }

    const SheetCells& m_sheet;
    const QString& m_path;
    bool m_xls;
    FileResult m_result;
};

// A priority as the stocks text lists take it; a boolean cell says "Yes" or "No".
QString priorityText(const Cell& cell, const QString& text)
{
    if (cell.kind == CellKind::Boolean)
        return cell.text == u"TRUE" ? translate("Yes") : translate("No");
    return text;
}

struct CheckedSheet {
    std::vector<SheetRow> rows;
    Totals totals;
    Notices notices;
};

FileResult collectRows(const SheetCells& sheet, const QString& path, bool withCost, bool xls, CheckedSheet& out)
{
    RowChecker check(sheet, path, xls);
    const QString yes = translate("Yes");
    const QString no = translate("No");
    for (int r = 1; r <= sheet.rowCount(); ++r) {
        if (sheet.isEmptyRow(r))
            continue;
        SheetRow row;
        std::optional<QString> label = check.text(r, Label);
        const std::optional<QString> length = label ? check.text(r, Length) : std::nullopt;
        const std::optional<QString> qty = length ? check.text(r, Qty) : std::nullopt;
        const std::optional<int32_t> qtyValue = qty ? check.integer(r, *qty) : std::nullopt;
        const std::optional<float> lengthValue = qtyValue ? check.number(r, Length, *length) : std::nullopt;
        if (!lengthValue)
            return check.result();
        if (replaceControlCharacters(*label))
            out.notices.add(translate("%1 row %2: control characters in the %3 became spaces")
                                .arg(path, QString::number(r), fieldName(Label)));
        row = {*label, *length, *qty, {}, {}};
        if (withCost) {
            const std::optional<QString> cost = check.text(r, Cost);
            const std::optional<float> costValue = cost ? check.number(r, Cost, *cost) : std::nullopt;
            std::optional<QString> priority = costValue ? check.text(r, Priority, true) : std::nullopt;
            if (!priority)
                return check.result();
            row.cost = *cost;
            row.priority = priorityText(sheet.at(r, Priority), *priority);
            if (replaceControlCharacters(row.priority))
                out.notices.add(translate("%1 row %2: control characters in the %3 became spaces")
                                    .arg(path, QString::number(r), fieldName(Priority)));
            if (!row.priority.isEmpty() && row.priority != yes && row.priority != no)
                out.notices.add(translate("%1 row %2: the priority \"%3\" is neither \"%4\" nor \"%5\" and counts as "
                                          "\"%5\"")
                                    .arg(path, QString::number(r), calculation::excerpt(row.priority), yes, no));
            out.totals.cost = addProduct(out.totals.cost, *costValue, *qtyValue);
        }
        out.totals.length = addProduct(out.totals.length, *lengthValue, *qtyValue);
        out.totals.qty += *qtyValue;
        out.rows.push_back(row);
    }
    return {};
}

FileResult importSheet(GridModel& grid, const SheetCells& sheet, const QString& path, bool withCost)
{
    CheckedSheet checked;
    if (sheet.sheetCount() > 1)
        checked.notices.add(translate("%1 has %2 sheets; the first one, \"%3\", was read")
                                .arg(path, QString::number(sheet.sheetCount()), sheet.firstSheetName()));
    if (FileResult result = collectRows(sheet, path, withCost, sheet.formulasUnread(), checked); !result.ok)
        return result;
    // Cutting back to the fixed rows first leaves no cell of the previous content behind.
    grid.setRows(GridModel::kFirstDataRow);
    grid.setRows(GridModel::kFirstDataRow + int(checked.rows.size()) + 1);
    int gridRow = GridModel::kFirstDataRow;
    for (const SheetRow& row : checked.rows) {
        grid.setCell(calculation::kLabelColumn, gridRow, row.label);
        grid.setCell(calculation::kLengthColumn, gridRow, row.length);
        grid.setCell(calculation::kQtyColumn, gridRow, row.qty);
        if (withCost) {
            grid.setCell(calculation::kCostColumn, gridRow, row.cost);
            grid.setCell(calculation::kPriorityColumn, gridRow, row.priority);
        }
        ++gridRow;
    }
    const Totals& totals = checked.totals;
    grid.setCell(calculation::kLengthColumn, GridModel::kTotalsRow, calculation::formatTotal(totals.length));
    grid.setCell(calculation::kQtyColumn, GridModel::kTotalsRow, QString::number(totals.qty));
    if (withCost) {
        grid.setCell(calculation::kCostColumn, GridModel::kTotalsRow, calculation::formatTotal(totals.cost));
        // Bars left over from an earlier plan say nothing about the new stocks.
        grid.setCell(calculation::kLeftQtyColumn, GridModel::kTotalsRow, QString());
    }
    return {true, QString(), checked.notices.text(), path, 0, 0, 0};
}

FileResult importWorkbook(GridModel& grid, const QString& path, WorkbookKind kind, bool withCost)
{
    SheetCells sheet;
    if (FileResult read = readWorkbookFile(path, kind, sheet); !read.ok)
        return read;
    return importSheet(grid, sheet, path, withCost);
}

} // namespace

bool replaceControlCharacters(QString& text)
{
    bool replaced = false;
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            c = u' ';
            replaced = true;
        }
    }
    return replaced;
}

FileResult ImportPartsSheet(GridModel& parts, const SheetCells& sheet, const QString& path)
{
    return importSheet(parts, sheet, path, false);
}

FileResult ImportStocksSheet(GridModel& stocks, const SheetCells& sheet, const QString& path)
{
    return importSheet(stocks, sheet, path, true);
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
