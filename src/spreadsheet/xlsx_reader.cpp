// Excel 2007+ workbooks: the package's relationships lead from the workbook to its active sheet, its shared
// texts and its styles. Elements are matched by their local names, so strict Office Open XML and any
// namespace prefix read alike; part names may be relative or absolute.

#include "readers.h"
#include "zip_package.h"

#include <QHash>
#include <QXmlStreamReader>

#include <memory>

namespace spreadsheet::detail {

namespace {

constexpr qint64 kMaxSmallPart = 16 * 1024 * 1024;

// Where a relationship's target lies: absolute, or relative to the folder of the part that names it.
QString resolveTarget(const QString& sourcePart, const QString& target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    QStringList path = sourcePart.split(u'/');
    path.removeLast();
    for (const QString& piece : target.split(u'/')) {
        if (piece == u"..") {
            if (!path.isEmpty())
                path.removeLast();
        } else if (!piece.isEmpty() && piece != u".") {
            path.append(piece);
        }
    }
    return path.join(u'/');
}

QString relationshipsPart(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

struct Relationship {
    QString type;
    QString target;
};

// Relationship ids to their kinds (the last word of the type) and resolved targets.
QHash<QString, Relationship> relationships(const ZipPackage& package, const QString& part, ReadBudget& budget)
{
    QHash<QString, Relationship> found;
    const std::optional<QByteArray> bytes = package.smallMember(relationshipsPart(part), budget, kMaxSmallPart);
    if (!bytes)
        return found;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributeValue(attributes, u"TargetMode") == u"External")
            continue;
        const QString type = attributeValue(attributes, u"Type").toString();
        found.insert(attributeValue(attributes, u"Id").toString(),
                     {type.mid(type.lastIndexOf(u'/') + 1),
                      resolveTarget(part, attributeValue(attributes, u"Target").toString())});
    }
    return found;
}

QString targetOfKind(const QHash<QString, Relationship>& rels, QStringView kind)
{
    for (const Relationship& rel : rels)
        if (rel.type == kind)
            return rel.target;
    return {};
}

// The text of a shared or inline string: its runs joined, phonetic readings left out.
QString stringItem(QXmlStreamReader& xml)
{
    QString text;
    const QString end = xml.name().toString();
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == end)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"rPh" || xml.name() == u"phoneticPr")
            xml.skipCurrentElement();
        else if (xml.name() == u"t")
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return text;
}

struct Workbook {
    QString sheetPart;
    QString sharedStringsPart;
    QString stylesPart;
    bool from1904 = false;
};

std::optional<Workbook> workbook(const ZipPackage& package, ReadBudget& budget)
{
    QString part = targetOfKind(relationships(package, QString(), budget), u"officeDocument");
    if (part.isEmpty())
        part = QStringLiteral("xl/workbook.xml");
    const std::optional<QByteArray> bytes = package.smallMember(part, budget, kMaxSmallPart);
    if (!bytes)
        return std::nullopt;
    const QHash<QString, Relationship> rels = relationships(package, part, budget);
    Workbook book{{}, targetOfKind(rels, u"sharedStrings"), targetOfKind(rels, u"styles")};
    QStringList sheetIds;
    int active = 0;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"sheet") {
            // The relationship id is the only attribute named "id" whatever its namespace prefix.
            for (const QXmlStreamAttribute& attribute : attributes)
                if (attribute.name() == u"id")
                    sheetIds.append(attribute.value().toString());
        } else if (xml.name() == u"workbookView" && !attributeValue(attributes, u"activeTab").isNull()) {
            active = attributeValue(attributes, u"activeTab").toInt();
        } else if (xml.name() == u"workbookPr") {
            const QStringView date1904 = attributeValue(attributes, u"date1904");
            book.from1904 = date1904 == u"1" || date1904 == u"true";
        }
    }
    if (xml.hasError() || sheetIds.isEmpty())
        return std::nullopt;
    if (active < 0 || active >= sheetIds.size())
        active = 0;
    book.sheetPart = rels.value(sheetIds[active]).target;
    return book;
}

QStringList sharedStrings(const ZipPackage& package, const QString& part, ReadBudget& budget, bool& ok)
{
    QStringList strings;
    ok = true;
    if (part.isEmpty())
        return strings;
    const std::unique_ptr<ZipMember> device = package.member(part, budget);
    if (!device)
        return strings;
    QXmlStreamReader xml(device.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.append(stringItem(xml));
    }
    ok = !xml.hasError();
    return strings;
}

// Which cell formats show dates, by index.
QVector<bool> dateFormats(const ZipPackage& package, const QString& part, ReadBudget& budget)
{
    QVector<bool> dates;
    const std::optional<QByteArray> bytes =
        part.isEmpty() ? std::nullopt : package.smallMember(part, budget, kMaxSmallPart);
    if (!bytes)
        return dates;
    QHash<int, bool> codes;
    bool inCellFormats = false;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
            inCellFormats = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"numFmt")
            codes.insert(attributeValue(attributes, u"numFmtId").toInt(),
                         isDateFormatCode(attributeValue(attributes, u"formatCode")));
        else if (xml.name() == u"cellXfs")
            inCellFormats = true;
        else if (inCellFormats && xml.name() == u"xf") {
            const int id = attributeValue(attributes, u"numFmtId").toInt();
            dates.append(codes.contains(id) ? codes.value(id) : isBuiltInDateFormat(id));
        }
    }
    return dates;
}

