#include "cli/pdf_output.h"

#include "labels/label_sheets.h"
#include "localization/translate.h"
#include "printing/layout_printout.h"
#include "printouts/job_printout.h"

#include <QPageSize>

#include <utility>

namespace cli {

using localization::translate;

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

// The print list's choice: the one named, else the project's, else the layouts; --diagrams and --cut-list
// add to it.
printouts::PrintContents contentsOf(const Options& options, const Job& job)
{
    std::optional<printouts::PrintMode> mode = printouts::printModeNamed(QString::fromStdString(options.printMode));
    if (!mode && !options.projectPath.empty())
        mode = printouts::printModeAt(job.project.print);
    printouts::PrintContents contents = printouts::printContents(mode.value_or(printouts::PrintMode::Layouts));
    if (options.diagramPlacement == "after")
        contents.diagrams = diagrams::DiagramPlacement::AfterTable;
    else if (options.diagramPlacement == "rows")
        contents.diagrams = diagrams::DiagramPlacement::UnderRows;
    contents.cutList = contents.cutList || options.withCutList;
    return contents;
}

// The job's title and unit: the command line's, else the project's, else the window's defaults.
printing::JobHeading headingOf(const Options& options, const PrintedJob& printed)
{
    const bool project = !options.projectPath.empty();
    const QString title = !options.title.empty() ? QString::fromStdString(options.title)
                          : project              ? printed.job.project.title
                                                 : translate("Barvik pipe cuting project");
    const QString unit = !options.unit.empty() ? QString::fromStdString(options.unit)
                         : project             ? printed.job.project.unit
                                               : translate("mm");
    return printouts::jobHeading(title, unit, &printed.run);
}

calculation::FileResult render(const Options& options, const printouts::PrintContents& contents,
                               const PrintedJob& printed, const calculation::Clock& clock, QByteArray& pdf,
                               const QString& path)
{
    const Job& job = printed.job;
    printouts::JobPrintout printout(contents, {*job.layout, *job.parts, *job.stocks}, &printed.plan,
                                    headingOf(options, printed), clock);
    if (labels::LabelPrintout* labels = printout.labels()) {
        labels->setSheet(*labels::labelSheetNamed(QString::fromStdString(options.labelSheet)));
        labels->setSkip(options.labelSkip);
    }
    if (printing::TjvGridPrinter* tables = printout.tables()) {
        tables->options().orientation =
            options.orientation == "landscape" ? QPageLayout::Landscape : QPageLayout::Portrait;
        tables->setPageLayout(QPageLayout(QPageSize(pageSizeId(options.pageSize)), QPageLayout::Portrait,
                                          QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    }
    return printing::renderPdf(printout.document(), pdf, path);
}

} // namespace

calculation::FileResult renderPrintoutPdf(const Options& options, const PrintedJob& printed,
                                          const calculation::Clock& clock, QByteArray& pdf, const QString& path)
{
    return render(options, contentsOf(options, printed.job), printed, clock, pdf, path);
}

calculation::FileResult renderLabelsPdf(const Options& options, const PrintedJob& printed,
                                        const calculation::Clock& clock, QByteArray& pdf, const QString& path)
{
    return render(options, printouts::printContents(printouts::PrintMode::Labels), printed, clock, pdf, path);
}

} // namespace cli
