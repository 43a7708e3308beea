#pragma once

#include "diagrams/bar_geometry.h"
#include "printing/grid_printer.h"

#include <QFont>
#include <vector>

namespace diagrams {

// A pattern as the printouts show it: the bar, and its cutting list wrapped under it in the font.
int barWithCutsHeight(const PlanDiagrams& plan, const BarDiagram& bar, const QFont& font, int width);
void paintBarWithCuts(QPainter& painter, const PlanDiagrams& plan, const BarDiagram& bar, const QFont& font,
                      const QRect& area);

// The cutting diagrams as pages after the layout table: the legend, then per pattern a heading line, the
// bar and its cutting list, with page breaks only between patterns.
class DiagramPrintout : public printing::PageSupplement {
public:
    explicit DiagramPrintout(const PlanDiagrams& plan) : m_plan(plan) {}

    int layOut(const QSize& body, const QFont& font) override;
    void paintPage(QPainter& painter, int page, const QRect& body) const override;

    // The first block of each page; block 0 is the legend, block k the pattern k.
    const std::vector<int>& pageStarts() const { return m_starts; }

private:
    QString headingText(const BarDiagram& bar) const;
    int blockHeight(int block) const;
    void paintBlock(QPainter& painter, int block, const QRect& area) const;

    const PlanDiagrams& m_plan;
    QFont m_font;
    int m_width = 0;
    std::vector<int> m_heights;
    std::vector<int> m_starts;
};

} // namespace diagrams
