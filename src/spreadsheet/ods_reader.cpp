// OpenDocument spreadsheets: content.xml holds the tables, settings.xml names the active one. Repeated rows
// and cells are written out as often as they repeat, within the rows a sheet can have.

#include "readers.h"
#include "zip_package.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <memory>

namespace spreadsheet::detail {

namespace {

constexpr qint64 kMaxSettings = 16 * 1024 * 1024;
constexpr qint64 kRepeatedRowBytes = 1024;

// The "ActiveTable" item of the view settings; empty when there is none.
QString activeTable(const ZipPackage& package, ReadBudget& budget)
{
    const std::optional<QByteArray> bytes = package.smallMember(QStringLiteral("settings.xml"), budget, kMaxSettings);
    if (!bytes)
        return {};
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"config-item" &&
            attributeValue(xml.attributes(), u"name") == u"ActiveTable")
            return xml.readElementText();
    }
    return {};
}

// The text of a paragraph: spans and links give their text, text:s its blanks, tabs and line breaks
// their characters.
void paragraphText(QXmlStreamReader& xml, QString& text)
{
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            text += xml.text();
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"s") {
                const int count = attributeValue(xml.attributes(), u"c").toInt();
                text += QString(std::clamp(count, 1, 1000), u' ');
            } else if (xml.name() == u"tab") {
                text += u'\t';
            } else if (xml.name() == u"line-break") {
                text += u'\n';
            } else if (xml.name() == u"annotation" || xml.name() == u"note") {
                xml.skipCurrentElement();
                continue;
            }
            ++depth;
        }
    }
}

// LibreOffice keeps a boolean as a number whose data style shows it as TRUE or FALSE: the cell styles
// whose data style is a boolean one.
class BooleanStyles {
public:
    // Takes in a start element before the tables.
    void read(QXmlStreamReader& xml)
    {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"boolean-style")
            m_dataStyles.insert(attributeValue(attributes, u"name").toString());
        else if (xml.name() == u"style" && !attributeValue(attributes, u"data-style-name").isEmpty())
            m_cellStyles.insert(attributeValue(attributes, u"name").toString(),
                                attributeValue(attributes, u"data-style-name").toString());
    }
    bool isBoolean(QStringView cellStyle) const
    {
        return !cellStyle.isEmpty() && m_dataStyles.contains(m_cellStyles.value(cellStyle.toString()));
    }

private:
    QSet<QString> m_dataStyles;
    QHash<QString, QString> m_cellStyles;
};

class TableReader {
public:
    TableReader(SheetCells& sheet, ReadBudget& budget, const BooleanStyles& booleans)
        : m_sheet(sheet), m_budget(budget), m_booleans(booleans)
    {
    }

    // Reads from the start of a table element to its end.
    void read(QXmlStreamReader& xml)
    {
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"table")
                break;
            if (token == QXmlStreamReader::StartElement && xml.name() == u"table-row")
                readRow(xml);
        }
        fillMergedLabels(m_merges, m_sheet);
    }

