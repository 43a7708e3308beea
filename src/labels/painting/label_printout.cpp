#include "label_printout.h"

#include "qr_symbol.h"

#include "localization/translate.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace labels {

namespace {

// Labels are drawn in tenths of a millimetre.
constexpr double kUnits = 10.0;
constexpr double kScreenDpi = 96.0;
constexpr double kMmPerInch = 25.4;
// Text sizes in millimetres: as large as the label allows, at most these.
constexpr double kLargeText = 5.0;
constexpr double kSmallText = 2.8;
// The least a large text is shrunk to before it is cut short.
constexpr double kLeastShrink = 0.6;

QFont sizedFont(QFont font, double millimetres, bool bold)
{
    font.setPixelSize(std::max(1, int(std::lround(millimetres * kUnits))));
    font.setBold(bold);
    return font;
}

struct TextLine {
    QString text;
    QFont font;
    bool shrinks = false;
};

// Draws the lines top to bottom in the area, centred as a block; a large line too wide shrinks first, then
// every line too wide is cut short with an ellipsis.
void paintLines(QPainter& painter, std::vector<TextLine> lines, const QRectF& area)
{
    double height = 0;
    for (TextLine& line : lines) {
        if (line.shrinks) {
            const double wide = QFontMetricsF(line.font).horizontalAdvance(line.text);
            if (wide > area.width()) {
                const double factor = std::max(kLeastShrink, area.width() / wide);
                line.font.setPixelSize(std::max(1, int(line.font.pixelSize() * factor)));
            }
        }
        height += QFontMetricsF(line.font).height();
    }
    double y = area.top() + std::max(0.0, (area.height() - height) / 2);
    for (const TextLine& line : lines) {
        const QFontMetricsF metrics(line.font);
        painter.setFont(line.font);
        const QString shown = metrics.elidedText(line.text, Qt::ElideRight, area.width());
        painter.drawText(QRectF(area.left(), y, area.width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         shown);
        y += metrics.height();
    }
}

} // namespace

LabelPrintout::LabelPrintout(const diagrams::PlanDiagrams& plan, LabelJob job)
    : m_labels(pieceLabels(plan)), m_job(std::move(job)), m_sheet(labelSheets().front())
{
}

void LabelPrintout::layOut()
{
    m_skip = std::clamp(m_skip, 0, m_sheet.labelsPerSheet() - 1);
    m_places = placeLabels(m_sheet, int(m_labels.size()), m_skip);
    m_pageCount = m_places.empty() ? 0 : m_places.back().page + 1;
}

QPageLayout LabelPrintout::pageLayout() const
{
    const QSizeF paper = m_sheet.paper;
    const bool wide = paper.width() > paper.height();
    const QPageSize size(wide ? paper.transposed() : paper, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, wide ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

QSize LabelPrintout::pageSize() const
{
    const double pixels = kScreenDpi / kMmPerInch;
    return QSize(int(std::lround(m_sheet.paper.width() * pixels)), int(std::lround(m_sheet.paper.height() * pixels)));
}

QString LabelPrintout::documentName() const
{
    return localization::translate("Labels: %1").arg(m_job.title);
}

void LabelPrintout::paintPage(QPainter& painter, int index, const QSizeF& deviceSize) const
{
    painter.save();
    painter.scale(deviceSize.width() / (m_sheet.paper.width() * kUnits),
                  deviceSize.height() / (m_sheet.paper.height() * kUnits));
    for (size_t k = 0; k < m_places.size(); ++k) {
        if (m_places[k].page != index)
            continue;
        if (m_outlines) {
            const QRectF& label = m_places[k].label;
            painter.setPen(QPen(QColor(160, 160, 160), 0, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(label.topLeft() * kUnits, label.size() * kUnits));
        }
        paintLabel(painter, m_labels[k], m_places[k]);
    }
    painter.restore();
}

void LabelPrintout::paintLabel(QPainter& painter, const PieceLabel& label, const LabelPlace& place) const
{
    const QRectF area(place.content.topLeft() * kUnits, place.content.size() * kUnits);
    // 1 - the QR code at the left, square, as tall as the label allows and at most 45 % of its width
    const std::optional<QrSymbol> symbol = qrSymbol(barcodeText(label, m_job).toUtf8());
    double textLeft = area.left();
    if (symbol) {
        const double side = std::min(area.height(), area.width() * 0.45);
        paintQrSymbol(painter, *symbol, QRectF(area.left(), area.center().y() - side / 2, side, side));
        // Two modules of quiet zone, at least 1.5 mm.
        textLeft += side + std::max(15.0, 2 * side / symbol->size);
    }
    // 2 - the texts beside it
    const double millimetres = area.height() / kUnits;
    const double large = std::min(kLargeText, millimetres * 0.2);
    const double small = std::min(kSmallText, millimetres * 0.11);
    const QString unit = m_job.unit.trimmed();
    std::vector<TextLine> lines = {
        {m_job.title, sizedFont(m_font, small, false)},
        {label.label, sizedFont(m_font, large, true), true},
        {unit.isEmpty() ? label.length : label.length + u' ' + unit, sizedFont(m_font, large, true), true}};
    for (const QString& origin : labelOrigin(label))
        lines.push_back({origin, sizedFont(m_font, small, false)});
    painter.setPen(Qt::black);
    paintLines(painter, lines, QRectF(textLeft, area.top(), std::max(1.0, area.right() - textLeft), area.height()));
}

} // namespace labels
