#include "diagram_rows.h"

#include "diagram_painter.h"
#include "diagram_printout.h"

#include "calculation/grid_model.h"

#include <QPainter>

namespace diagrams {

namespace {

constexpr int kGap = 8;

} // namespace

int DiagramRows::blockOf(int row) const
{
    const int legendRow = calculation::GridModel::kFirstDataRow - 1;
    if (row == legendRow)
        return int(m_plan.bars.size());
    const int pattern = row - calculation::GridModel::kFirstDataRow;
    return pattern >= 0 && pattern < int(m_plan.bars.size()) ? pattern : -1;
}

void DiagramRows::layOut(int width, const QFont& font)
{
    m_font = font;
    m_heights.clear();
    for (const BarDiagram& bar : m_plan.bars)
        m_heights.push_back(barWithCutsHeight(m_plan, bar, font, width) + kGap);
    m_heights.push_back(m_plan.legendKinds.empty() ? 0 : legendHeight(m_plan, font, width) + kGap);
}

int DiagramRows::heightUnder(int row) const
{
    const int block = blockOf(row);
    return block < 0 || block >= int(m_heights.size()) ? 0 : m_heights[size_t(block)];
}

void DiagramRows::paintUnder(QPainter& painter, int row, const QRect& area) const
{
    const int block = blockOf(row);
    if (block < 0 || block >= int(m_heights.size()))
        return;
    const QRect inner = area.adjusted(0, 0, 0, -kGap);
    painter.setPen(Qt::black);
    painter.setFont(m_font);
    if (block == int(m_plan.bars.size()))
        paintLegend(painter, m_plan, inner);
    else
        paintBarWithCuts(painter, m_plan, m_plan.bars[size_t(block)], m_font, inner);
}

} // namespace diagrams
