#include "piece_labels.h"

#include "calculation/number_text.h"
#include "localization/translate.h"

namespace labels {

using localization::translate;

namespace {

const QString kMagic = QStringLiteral("BARVIK1");

QString escaped(const QString& value)
{
    QString text;
    for (const QChar c : value) {
        if (c == u'\\' || c == u';')
            text += u'\\' + QString(c);
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            text += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            text += c;
    }
    return text;
}

QString unescaped(const QString& value)
{
    QString text;
    for (qsizetype at = 0; at < value.size(); ++at) {
        if (value[at] != u'\\' || at + 1 >= value.size()) {
            text += value[at];
        } else if (value[at + 1] == u'x' && at + 3 < value.size()) {
            text += QChar(value.mid(at + 2, 2).toUShort(nullptr, 16));
            at += 3;
        } else {
            text += value[++at];
        }
    }
    return text;
}

// Splits at the semicolons that no backslash escapes.
QStringList fieldsOf(const QString& text)
{
    QStringList fields(QString{});
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == u'\\' && at + 1 < text.size()) {
            fields.last() += text.mid(at, 2);
            ++at;
        } else if (text[at] == u';') {
            fields.append(QString());
        } else {
            fields.last() += text[at];
        }
    }
    return fields;
}

} // namespace

std::vector<PieceLabel> pieceLabels(const diagrams::PlanDiagrams& plan)
{
    std::vector<PieceLabel> labels;
    for (const diagrams::BarDiagram& bar : plan.bars) {
        for (int k = 1; k <= bar.times; ++k) {
            PieceLabel common;
            common.layout = bar.number;
            common.bar = k;
            common.bars = bar.times;
            common.stock = bar.stockLabel;
            int piece = 0;
            for (const diagrams::Segment& segment : bar.segments) {
                if (segment.kind != diagrams::SegmentKind::Piece)
                    continue;
                PieceLabel label = common;
                const diagrams::PartKey& part = plan.parts[size_t(segment.partKind)];
                label.label = part.label;
                label.length = part.lengthText;
                label.piece = ++piece;
                label.position = calculation::formatLength(segment.start + segment.length, plan.formatIndex);
                labels.push_back(label);
            }
            if (!bar.remnantLabel.isEmpty()) {
                PieceLabel remnant = common;
                remnant.remnant = true;
                remnant.label = bar.remnantLabel;
                remnant.length = bar.leftText;
                labels.push_back(remnant);
            }
        }
    }
    return labels;
}

QString barcodeText(const PieceLabel& label, const LabelJob& job)
{
    QStringList fields{kMagic, QStringLiteral("JOB=") + escaped(job.title)};
    fields << (label.remnant ? QStringLiteral("REMNANT=") : QStringLiteral("PART=")) + escaped(label.label)
           << QStringLiteral("LEN=") + escaped(label.length) << QStringLiteral("UNIT=") + escaped(job.unit);
    if (label.remnant)
        fields << QStringLiteral("STOCK=") + escaped(label.stock);
    fields << QStringLiteral("LAYOUT=%1").arg(label.layout)
           << QStringLiteral("BAR=%1/%2").arg(label.bar).arg(label.bars);
    if (!label.remnant)
        fields << QStringLiteral("POS=") + escaped(label.position);
    return fields.join(u';');
}

QMap<QString, QString> barcodeFields(const QString& text)
{
    const QStringList fields = fieldsOf(text);
    QMap<QString, QString> values;
    if (fields.isEmpty() || fields.first() != kMagic)
        return values;
    for (qsizetype index = 1; index < fields.size(); ++index) {
        const qsizetype equals = fields[index].indexOf(u'=');
        if (equals > 0)
            values.insert(fields[index].left(equals), unescaped(fields[index].mid(equals + 1)));
    }
    return values;
}

QStringList labelOrigin(const PieceLabel& label)
{
    const QString bar =
        translate("Layout %1, bar %2 of %3")
            .arg(QString::number(label.layout), QString::number(label.bar), QString::number(label.bars));
    if (label.remnant)
        return {bar, translate("Remnant of %1").arg(label.stock)};
    return {bar, translate("Piece %1, cut at %2").arg(QString::number(label.piece), label.position)};
}

} // namespace labels
