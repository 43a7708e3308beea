#include "diagram_printout.h"

#include "diagram_painter.h"
#include "diagrams/bar_scale.h"

#include <QFontMetrics>
#include <QPainter>

namespace diagrams {

namespace {

constexpr int kBarHeight = 30;
constexpr int kBlockGap = 12;
constexpr int kWrapped = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

int barWithCutsHeight(const PlanDiagrams& plan, const BarDiagram& bar, const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    return kBarHeight + metrics.boundingRect(QRect(0, 0, width, 100000), kWrapped, cutListText(plan, bar)).height();
}

void paintBarWithCuts(QPainter& painter, const PlanDiagrams& plan, const BarDiagram& bar, const QFont& font,
                      const QRect& area)
{
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect barArea(area.left(), area.top(), area.width(), kBarHeight);
    paintBar(painter, plan, bar, barArea.adjusted(0, 3, -1, -3));
    painter.drawText(QRect(area.left(), barArea.bottom() + 1, area.width(), area.bottom() - barArea.bottom()), kWrapped,
                     cutListText(plan, bar));
}

QString DiagramPrintout::headingText(const BarDiagram& bar) const
{
    return QStringLiteral("%1   %2  %3   × %4").arg(bar.number).arg(bar.stockLabel, bar.stockLengthText).arg(bar.times);
}

int DiagramPrintout::blockHeight(int block) const
{
    if (block == 0)
        return legendHeight(m_plan, m_font, m_width) + kBlockGap;
    const BarDiagram& bar = m_plan.bars[size_t(block - 1)];
    return QFontMetrics(m_font).height() + barWithCutsHeight(m_plan, bar, m_font, m_width) + kBlockGap;
}

int DiagramPrintout::layOut(const QSize& body, const QFont& font)
{
    m_font = font;
    m_width = body.width();
    m_heights.clear();
    for (int block = 0; block <= int(m_plan.bars.size()); ++block)
        m_heights.push_back(blockHeight(block));
    m_starts = diagrams::pageStarts(m_heights, body.height(), body.height());
    return int(m_starts.size());
}

void DiagramPrintout::paintBlock(QPainter& painter, int block, const QRect& area) const
{
    painter.setPen(Qt::black);
    if (block == 0) {
        paintLegend(painter, m_plan, area);
        return;
    }
    const BarDiagram& bar = m_plan.bars[size_t(block - 1)];
    const QFontMetrics metrics(m_font);
    QFont bold = m_font;
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top(), area.width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     headingText(bar));
    paintBarWithCuts(painter, m_plan, bar, m_font, area.adjusted(0, metrics.height(), 0, 0));
}

void DiagramPrintout::paintPage(QPainter& painter, int page, const QRect& body) const
{
    if (page < 0 || page >= int(m_starts.size()))
        return;
    const int first = m_starts[size_t(page)];
    const int end = page + 1 < int(m_starts.size()) ? m_starts[size_t(page) + 1] : int(m_heights.size());
    painter.setFont(m_font);
    int y = body.top();
    for (int block = first; block < end; ++block) {
        paintBlock(painter, block, QRect(body.left(), y, body.width(), m_heights[size_t(block)] - kBlockGap));
        y += m_heights[size_t(block)];
    }
}

} // namespace diagrams
