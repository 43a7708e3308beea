#include "readers.h"

#include "archive_parts.h"

#include <orcus/interface.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/sheet.hpp>
#include <orcus/spreadsheet/styles.hpp>
#include <orcus/spreadsheet/view.hpp>

#include <ixion/address.hpp>
#include <ixion/cell.hpp>
#include <ixion/cell_access.hpp>
#include <ixion/formula_result.hpp>
#include <ixion/model_context.hpp>

#include <QLocale>

#include <algorithm>
#include <exception>
#include <memory>
#include <string_view>

namespace spreadsheet::detail {

namespace {

namespace ss = orcus::spreadsheet;

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

bool isBuiltInDate(size_t identifier)
{
    return (identifier >= 14 && identifier <= 22) || (identifier >= 45 && identifier <= 47);
}

// A number format code shows a date or time when it has a date or time letter outside quotes and
// brackets ("[Red]", "[$-409]").
bool isDateCode(std::string_view code)
{
    bool quoted = false;
    bool bracketed = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '\\' || c == '_' || c == '*') {
            ++i; // the next character is shown literally or as padding
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '[') {
            bracketed = true;
        } else if (!quoted && c == ']') {
            bracketed = false;
        } else if (!quoted && !bracketed && std::string_view("yYdDhHsS").find(c) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

class SheetReader {
public:
    SheetReader(const ss::document& doc, ss::sheet_t index)
        : m_doc(doc), m_sheet(*doc.get_sheet(index)), m_context(doc.get_model_context()), m_index(index)
    {
    }

    void read(SheetCells& cells) const
    {
        const ixion::abs_range_t used = m_sheet.get_data_range();
        if (!used.valid())
            return;
        const ixion::row_t lastRow = used.last.row;
        const ixion::col_t lastColumn = std::min<ixion::col_t>(used.last.column, SheetCells::kKeptColumns - 1);
        cells.setRowCount(int(lastRow) + 1);
        for (ixion::row_t row = 0; row <= lastRow; ++row) {
            for (ixion::col_t column = 0; column <= lastColumn; ++column)
                cells.setCell(int(row) + 1, int(column) + 1, text(row, column));
        }
    }

private:
    QString text(ixion::row_t row, ixion::col_t column) const
    {
        const ixion::abs_address_t address(m_index, row, column);
        if (m_context.get_celltype(address) == ixion::celltype_t::formula)
            return formulaText(address);
        const ixion::cell_access cell = m_context.get_cell_access(address);
        switch (cell.get_value_type()) {
        case ixion::cell_value_t::string:
            return fromUtf8(cell.get_string_value());
        case ixion::cell_value_t::numeric:
            return isDate(row, column) ? dateText(row, column) : numberText(cell.get_numeric_value());
        case ixion::cell_value_t::boolean:
            return cell.get_boolean_value() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case ixion::cell_value_t::error:
            return fromUtf8(ixion::get_formula_error_name(cell.get_error_value()));
        default:
            return {};
        }
    }

    // The result the workbook stored with the formula; nothing is recalculated, and a formula without a
    // stored result reads as "#N/A" rather than waiting for a calculation that never comes.
    QString formulaText(const ixion::abs_address_t& address) const
    {
        const ixion::formula_cell* formula = m_context.get_formula_cell(address);
        if (!formula)
            return {};
        try {
            const ixion::formula_result result =
                formula->get_result_cache(ixion::formula_result_wait_policy_t::throw_exception);
            switch (result.get_type()) {
            case ixion::formula_result::result_type::value:
                return isDate(address.row, address.column) ? dateText(address.row, address.column)
                                                           : numberText(result.get_value());
            case ixion::formula_result::result_type::string:
                return QString::fromStdString(result.get_string());
            case ixion::formula_result::result_type::error:
                return fromUtf8(ixion::get_formula_error_name(result.get_error()));
            default:
                break;
            }
        } catch (const std::exception&) {
        }
        return QStringLiteral("#N/A");
    }

    // A cell's format names its number format by identifier: one of the workbook's own, else a built-in.
    bool isDate(ixion::row_t row, ixion::col_t column) const
    {
        const ss::styles& styles = m_doc.get_styles();
        const size_t xf = m_sheet.get_cell_format(row, column);
        if (xf >= styles.get_cell_formats_count())
            return false;
        const size_t identifier = styles.get_cell_format(xf)->number_format;
        for (size_t i = 0; i < styles.get_number_format_count(); ++i) {
            const ss::number_format_t* format = styles.get_number_format(i);
            if (format && format->identifier == identifier && !format->format_string.empty())
                return isDateCode(format->format_string);
        }
        return isBuiltInDate(identifier);
    }

    QString dateText(ixion::row_t row, ixion::col_t column) const
    {
        const orcus::date_time_t date = m_sheet.get_date_time(row, column);
        return QStringLiteral("%1-%2-%3")
            .arg(date.year, 4, 10, QChar(u'0'))
            .arg(date.month, 2, 10, QChar(u'0'))
            .arg(date.day, 2, 10, QChar(u'0'));
    }

    const ss::document& m_doc;
    const ss::sheet& m_sheet;
    const ixion::model_context& m_context;
    ss::sheet_t m_index;
};

} // namespace

calculation::FileResult readOrcusWorkbook(QByteArrayView bytes, bool ods, SheetCells& sheet)
{
    sheet = SheetCells();
    try {
        ss::document doc({1048576, 16384});
        ss::view view(doc);
        ss::import_factory factory(doc, view);
        // Stored results are shown as they are; recalculating a hostile workbook could take for ever.
        factory.set_recalc_formula_cells(false);
        std::unique_ptr<orcus::iface::import_filter> filter;
        if (ods)
            filter = std::make_unique<orcus::orcus_ods>(&factory);
        else
            filter = std::make_unique<orcus::orcus_xlsx>(&factory);
        filter->read_stream(std::string_view(bytes.data(), size_t(bytes.size())));
        if (!ods) {
            // Better no import than rows whose labels went missing without a word.
            if (const std::optional<QString> unreadable = xlsxUnreadableParts(bytes))
                return cantStart(*unreadable);
        }
        if (doc.get_sheet_count() == 0)
            return cantStart(QStringLiteral("the workbook has no sheet"));
        ss::sheet_t active = view.get_active_sheet();
        if (ods) {
            if (const std::optional<std::string> name = odsActiveTable(bytes))
                active = doc.get_sheet_index(*name);
        }
        if (active < 0 || size_t(active) >= doc.get_sheet_count())
            active = 0;
        SheetReader(doc, active).read(sheet);
        return {};
    } catch (const std::exception& error) {
        sheet = SheetCells();
        // Orcus's archive errors come without a text.
        const QString reason = QString::fromUtf8(error.what());
        return cantStart(!reason.isEmpty()
                             ? reason
                             : QStringLiteral("the file is damaged or no %1 workbook")
                                   .arg(ods ? QStringLiteral("OpenDocument") : QStringLiteral("Excel 2007+")));
    }
}

} // namespace spreadsheet::detail
