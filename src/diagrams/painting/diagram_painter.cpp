#include "diagram_painter.h"

#include "diagrams/bar_scale.h"

#include <QFontMetrics>
#include <QPainter>

namespace diagrams {

namespace {

constexpr int kTextPadding = 3;
constexpr int kBarMargin = 4;
constexpr int kSwatch = 12;
constexpr int kLegendGap = 14;
const QColor kOutline(60, 60, 60);
const QColor kCut(30, 30, 30);

Qt::BrushStyle hatchingBrush(int hatching)
{
    static const Qt::BrushStyle styles[] = {Qt::NoBrush, Qt::BDiagPattern, Qt::FDiagPattern, Qt::DiagCrossPattern};
    return styles[hatching % 4];
}

void fillPiece(QPainter& painter, const QRect& block, int32_t partKind)
{
    const PieceStyle style = pieceStyle(partKind);
    painter.fillRect(block, toColor(style.fill));
    if (style.hatching > 0)
        painter.fillRect(block, QBrush(QColor(255, 255, 255, 150), hatchingBrush(style.hatching)));
}

void writeInside(QPainter& painter, const QRect& block, const QStringList& candidates, const QColor& colour)
{
    const QFontMetrics metrics(painter.font());
    const QString text = fittingText(candidates, block.width(), kTextPadding,
                                     [&](const QString& t) { return metrics.horizontalAdvance(t); });
    if (text.isEmpty() || metrics.height() > block.height())
        return;
    painter.setPen(colour);
    painter.drawText(block, Qt::AlignCenter | Qt::TextSingleLine, text);
}

} // namespace

QColor toColor(const Rgb& colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

QRect drawnBarRect(const PlanDiagrams& plan, const BarDiagram& bar, const QRect& area, const QFont& font)
{
    const int room = plan.longestLengthText.isEmpty()
                         ? 0
                         : QFontMetrics(font).horizontalAdvance(plan.longestLengthText) + 2 * kTextPadding;
    const int full = std::max(1, area.width() - room);
    return QRect(area.left(), area.top(), std::max(1, scaledBarWidth(bar.barLength, plan.longestBar, full)),
                 area.height());
}

void paintBar(QPainter& painter, const PlanDiagrams& plan, const BarDiagram& bar, const QRect& area)
{
    painter.save();
    const QRect rect = drawnBarRect(plan, bar, area, painter.font());
    // The bar's own length just after its end, in the pen's colour.
    painter.drawText(QRect(rect.right() + 1 + kTextPadding, area.top(), area.right() - rect.right(), area.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, bar.stockLengthText);
    const std::vector<PixelSpan> spans = pixelSpans(bar, rect.width());
    for (size_t k = 0; k < spans.size(); ++k) {
        const Segment& segment = bar.segments[k];
        const QRect block(rect.left() + spans[k].x, rect.top(), spans[k].width, rect.height());
        if (block.width() <= 0)
            continue;
        switch (segment.kind) {
        case SegmentKind::Piece: {
            fillPiece(painter, block, segment.partKind);
            const PartKey& part = plan.parts[size_t(segment.partKind)];
            writeInside(painter, block, {part.label + u' ' + part.lengthText, part.lengthText},
                        toColor(pieceStyle(segment.partKind).text));
            break;
        }
        case SegmentKind::Cut:
            painter.fillRect(block, kCut);
            break;
        case SegmentKind::LeftOver:
            painter.fillRect(block, toColor(leftOverFill(bar.leftShade)));
            writeInside(painter, block, {bar.leftText + u' ' + bar.remnantLabel, bar.leftText}, Qt::black);
            break;
        case SegmentKind::Stub:
            painter.fillRect(block, QColor(225, 225, 225));
            painter.fillRect(block, QBrush(QColor(90, 90, 90), Qt::BDiagPattern));
            break;
        }
    }
    painter.setPen(kOutline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

QRect barRect(const QRect& row, int prefixWidth)
{
    return QRect(row.left() + prefixWidth, row.top() + kBarMargin, std::max(1, row.width() - prefixWidth - kBarMargin),
                 std::max(1, row.height() - 2 * kBarMargin));
}

void paintDiagramRow(QPainter& painter, const PlanDiagrams& plan, const BarDiagram& bar, const QRect& row,
                     int prefixWidth)
{
    painter.save();
    const QRect prefix(row.left() + kTextPadding, row.top(), prefixWidth - 2 * kTextPadding, row.height());
    painter.drawText(prefix, Qt::AlignLeft | Qt::AlignVCenter, QString::number(bar.number));
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(prefix, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("× %1").arg(bar.times));
    painter.restore();
    paintBar(painter, plan, bar, barRect(row, prefixWidth));
}

namespace {

// The legend's entries laid out in lines across the width; calls place(kind, swatch, text rectangle).
template <typename Place> int flowLegend(const PlanDiagrams& plan, const QFont& font, const QRect& rect, Place place)
{
    const QFontMetrics metrics(font);
    const int lineHeight = std::max(kSwatch, metrics.height()) + 4;
    int x = rect.left();
    int y = rect.top();
    for (int32_t kind : plan.legendKinds) {
        const PartKey& part = plan.parts[size_t(kind)];
        const QString text = part.label + u' ' + part.lengthText;
        const int width = kSwatch + 4 + metrics.horizontalAdvance(text);
        if (x > rect.left() && x + width > rect.right()) {
            x = rect.left();
            y += lineHeight;
        }
        const int middle = y + lineHeight / 2;
        place(kind, QRect(x, middle - kSwatch / 2, kSwatch, kSwatch),
              QRect(x + kSwatch + 4, y, width - kSwatch - 4, lineHeight), text);
        x += width + kLegendGap;
    }
    return plan.legendKinds.empty() ? 0 : y + lineHeight - rect.top();
}

} // namespace

int legendHeight(const PlanDiagrams& plan, const QFont& font, int width)
{
    return flowLegend(plan, font, QRect(0, 0, width, 1), [](int32_t, const QRect&, const QRect&, const QString&) {});
}

void paintLegend(QPainter& painter, const PlanDiagrams& plan, const QRect& rect)
{
    painter.save();
    const QPen text = painter.pen();
    flowLegend(plan, painter.font(), rect,
               [&](int32_t kind, const QRect& swatch, const QRect& textRect, const QString& text) {
                   fillPiece(painter, swatch, kind);
                   painter.setPen(kOutline);
                   painter.drawRect(swatch.adjusted(0, 0, -1, -1));
                   painter.setPen(text);
                   painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
               });
    painter.restore();
}

} // namespace diagrams
