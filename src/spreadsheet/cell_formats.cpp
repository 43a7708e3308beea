#include "readers.h"

#include <QDate>

#include <cmath>

namespace spreadsheet::detail {

QStringView attributeValue(const QXmlStreamAttributes& attributes, QStringView localName, QStringView inNamespace)
{
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() == localName && (inNamespace.isEmpty() || attribute.namespaceUri().contains(inNamespace)))
            return attribute.value();
    }
    return {};
}

bool isBuiltInDateFormat(int identifier)
{
    return (identifier >= 14 && identifier <= 22) || (identifier >= 45 && identifier <= 47);
}

// A date or time letter outside quotes and brackets ("[Red]", "[$-409]").
bool isDateFormatCode(QStringView code)
{
    bool quoted = false;
    bool bracketed = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'\\' || c == u'_' || c == u'*') {
            ++i; // the next character is shown literally or as padding
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u'[') {
            bracketed = true;
        } else if (!quoted && c == u']') {
            bracketed = false;
        } else if (!quoted && !bracketed && QStringView(u"yYdDhHsS").contains(c)) {
            return true;
        }
    }
    return false;
}

QString serialDateText(double serial, bool from1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958465)
        return QString::number(serial);
    const qint64 days = qint64(std::floor(serial));
    QDate date;
    if (from1904)
        date = QDate(1904, 1, 1).addDays(days);
    else if (days >= 61)
        date = QDate(1899, 12, 30).addDays(days); // the 1900 system counts a 29 February 1900
    else
        date = QDate(1899, 12, 31).addDays(days - 1);
    return date.toString(Qt::ISODate);
}

void fillMergedLabels(const QVector<MergedCells>& merges, SheetCells& sheet)
{
    for (const MergedCells& merge : merges) {
        if (merge.column != 1 || merge.lastRow <= merge.row)
            continue;
        const Cell label = sheet.at(merge.row, 1);
        if (label.kind == CellKind::Empty)
            continue;
        const int last = std::min(merge.lastRow, sheet.rowCount());
        for (int row = merge.row + 1; row <= last; ++row) {
            if (sheet.at(row, 1).kind == CellKind::Empty && !sheet.isEmptyRow(row))
                sheet.setCell(row, 1, label);
        }
    }
}

} // namespace spreadsheet::detail
