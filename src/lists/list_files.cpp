#include "lists/list_files.h"

#include "calculation/grids.h"
#include "calculation/number_text.h"
#include "calculation/tab_fields.h"
#include "lists/ignored_text.h"
#include "lists/split_fields.h"
#include "localization/translate.h"
#include "spreadsheet/sheet_import.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace lists {

using calculation::GridModel;
using calculation::kCostColumn;
using calculation::kLabelColumn;
using calculation::kLeftQtyColumn;
using calculation::kLengthColumn;
using calculation::kPriorityColumn;
using calculation::kQtyColumn;
using localization::translate;

namespace {

// Where the parts layouts keep their fields (0-based); SFCAD and MST end at a line without length.
struct PartsLayout {
    int skippedLines;
    int label;
    int length;
    int qty;
    bool emptyLengthEndsData;

    int fieldsUsed() const { return std::max({label, length, qty}) + 1; }
};

PartsLayout partsLayout(int format)
{
    switch (format) {
    case kPartsSfcad:
        return {3, 1, 3, 5, true};
    case kPartsMst:
        return {3, 0, 5, 6, true};
    default:
        return {0, 0, 1, 2, false};
    }
}

// One line being read; the first failure is kept as the load's result.
class LineReader {
public:
    LineReader(QStringView line, const QString& path, int lineNumber)
        : m_fields(SplitFields(line)), m_path(path), m_lineNumber(lineNumber)
    {
    }

    bool isEmpty() const { return m_fields.isEmpty(); }
    qsizetype size() const { return m_fields.size(); }
    const FileResult& result() const { return m_result; }
    // The fields from `used` on, which the layout does not read.
    QStringList extraFields(int used) const { return m_fields.mid(used); }
    const QStringList& fields() const { return m_fields; }

    std::optional<QString> field(int index)
    {
        if (index < m_fields.size())
            return m_fields[index];
        return fail(translate("List index out of bounds (%1)").arg(index));
    }

    std::optional<int32_t> integer(const QString& text)
    {
        if (const std::optional<int32_t> value = calculation::parseInteger(text))
            return value;
        return fail(translate("'%1' is not a valid integer value").arg(calculation::excerpt(text)));
    }

    std::optional<float> number(const QString& text)
    {
        if (const std::optional<float> value = calculation::parseNumber(text))
            return value;
        return fail(translate("'%1' is not a valid floating point value").arg(calculation::excerpt(text)));
    }

private:
    std::nullopt_t fail(const QString& message)
    {
        m_result = fileFailure(message, m_path, m_lineNumber);
        return std::nullopt;
    }

    QStringList m_fields;
    QString m_path;
    int m_lineNumber;
    FileResult m_result;
};

using spreadsheet::WorkbookKind;

// The workbook formats, after the text layouts in both open dialogs.
std::optional<WorkbookKind> workbookKind(int format, int firstWorkbookFormat)
{
    static constexpr WorkbookKind kinds[] = {WorkbookKind::Xls, WorkbookKind::Xlsx, WorkbookKind::Ods,
                                             WorkbookKind::Csv};
    const int index = format - firstWorkbookFormat;
    if (index < 0 || index >= int(std::size(kinds)))
        return std::nullopt;
    return kinds[index];
}

} // namespace

std::optional<WorkbookKind> partsWorkbookKind(int format)
{
    return workbookKind(format, kPartsExcel);
}

std::optional<WorkbookKind> stocksWorkbookKind(int format)
{
    return workbookKind(format, kStocksExcel);
}

FileResult LoadPartsFile(GridModel& parts, const QString& path, int format)
{
    if (path.isEmpty())
        return {};
    if (const std::optional<WorkbookKind> kind = partsWorkbookKind(format))
        return spreadsheet::ImportPartsWorkbook(parts, path, *kind);
    QString text;
    if (const FileResult read = readTextFile(path, text); !read.ok)
        return read;
    return LoadPartsText(parts, text, format, path);
}

FileResult LoadPartsText(GridModel& parts, QStringView text, int format, const QString& path)
{
    const PartsLayout layout = partsLayout(format);
    parts.setRows(GridModel::kFirstDataRow + 1);
    int row = GridModel::kFirstDataRow;
    float totalLength = 0;
    qint64 totalQty = 0;
    IgnoredText ignored;
    LineWalker lines(text);
    QStringView lineText;
    for (int skipped = 0; skipped < layout.skippedLines; ++skipped)
        lines.next(lineText);
    for (int lineNumber = layout.skippedLines + 1; lines.next(lineText); ++lineNumber) {
        LineReader line(lineText, path, lineNumber);
        if (line.isEmpty())
            continue;
        const std::optional<QString> label = line.field(layout.label);
        const std::optional<QString> length = label ? line.field(layout.length) : std::nullopt;
        if (!length)
            return line.result();
        if (layout.emptyLengthEndsData && length->isEmpty())
            break;
        const std::optional<QString> qty = line.field(layout.qty);
        if (!qty)
            return line.result();

        parts.setCell(kLabelColumn, row, *label);
        parts.setCell(kLengthColumn, row, *length);
        parts.setCell(kQtyColumn, row, *qty);
        const std::optional<int32_t> qtyValue = line.integer(*qty);
        const std::optional<float> lengthValue = qtyValue ? line.number(*length) : std::nullopt;
        if (!lengthValue)
            return line.result();
        if (line.size() > layout.fieldsUsed())
            ignored.addExtraFields(lineNumber, line.extraFields(layout.fieldsUsed()));
        totalLength = addToTotal(totalLength, *lengthValue, *qtyValue);
        totalQty += *qtyValue;
        parts.setRows(++row + 1);
    }
    parts.setCell(kLengthColumn, GridModel::kTotalsRow, calculation::formatTotal(totalLength));
    parts.setCell(kQtyColumn, GridModel::kTotalsRow, QString::number(totalQty));
    parts.clearCells(row, kLabelColumn, kQtyColumn);
    return {true, QString(), ignored.message(path), path, 0, 0, 0};
}