// "B12" as row 12, column 2; false when it is no cell reference.
bool cellReference(QStringView reference, int& row, int& column)
{
    qsizetype i = 0;
    qint64 c = 0;
    qint64 r = 0;
    for (; i < reference.size() && reference[i].isLetter() && c <= 16384; ++i)
        c = c * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    for (qsizetype digits = i; digits < reference.size() && r <= SheetCells::kMaxRows; ++digits) {
        if (!reference[digits].isDigit())
            return false;
        r = r * 10 + reference[digits].digitValue();
    }
    if (i == 0 || i == reference.size() || c > 16384 || r < 1)
        return false;
    row = int(std::min<qint64>(r, SheetCells::kMaxRows + 1));
    column = int(c);
    return true;
}

class SheetReader {
public:
    SheetReader(const QStringList& strings, const QVector<bool>& dates, bool from1904)
        : m_strings(strings), m_dates(dates), m_from1904(from1904)
    {
    }

    bool read(QIODevice* device, SheetCells& sheet)
    {
        QXmlStreamReader xml(device);
        int row = 0;
        int column = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (xml.name() == u"row") {
                const int numbered = attributeValue(attributes, u"r").toInt();
                row = numbered > 0 ? numbered : row + 1;
                column = 0;
            } else if (xml.name() == u"c") {
                // A cell's own reference wins over the count of cells and rows before it.
                if (!cellReference(attributeValue(attributes, u"r"), row, column))
                    ++column;
                if (column > SheetCells::kKeptColumns || row < 1)
                    xml.skipCurrentElement();
                else
                    sheet.setCell(row, column, cell(xml, attributes));
            } else if (xml.name() == u"mergeCell") {
                const QStringList range = attributeValue(attributes, u"ref").toString().split(u':');
                MergedCells merge{};
                int lastColumn = 0;
                if (range.size() == 2 && cellReference(range[0], merge.row, merge.column) &&
                    cellReference(range[1], merge.lastRow, lastColumn))
                    m_merges.append(merge);
            }
        }
        fillMergedLabels(m_merges, sheet);
        return !xml.hasError();
    }

private:
    Cell cell(QXmlStreamReader& xml, const QXmlStreamAttributes& attributes) const
    {
        const QString type = attributeValue(attributes, u"t").toString();
        const int style = attributeValue(attributes, u"s").toInt();
        bool formula = false;
        bool valued = false;
        QString value;
        QString inlineText;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"c")
                break;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"f") {
                formula = true;
                xml.skipCurrentElement();
            } else if (xml.name() == u"v") {
                value = xml.readElementText();
                valued = true;
            } else if (xml.name() == u"is") {
                inlineText = stringItem(xml);
                valued = true;
            }
        }
        if (!valued || (formula && value.isEmpty() && type != u"str" && type != u"inlineStr"))
            return formula ? Cell{CellKind::NoResult, {}} : Cell{};
        return typedCell(type, value, inlineText, style);
    }

    Cell typedCell(const QString& type, const QString& value, const QString& inlineText, int style) const
    {
        if (type == u"s") {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= m_strings.size())
                return {CellKind::Unreadable, {}};
            return textCell(m_strings[index]);
        }
        if (type == u"inlineStr")
            return textCell(inlineText);
        if (type == u"str")
            return textCell(value);
        if (type == u"b")
            return {CellKind::Boolean, value.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE")};
        if (type == u"e")
            return {CellKind::Error, value.trimmed()};
        if (type == u"d")
            return {CellKind::Text, value.left(10)};
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        if (!ok)
            return {CellKind::Unreadable, {}};
        if (style >= 0 && style < m_dates.size() && m_dates[style])
            return {CellKind::Text, serialDateText(number, m_from1904)};
        return {CellKind::Number, numberText(number)};
    }

    static Cell textCell(const QString& text) { return {text.isEmpty() ? CellKind::Empty : CellKind::Text, text}; }

    const QStringList& m_strings;
    const QVector<bool>& m_dates;
    bool m_from1904;
    QVector<MergedCells> m_merges;
};

ReadFailure failureOf(const ReadBudget& budget)
{
    return budget.exceeded() ? ReadFailure::TooLarge : ReadFailure::Damaged;
}

} // namespace

ReadFailure readXlsxPackage(const ZipPackage& package, ReadBudget& budget, SheetCells& sheet)
{
    const std::optional<Workbook> book = workbook(package, budget);
    if (!book)
        return budget.exceeded() ? ReadFailure::TooLarge : ReadFailure::NoSheet;
    bool stringsRead = true;
    const QStringList strings = sharedStrings(package, book->sharedStringsPart, budget, stringsRead);
    if (!stringsRead)
        return failureOf(budget);
    const QVector<bool> dates = dateFormats(package, book->stylesPart, budget);
    const std::unique_ptr<ZipMember> device = package.member(book->sheetPart, budget);
    if (!device)
        return ReadFailure::NoSheet;
    if (!SheetReader(strings, dates, book->from1904).read(device.get(), sheet)) {
        sheet = SheetCells();
        return failureOf(budget);
    }
    return ReadFailure::None;
}

} // namespace spreadsheet::detail
