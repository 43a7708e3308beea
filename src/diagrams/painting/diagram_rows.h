#pragma once

#include "diagrams/bar_geometry.h"
#include "printing/grid_printer.h"

#include <QFont>
#include <vector>

namespace diagrams {

// Each pattern's diagram under its row of the layout table, the legend under the column headings: a row
// and its diagram share a page.
class DiagramRows : public printing::RowAttachment {
public:
    explicit DiagramRows(const PlanDiagrams& plan) : m_plan(plan) {}

    void layOut(int width, const QFont& font) override;
    int heightUnder(int row) const override;
    void paintUnder(QPainter& painter, int row, const QRect& area) const override;

private:
    // The pattern under a table row, or -1; the legend's row gives bars.size().
    int blockOf(int row) const;

    const PlanDiagrams& m_plan;
    QFont m_font;
    std::vector<int> m_heights; // per pattern, then the legend
};

} // namespace diagrams
