#include "plan_printouts.h"

namespace diagrams {

void PlanPrintouts::attachTo(printing::TjvGridPrinter& printer, int layoutTable)
{
    printer.setRowAttachment(m_placement == DiagramPlacement::UnderRows ? &m_rows : nullptr, layoutTable);
    if (m_placement == DiagramPlacement::AfterTable)
        printer.addSupplement(&m_after);
    if (m_withCutList)
        printer.addSupplement(&m_cuts);
}

} // namespace diagrams