FileResult LoadStocksFile(GridModel& stocks, const QString& path, int format)
{
    if (path.isEmpty())
        return {};
    if (const std::optional<WorkbookKind> kind = stocksWorkbookKind(format))
        return spreadsheet::ImportStocksWorkbook(stocks, path, *kind);
    QString text;
    if (const FileResult read = readTextFile(path, text); !read.ok)
        return read;
    return LoadStocksText(stocks, text, path);
}

FileResult LoadStocksText(GridModel& stocks, QStringView text, const QString& path)
{
    stocks.setRows(GridModel::kFirstDataRow + 1);
    int row = GridModel::kFirstDataRow;
    float totalLength = 0;
    float totalCost = 0;
    qint64 totalQty = 0;
    const QString yes = translate("Yes");
    const QString no = translate("No");
    IgnoredText ignored;
    LineWalker lines(text);
    QStringView lineText;
    for (int lineNumber = 1; lines.next(lineText); ++lineNumber) {
        LineReader line(lineText, path, lineNumber);
        if (line.isEmpty())
            continue;
        std::optional<QString> label = line.field(kLabelColumn);
        std::optional<QString> length = label ? line.field(kLengthColumn) : std::nullopt;
        std::optional<QString> qty = length ? line.field(kQtyColumn) : std::nullopt;
        if (!qty)
            return line.result();
        const StockFields texts = completeStockFields(line.fields());
        const QString& cost = texts.cost;
        const QString& priority = texts.priority;

        stocks.setCell(kLabelColumn, row, *label);
        stocks.setCell(kLengthColumn, row, *length);
        stocks.setCell(kQtyColumn, row, *qty);
        stocks.setCell(kCostColumn, row, cost);
        stocks.setCell(kPriorityColumn, row, priority);
        stocks.setCell(kLeftQtyColumn, row, QString());
        const std::optional<int32_t> qtyValue = line.integer(*qty);
        const std::optional<float> lengthValue = qtyValue ? line.number(*length) : std::nullopt;
        const std::optional<float> costValue = lengthValue ? line.number(cost) : std::nullopt;
        if (!costValue)
            return line.result();
        if (priority != yes && priority != no)
            ignored.addPriority(lineNumber, priority);
        if (line.size() > kPriorityColumn + 1)
            ignored.addExtraFields(lineNumber, line.extraFields(kPriorityColumn + 1));
        totalLength = addToTotal(totalLength, *lengthValue, *qtyValue);
        totalCost = addToTotal(totalCost, *costValue, *qtyValue);
        totalQty += *qtyValue;
        stocks.setRows(++row + 1);
    }
    stocks.setCell(kLengthColumn, GridModel::kTotalsRow, calculation::formatTotal(totalLength));
    stocks.setCell(kQtyColumn, GridModel::kTotalsRow, QString::number(totalQty));
    stocks.setCell(kCostColumn, GridModel::kTotalsRow, calculation::formatTotal(totalCost));
    stocks.setCell(kLeftQtyColumn, GridModel::kTotalsRow, QString());
    stocks.clearCells(row, kLabelColumn, kLeftQtyColumn);
    return {true, QString(), ignored.message(path), path, 0, 0, 0};
}

float addToTotal(float total, float value, int32_t qty)
{
    return float(double(total) + double(value) * qty);
}

StockFields completeStockFields(const QStringList& fields)
{
    StockFields stock{fields.value(kLabelColumn), fields.value(kLengthColumn), fields.value(kQtyColumn),
                      fields.value(kCostColumn), fields.value(kPriorityColumn)};
    if (stock.cost.isEmpty())
        stock.cost = QStringLiteral("0");
    if (stock.priority.isEmpty())
        stock.priority = translate("Yes");
    return stock;
}

QString stockLine(const StockFields& stock)
{
    const QString cost = stock.cost.isEmpty() ? QStringLiteral("0") : stock.cost;
    return calculation::tabLine({stock.label, stock.length, stock.qty, cost, stock.priority});
}

FileResult SavePartsFile(const GridModel& parts, const QString& path)
{
    QStringList lines;
    for (int row = GridModel::kFirstDataRow; row < parts.rows(); ++row) {
        if (parts.cell(kLabelColumn, row).isEmpty())
            continue;
        lines.append(calculation::tabLine(
            {parts.cell(kLabelColumn, row), parts.cell(kLengthColumn, row), parts.cell(kQtyColumn, row)}));
    }
    return writeTextLines(path, lines);
}

FileResult SaveStocksFile(const GridModel& stocks, const QString& path)
{
    QStringList lines;
    for (int row = GridModel::kFirstDataRow; row < stocks.rows(); ++row) {
        if (stocks.cell(kLabelColumn, row).isEmpty())
            continue;
        lines.append(
            stockLine({stocks.cell(kLabelColumn, row), stocks.cell(kLengthColumn, row), stocks.cell(kQtyColumn, row),
                       stocks.cell(kCostColumn, row), stocks.cell(kPriorityColumn, row)}));
    }
    return writeTextLines(path, lines);
}

} // namespace lists
