#include "readers.h"

#include "calculation/number_text.h"

#include <orcus/csv_parser.hpp>

#include <exception>

namespace spreadsheet::detail {

namespace {

// Collects the cells as the parser hands them over, one sheet row per record.
class CsvCollector {
public:
    explicit CsvCollector(SheetCells& sheet) : m_sheet(sheet) {}

    void begin_parse() {}
    void end_parse() {}
    void begin_row()
    {
        ++m_row;
        m_column = 0;
    }
    void end_row() {}
    void cell(const char* p, size_t n, bool /*transient*/)
    {
        ++m_column;
        m_sheet.setCell(m_row, m_column, QString::fromUtf8(p, qsizetype(n)));
        if (m_row == 1)
            m_firstRowCells = m_column;
    }

    int firstRowCells() const { return m_firstRowCells; }

private:
    SheetCells& m_sheet;
    int m_row = 0;
    int m_column = 0;
    int m_firstRowCells = 0;
};

int parse(QByteArrayView text, char delimiter, SheetCells& sheet)
{
    orcus::csv::parser_config config;
    config.delimiters = std::string(1, delimiter);
    config.text_qualifier = '"';
    config.trim_cell_value = true;
    CsvCollector collector(sheet);
    orcus::csv_parser<CsvCollector> parser(text.data(), size_t(text.size()), collector, config);
    parser.parse();
    return collector.firstRowCells();
}

// A first row whose length and quantity are no numbers names the columns: it is emptied, so the rows
// below keep their numbers in messages.
void dropHeaderRow(SheetCells& sheet)
{
    if (sheet.rowCount() == 0 || calculation::parseNumber(sheet.cell(1, 2)) ||
        calculation::parseInteger(sheet.cell(1, 3)))
        return;
    for (int column = 1; column <= SheetCells::kKeptColumns; ++column)
        sheet.setCell(1, column, QString());
}

} // namespace

ReadFailure readCsv(QByteArrayView bytes, SheetCells& sheet)
{
    sheet = SheetCells();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (bytes.contains('\0'))
        return ReadFailure::Damaged;
    // Orcus's CSV parser takes only LF as the end of a record and stumbles over the CR before it that
    // RFC 4180 and Windows write.
    QByteArray text = bytes.toByteArray();
    text.replace("\r\n", "\n");
    // TABs separate in the program's own exports and in text saved from a spreadsheet program;
    // semicolons where the decimal separator is a comma. A file whose first row a separator does not cut
    // into fields, or that does not parse with it, is read with the next one, and at last with commas.
    const qsizetype lineEnd = text.indexOf('\n');
    const QByteArrayView firstLine = QByteArrayView(text).first(lineEnd < 0 ? text.size() : lineEnd);
    for (const char delimiter : {'\t', ';'}) {
        if (!firstLine.isEmpty() && !firstLine.contains(delimiter))
            continue;
        try {
            if (parse(text, delimiter, sheet) >= 2) {
                dropHeaderRow(sheet);
                return ReadFailure::None;
            }
        } catch (const std::exception&) {
        }
        sheet = SheetCells();
    }
    try {
        parse(text, ',', sheet);
    } catch (const std::exception&) {
        sheet = SheetCells();
        return ReadFailure::Damaged;
    }
    dropHeaderRow(sheet);
    return ReadFailure::None;
}

} // namespace spreadsheet::detail
