#include "cli/pdf_output.h"

#include "diagrams/painting/plan_printouts.h"
#include "printing/layout_printout.h"

#include <QPageSize>

#include <utility>

namespace cli {

namespace {

QPageSize::PageSizeId pageSizeId(const std::string& name)
{
    static const std::pair<const char*, QPageSize::PageSizeId> sizes[] = {{"A3", QPageSize::A3},
                                                                          {"A4", QPageSize::A4},
                                                                          {"A5", QPageSize::A5},
                                                                          {"Letter", QPageSize::Letter},
                                                                          {"Legal", QPageSize::Legal}};
    for (const auto& [sizeName, id] : sizes)
        if (name == sizeName)
            return id;
    return QPageSize::A4;
}

diagrams::DiagramPlacement placement(const std::string& name)
{
    if (name == "rows")
        return diagrams::DiagramPlacement::UnderRows;
    return name == "after" ? diagrams::DiagramPlacement::AfterTable : diagrams::DiagramPlacement::None;
}

} // namespace

bool writeLayoutPdf(const Options& options, const diagrams::PlanDiagrams& plan, const calculation::GridModel& layout,
                    const calculation::Clock& clock, const QString& path, QString* error)
{
    diagrams::PlanPrintouts printouts(plan, placement(options.diagramPlacement), options.withCutList);
    printing::TjvGridPrinter printer(layout, clock);
    printouts.attachTo(printer);
    printing::prepareLayoutPrintout(printer);
    printer.setColumnWidths(printing::defaultLayoutColumnWidths());
    printer.options().orientation = options.orientation == "landscape" ? QPageLayout::Landscape : QPageLayout::Portrait;
    printer.setPageLayout(QPageLayout(QPageSize(pageSizeId(options.pageSize)), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    return printing::writePdf(printer, path, error);
}

} // namespace cli
