#include "diagram_view.h"

#include "diagrams/bar_scale.h"
#include "diagrams/painting/diagram_painter.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace diagrams {

namespace {

constexpr int kLegendPadding = 4;

} // namespace

DiagramView::DiagramView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(kRowHeight / 2);
}

void DiagramView::setDiagrams(PlanDiagrams diagrams)
{
    m_diagrams = std::move(diagrams);
    if (m_current >= int(m_diagrams.bars.size()))
        m_current = -1;
    relayout();
    viewport()->update();
}

int DiagramView::measureLegend() const
{
    const int height = diagrams::legendHeight(m_diagrams, font(), viewport()->width() - 2 * kLegendPadding);
    return height > 0 ? height + 2 * kLegendPadding : 0;
}

void DiagramView::relayout()
{
    m_legendHeight = measureLegend();
    const int content = m_legendHeight + int(m_diagrams.bars.size()) * kRowHeight;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, content - viewport()->height()));
}

QRect DiagramView::rowRect(int index) const
{
    return QRect(0, m_legendHeight + index * kRowHeight - verticalScrollBar()->value(), viewport()->width(),
                 kRowHeight);
}

void DiagramView::setCurrentPattern(int index)
{
    m_current = index >= 0 && index < int(m_diagrams.bars.size()) ? index : -1;
    if (m_current >= 0) {
        const QRect row = rowRect(m_current);
        QScrollBar* bar = verticalScrollBar();
        if (row.top() < 0)
            bar->setValue(bar->value() + row.top());
        else if (row.bottom() >= viewport()->height())
            bar->setValue(bar->value() + row.bottom() - viewport()->height() + 1);
    }
    viewport()->update();
}

int DiagramView::patternAt(const QPoint& point) const
{
    const int y = point.y() + verticalScrollBar()->value() - m_legendHeight;
    if (y < 0)
        return -1;
    const int index = y / kRowHeight;
    return index < int(m_diagrams.bars.size()) ? index : -1;
}

QString DiagramView::tipAt(const QPoint& point) const
{
    const int index = patternAt(point);
    if (index < 0)
        return {};
    const BarDiagram& bar = m_diagrams.bars[size_t(index)];
    const QRect area = drawnBarRect(m_diagrams, bar, barRect(rowRect(index), kPrefixWidth), font());
    // Before the bar: the cutting list of the whole pattern.
    if (point.x() < area.left())
        return cutListText(m_diagrams, bar);
    if (!area.contains(point))
        return {};
    const int segment = segmentAt(pixelSpans(bar, area.width()), point.x() - area.left());
    return segment < 0 ? QString() : segmentTip(m_diagrams, bar, bar.segments[size_t(segment)]);
}

void DiagramView::setStale(bool stale)
{
    if (stale == m_stale)
        return;
    m_stale = stale;
    viewport()->update();
}

void DiagramView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    if (m_stale)
        painter.setOpacity(0.4);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    const int legend = m_legendHeight;
    const int scroll = verticalScrollBar()->value();
    if (legend > scroll)
        paintLegend(painter, m_diagrams,
                    QRect(kLegendPadding, kLegendPadding - scroll, viewport()->width() - 2 * kLegendPadding,
                          legend - 2 * kLegendPadding));
    // Only the rows that cross the region to repaint.
    const QRect dirty = event->rect();
    const int first = std::max(0, (dirty.top() + scroll - legend) / kRowHeight);
    const int last = std::min(int(m_diagrams.bars.size()) - 1, (dirty.bottom() + scroll - legend) / kRowHeight);
    for (int index = first; index <= last; ++index) {
        const QRect row = rowRect(index);
        if (index == m_current)
            painter.fillRect(row, palette().color(QPalette::Highlight).lighter(170));
        paintDiagramRow(painter, m_diagrams, m_diagrams.bars[size_t(index)], row, kPrefixWidth);
    }
}

void DiagramView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void DiagramView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    // The legend's lines follow the font.
    if (event->type() == QEvent::FontChange)
        relayout();
}

void DiagramView::mousePressEvent(QMouseEvent* event)
{
    const int index = patternAt(event->position().toPoint());
    if (index < 0)
        return;
    setCurrentPattern(index);
    Q_EMIT patternClicked(index);
}

bool DiagramView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = tipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace diagrams
