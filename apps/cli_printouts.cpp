#include "cli_printouts.h"

#include "labels/label_sheets.h"
#include "localization/translate.h"
#include "printing/layout_printout.h"
#include "printouts/job_printout.h"

#include <QFile>
#include <QPageSize>

#include <cstdio>
#include <cstring>

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

QString fromCommandLine(const std::string& text)
{
    return QFile::decodeName(QByteArray::fromStdString(text));
}

// The print list's choice: the one named, else the project's, else the layouts; --diagrams and --cut-list
// add to it.
printouts::PrintContents contentsOf(const PrintRequest& request, int projectMode)
{
    std::optional<printouts::PrintMode> mode = printouts::printModeNamed(QString::fromStdString(request.mode));
    if (!mode)
        mode = printouts::printModeAt(projectMode);
    printouts::PrintContents contents = printouts::printContents(mode.value_or(printouts::PrintMode::Layouts));
    if (request.diagramPlacement == "after")
        contents.diagrams = diagrams::DiagramPlacement::AfterTable;
    else if (request.diagramPlacement == "rows")
        contents.diagrams = diagrams::DiagramPlacement::UnderRows;
    contents.cutList = contents.cutList || request.cutList;
    return contents;
}

bool write(printing::PagedDocument& document, const QString& path)
{
    QString error;
    if (printing::writePdf(document, path, &error))
        return true;
    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return false;
}

} // namespace

void addPrintOptions(CLI::App& cli, PrintRequest& request)
{
    CLI::Option* pdf = cli.add_option("--pdf", request.pdfPath,
                                      "Also write the printout of the print mode (the layouts unless said otherwise) "
                                      "as printed pages to this PDF file");
    cli.add_option("--page-size", request.pageSize, "Paper of the PDF")
        ->check(CLI::IsMember({"A3", "A4", "A5", "Letter", "Legal"}))
        ->capture_default_str();
    cli.add_option("--orientation", request.orientation, "Orientation of the PDF pages")
        ->check(CLI::IsMember({"portrait", "landscape"}))
        ->capture_default_str();
    std::vector<std::string> modes;
    for (const QString& name : printouts::printModeNames())
        modes.push_back(name.toStdString());
    cli.add_option("--print-mode", request.mode,
                   "With --pdf: what the pages hold, as the window's print list: both lists and the layouts, the "
                   "layouts, the lists, the layouts and diagrams, the diagrams under the rows, the layouts and the "
                   "cutting list, or the labels (default: the project's choice, else layouts)")
        ->check(CLI::IsMember(modes))
        ->needs(pdf);
    cli.add_flag("--diagrams{after}", request.diagramPlacement,
                 "With --pdf: every pattern drawn to scale with its cutting list, after the table "
                 "(--diagrams or --diagrams=after) or under each layout row (--diagrams=rows)")
        ->check(CLI::IsMember({"after", "rows"}))
        ->option_text("[=after|rows]")
        ->needs(pdf);
    cli.add_flag("--cut-list", request.cutList,
                 "With --pdf: after the table (and the diagrams), the cutting list for the saw: per layout "
                 "the cuts in order with each cut's position from the bar's start")
        ->needs(pdf);
    cli.add_option("--labels", request.labelsPath,
                   "Also write a label for every piece in cutting order and for every reusable remnant, each with "
                   "a QR code, to this PDF file");
    std::vector<std::string> sheets;
    for (const labels::LabelSheet& sheet : labels::labelSheets())
        sheets.push_back(sheet.name.toStdString());
    cli.add_option("--label-sheet", request.labelSheet,
                   "Labels on A4 3x8 (70x37 mm), A4 2x7 (99.1x38.1 mm), Letter 3x10 (2 5/8x1 in), or one a page "
                   "for label printers (62x29 mm, 4x2 in)")
        ->check(CLI::IsMember(sheets))
        ->capture_default_str();
    cli.add_option("--label-skip", request.labelSkip,
                   "Labels already used on the first sheet: the labels start after them")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    cli.add_option("--title", request.title, "Title of the job on the pages and labels (default: the project's)");
    cli.add_option("--unit", request.unit, "Length unit on the pages and labels (default: the project's, else mm)");
}

bool wantsPages(int argc, char** argv)
{
    for (int index = 1; index < argc; ++index)
        if (std::strncmp(argv[index], "--pdf", 5) == 0 || std::strncmp(argv[index], "--labels", 8) == 0)
            return true;
    return false;
}

QString printRequestError(const PrintRequest& request)
{
    if (request.mode == "labels" && (!request.diagramPlacement.empty() || request.cutList))
        return translate("--diagrams and --cut-list add to the layout table; the labels have none.");
    const labels::LabelSheet* sheet = labels::labelSheetNamed(QString::fromStdString(request.labelSheet));
    if (sheet && request.labelSkip >= sheet->labelsPerSheet())
        return translate("--label-skip must be below %1, the number of labels on a %2 sheet.")
            .arg(sheet->labelsPerSheet())
            .arg(QString::fromStdString(request.labelSheet));
    return {};
}

bool writePrintouts(const PrintRequest& request, const PrintedJob& job, const calculation::Clock& clock)
{
    const printing::JobHeading heading = printouts::jobHeading(job.title, job.unit, &job.run);
    const printouts::JobGrids grids{job.layout, job.parts, job.stocks};
    const labels::LabelSheet* sheet = labels::labelSheetNamed(QString::fromStdString(request.labelSheet));
    auto labelled = [&](printouts::JobPrintout& printout) {
        if (labels::LabelPrintout* labels = printout.labels()) {
            labels->setSheet(*sheet);
            labels->setSkip(request.labelSkip);
        }
    };
    if (!request.pdfPath.empty()) {
        printouts::JobPrintout printout(contentsOf(request, job.projectPrintMode), grids, &job.plan, heading, clock);
        labelled(printout);
        if (printing::TjvGridPrinter* tables = printout.tables()) {
            tables->options().orientation =
                request.orientation == "landscape" ? QPageLayout::Landscape : QPageLayout::Portrait;
            tables->setPageLayout(QPageLayout(QPageSize(pageSizeId(request.pageSize)), QPageLayout::Portrait,
                                              QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        }
        if (!write(printout.document(), fromCommandLine(request.pdfPath)))
            return false;
    }
    if (!request.labelsPath.empty()) {
        printouts::PrintContents contents;
        contents.layouts = false;
        contents.labels = true;
        printouts::JobPrintout printout(contents, grids, &job.plan, heading, clock);
        labelled(printout);
        if (!write(printout.document(), fromCommandLine(request.labelsPath)))
            return false;
    }
    return true;
}

} // namespace cli
