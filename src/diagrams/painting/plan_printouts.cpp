#include "plan_printouts.h"

namespace diagrams {

void PlanPrintouts::attachTo(printing::TjvGridPrinter& printer)
{
    printer.setRowAttachment(m_placement == DiagramPlacement::UnderRows ? &m_rows : nullptr);
    if (m_placement == DiagramPlacement::AfterTable)
        printer.addSupplement(&m_after);
    if (m_withCutList)
        printer.addSupplement(&m_cuts);
}

} // namespace diagrams