private:
    void readRow(QXmlStreamReader& xml)
    {
        const int repeated = std::max(1, attributeValue(xml.attributes(), u"number-rows-repeated").toInt());
        const int first = m_row + 1;
        QVector<Cell> cells;
        int column = 0;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"table-row")
                break;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() != u"table-cell" && xml.name() != u"covered-table-cell") {
                xml.skipCurrentElement();
                continue;
            }
            const QXmlStreamAttributes attributes = xml.attributes();
            const int columns = std::max(1, attributeValue(attributes, u"number-columns-repeated").toInt());
            const int spanned = attributeValue(attributes, u"number-rows-spanned").toInt();
            if (column == 0 && spanned > 1)
                m_merges.append({first, 1, first + spanned - 1});
            if (column >= SheetCells::kKeptColumns) {
                xml.skipCurrentElement();
                continue;
            }
            const Cell value = cell(xml, attributes);
            for (int i = 0; i < columns && column < SheetCells::kKeptColumns; ++i, ++column)
                cells.append(value);
        }
        // Only rows with something in the kept columns are written out, however often they repeat.
        const bool empty =
            std::all_of(cells.begin(), cells.end(), [](const Cell& c) { return c.kind == CellKind::Empty; });
        const int last = int(std::min<qint64>(qint64(m_row) + repeated, SheetCells::kMaxRows));
        // Each row written out costs about what a row of its own in the file would.
        for (int row = first; !empty && row <= last && (row == first || m_budget.spend(kRepeatedRowBytes)); ++row)
            for (int c = 0; c < cells.size(); ++c)
                m_sheet.setCell(row, c + 1, cells[c]);
        m_row = last;
    }

    // Reads from the start of a cell element to its end.
    Cell cell(QXmlStreamReader& xml, const QXmlStreamAttributes& attributes) const
    {
        const QString type = attributeValue(attributes, u"value-type", u"office").toString();
        const bool formula = !attributeValue(attributes, u"formula").isNull();
        QString text;
        bool paragraphs = false;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement &&
                (xml.name() == u"table-cell" || xml.name() == u"covered-table-cell"))
                break;
            if (token == QXmlStreamReader::StartElement && xml.name() == u"p") {
                if (paragraphs)
                    text += u'\n';
                paragraphs = true;
                paragraphText(xml, text);
            } else if (token == QXmlStreamReader::StartElement) {
                xml.skipCurrentElement();
            }
        }
        if (attributeValue(attributes, u"value-type", u"calcext") == u"error")
            return {CellKind::Error, text};
        if (type.isEmpty())
            return formula ? Cell{CellKind::NoResult, {}} : Cell{};
        if (type == u"float" || type == u"percentage" || type == u"currency") {
            bool ok = false;
            const double number = attributeValue(attributes, u"value").toDouble(&ok);
            // Booleans are numbers with a boolean data style, or LibreOffice's formulas TRUE() and FALSE().
            const QStringView formula = attributeValue(attributes, u"formula");
            if (ok && (m_booleans.isBoolean(attributeValue(attributes, u"style-name")) ||
                       formula.endsWith(u"=TRUE()", Qt::CaseInsensitive) ||
                       formula.endsWith(u"=FALSE()", Qt::CaseInsensitive)))
                return {CellKind::Boolean, number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE")};
            return ok ? Cell{CellKind::Number, numberText(number)} : Cell{CellKind::Unreadable, {}};
        }
        if (type == u"boolean") {
            const QStringView value = attributeValue(attributes, u"boolean-value");
            return {CellKind::Boolean,
                    value == u"true" || value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE")};
        }
        if (type == u"date")
            return {CellKind::Text, attributeValue(attributes, u"date-value").left(10).toString()};
        if (type == u"string" && !attributeValue(attributes, u"string-value").isNull())
            text = attributeValue(attributes, u"string-value").toString();
        return {text.isEmpty() ? CellKind::Empty : CellKind::Text, text};
    }

    SheetCells& m_sheet;
    ReadBudget& m_budget;
    const BooleanStyles& m_booleans;
    int m_row = 0;
    QVector<MergedCells> m_merges;
};

} // namespace

ReadFailure readOdsPackage(const ZipPackage& package, ReadBudget& budget, SheetCells& sheet)
{
    const QString active = activeTable(package, budget);
    const std::unique_ptr<ZipMember> device = package.member(QStringLiteral("content.xml"), budget);
    if (!device)
        return ReadFailure::Damaged;
    QXmlStreamReader xml(device.get());
    bool tables = false;
    BooleanStyles booleans;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() != u"table") {
            booleans.read(xml);
            continue;
        }
        const QString name = attributeValue(xml.attributes(), u"name").toString();
        // Without a named active table, or with one that is missing, the first table is read.
        if (tables && name != active) {
            xml.skipCurrentElement();
            continue;
        }
        SheetCells table;
        TableReader(table, budget, booleans).read(xml);
        if (xml.hasError() || budget.exceeded())
            break;
        sheet = table;
        tables = true;
        if (active.isEmpty() || name == active)
            return ReadFailure::None;
    }
    if (xml.hasError() || budget.exceeded()) {
        sheet = SheetCells();
        return budget.exceeded() ? ReadFailure::TooLarge : ReadFailure::Damaged;
    }
    return tables ? ReadFailure::None : ReadFailure::NoSheet;
}

} // namespace spreadsheet::detail
