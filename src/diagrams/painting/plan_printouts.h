#pragma once

#include "cut_list_printout.h"
#include "diagram_printout.h"
#include "diagram_rows.h"

namespace diagrams {

enum class DiagramPlacement { None, AfterTable, UnderRows };

// What a printout of the layout table adds from the plan: the diagrams after the table's pages or under
// each row, and the cutting list for the saw after them. It must outlive the printer's use.
class PlanPrintouts {
public:
    PlanPrintouts(const PlanDiagrams& plan, DiagramPlacement placement, bool withCutList)
        : m_after(plan), m_rows(plan), m_cuts(plan), m_placement(placement), m_withCutList(withCutList)
    {
    }

    // Adds them to the printer, the diagrams under the rows of the layout table given.
    void attachTo(printing::TjvGridPrinter& printer, int layoutTable = 0);

private:
    DiagramPrintout m_after;
    DiagramRows m_rows;
    CutListPrintout m_cuts;
    DiagramPlacement m_placement;
    bool m_withCutList;
};

} // namespace diagrams
