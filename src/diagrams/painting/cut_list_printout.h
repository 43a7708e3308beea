#pragma once

#include "diagrams/cut_list.h"
#include "printing/grid_printer.h"

#include <QFont>
#include <vector>

namespace diagrams {

// The cutting list for the saw as pages after the layout table: a title, then per pattern its heading
// and its cuts in order from the bar's start, in columns read downwards. A pattern is not split over a
// page break unless it is longer than a page, and then it goes on under its heading again.
class CutListPrintout : public printing::PageSupplement {
public:
    explicit CutListPrintout(const PlanDiagrams& plan) : m_plan(plan) {}

    int layOut(const QSize& body, const QFont& font) override;
    void paintPage(QPainter& painter, int page, const QRect& body) const override;

    // The cuts firstCut.. of a pattern on one page; the title is the block of pattern -1.
    struct Block {
        int pattern = -1;
        int firstCut = 0;
        int cutCount = 0;
        int height = 0;
    };
    const std::vector<Block>& blocks() const { return m_blocks; }
    // Lines of a block's cuts, the columns filled downwards.
    int linesOf(const Block& block) const;
    // The first block of each page.
    const std::vector<int>& pageStarts() const { return m_starts; }

private:
    void paintBlock(QPainter& painter, const Block& block, const QRect& area) const;

    const PlanDiagrams& m_plan;
    QFont m_font;
    std::vector<std::vector<CutListEntry>> m_cuts; // per pattern
    // A cell: the cut's number and its position right-aligned, then the piece.
    int m_numberWidth = 0;
    int m_positionWidth = 0;
    int m_cellWidth = 0;
    int m_columns = 1;
    int m_lineHeight = 0;
    std::vector<Block> m_blocks;
    std::vector<int> m_starts;
};

} // namespace diagrams
