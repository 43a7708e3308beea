#include "cut_list_printout.h"

#include "diagrams/bar_scale.h"
#include "localization/translate.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace diagrams {

namespace {

constexpr int kColumnGap = 24;
constexpr int kInnerGap = 8;
constexpr int kBlockGap = 10;

QString numberText(const CutListEntry& cut)
{
    return QString::number(cut.number) + u'.';
}

QFont boldOf(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace

int CutListPrintout::layOut(const QSize& body, const QFont& font)
{
    // 1 - one cell per cut, all as wide as the widest, as many columns as the body takes
    m_font = font;
    const QFontMetrics metrics(font);
    m_lineHeight = metrics.height();
    m_cuts.clear();
    m_numberWidth = m_positionWidth = 0;
    int pieceWidth = 0;
    for (const BarDiagram& bar : m_plan.bars) {
        m_cuts.push_back(cutListEntries(m_plan, bar));
        for (const CutListEntry& cut : m_cuts.back()) {
            m_numberWidth = std::max(m_numberWidth, metrics.horizontalAdvance(numberText(cut)));
            m_positionWidth = std::max(m_positionWidth, metrics.horizontalAdvance(cut.position));
            pieceWidth = std::max(pieceWidth, metrics.horizontalAdvance(cut.piece));
        }
    }
    m_cellWidth = m_numberWidth + kInnerGap + m_positionWidth + kInnerGap + pieceWidth + kColumnGap;
    m_columns = std::max(1, body.width() / std::max(1, m_cellWidth));

    // 2 - blocks: the title, then each pattern, cut where a pattern is longer than a page
    m_blocks.clear();
    const int heading = QFontMetrics(boldOf(font)).height();
    m_blocks.push_back({-1, 0, 0, heading + kBlockGap});
    const int mostLines = std::max(1, (body.height() - heading - kBlockGap) / std::max(1, m_lineHeight));
    for (size_t pattern = 0; pattern < m_cuts.size(); ++pattern) {
        const int cuts = int(m_cuts[pattern].size());
        for (int first = 0; first == 0 || first < cuts; first += mostLines * m_columns) {
            Block block{int(pattern), first, std::min(mostLines * m_columns, cuts - first), 0};
            block.height = heading + linesOf(block) * m_lineHeight + kBlockGap;
            m_blocks.push_back(block);
        }
    }
    std::vector<int> heights;
    for (const Block& block : m_blocks)
        heights.push_back(block.height);
    m_starts = diagrams::pageStarts(heights, body.height(), body.height());
    return int(m_starts.size());
}

int CutListPrintout::linesOf(const Block& block) const
{
    return (block.cutCount + m_columns - 1) / m_columns;
}

void CutListPrintout::paintBlock(QPainter& painter, const Block& block, const QRect& area) const
{
    const QFont bold = boldOf(m_font);
    const int heading = QFontMetrics(bold).height();
    painter.setPen(Qt::black);
    painter.setFont(bold);
    if (block.pattern < 0) {
        painter.drawText(QRect(area.left(), area.top(), area.width(), heading), Qt::AlignLeft | Qt::AlignVCenter,
                         localization::translate("Cutting list for the saw"));
        return;
    }
    const BarDiagram& bar = m_plan.bars[size_t(block.pattern)];
    painter.drawText(QRect(area.left(), area.top(), area.width(), heading), Qt::AlignLeft | Qt::AlignVCenter,
                     cutListHeading(bar));
    // Cells read down each column, then on in the next.
    painter.setFont(m_font);
    const std::vector<CutListEntry>& cuts = m_cuts[size_t(block.pattern)];
    const int lines = std::max(1, linesOf(block));
    for (int index = 0; index < block.cutCount; ++index) {
        const CutListEntry& cut = cuts[size_t(block.firstCut + index)];
        QRect cell(area.left() + index / lines * m_cellWidth, area.top() + heading + index % lines * m_lineHeight,
                   m_numberWidth, m_lineHeight);
        painter.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, numberText(cut));
        cell.translate(m_numberWidth + kInnerGap, 0);
        cell.setWidth(m_positionWidth);
        painter.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, cut.position);
        cell.translate(m_positionWidth + kInnerGap, 0);
        cell.setWidth(m_cellWidth - kColumnGap - m_numberWidth - m_positionWidth - 2 * kInnerGap);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, cut.piece);
    }
}

void CutListPrintout::paintPage(QPainter& painter, int page, const QRect& body) const
{
    if (page < 0 || page >= int(m_starts.size()))
        return;
    const int first = m_starts[size_t(page)];
    const int end = page + 1 < int(m_starts.size()) ? m_starts[size_t(page) + 1] : int(m_blocks.size());
    int y = body.top();
    for (int index = first; index < end; ++index) {
        const Block& block = m_blocks[size_t(index)];
        paintBlock(painter, block, QRect(body.left(), y, body.width(), block.height - kBlockGap));
        y += block.height;
    }
}

} // namespace diagrams
