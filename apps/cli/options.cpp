#include "cli/options.h"

#include "build_info.h"
#include "labels/label_sheets.h"
#include "localization/translate.h"
#include "printouts/print_modes.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace cli {

namespace {

void addJobOptions(CLI::App& cli, Options& options)
{
    cli.add_option("--language", options.language,
                   "Language of the messages and the layout texts: the code of an installed catalog, such as "
                   "de_de (default: English)");
    cli.add_option("PARTS", options.partsPath, "Parts list file (default: the project's)");
    cli.add_option("STOCKS", options.stocksPath, "Stocks list file (default: the project's)");
    cli.add_option("--project", options.projectPath,
                   "Run the job of a project file: its two lists and its settings; the lists and options given "
                   "here win (the project's list is then not read). A list path that does not exist is looked for "
                   "beside the project file");
    cli.add_option("--save-project", options.saveProjectPath,
                   "Write a project file of this job's lists (as absolute paths) and settings");
    cli.add_option("--import-left", options.importLeftPaths,
                   "Append a remnant stock list to the stocks before the run (may be given more than once)");
    cli.add_option("--save-left", options.saveLeftPath,
                   "After the run, write the whole bars no layout used as a stock list");
    cli.add_option("--export-left", options.exportLeftPath,
                   "After the run, write the reusable remnants as a stock list");
    cli.add_option("--parts-format", options.partsFormat, "Layout of the parts file (default from the extension)")
        ->check(CLI::IsMember({"text", "sfcad", "mst", "pipe", "xls", "xlsx", "ods", "csv"}));
    cli.add_option("--stocks-format", options.stocksFormat, "Layout of the stocks file (default from the extension)")
        ->check(CLI::IsMember({"text", "pipe", "xls", "xlsx", "ods", "csv"}));
    cli.add_option("--blade", options.blade, "Blade width")->capture_default_str();
    cli.add_option("--stub", options.stub, "Stub length, the unusable end of every bar")->capture_default_str();
    cli.add_option("--reuse", options.reuse, "Shortest left-over that counts as a reusable remnant")
        ->capture_default_str();
    cli.add_option("--quality", options.quality, "1 (fastest) to 12 (best)")
        ->check(CLI::Range(1, 12))
        ->capture_default_str();
    cli.add_flag("--change", options.change, "Change optimization: prefer few distinct patterns");
    cli.add_flag("--cost", options.cost, "Cost optimization: prefer cheap bars");
    cli.add_option("--display", options.display, "Pieces as 0 Label(Length) X Qty, 1 Length X Qty, 2 Label X Qty")
        ->check(CLI::Range(0, 2))
        ->capture_default_str();
    cli.add_option("--format", options.format, "Length format 0 999999, 1 99999.9, 2 9999.99, 3 999.999, 4 99.9999")
        ->check(CLI::Range(0, 4))
        ->capture_default_str();
    cli.add_option("--seed", options.seed, "Seed of the search, for repeatable results (default: the clock)");
    cli.add_option("--export", options.exportPath, "Also write the layout export to this file");
    cli.add_flag("--json", options.json, "Print one JSON object instead of the layout export");
    cli.add_option("--engine", options.engine, "genetic, exact, or both side by side (the better plan is shown)")
        ->check(CLI::IsMember({"genetic", "exact", "both"}))
        ->capture_default_str();
    cli.add_option("--time-limit", options.timeLimit,
                   "Seconds for the whole run, both engines: each ends with the best plan it has (default: from the "
                   "quality level)")
        ->check(CLI::Range(0.0, 86400.0));
}

void addPrintOptions(CLI::App& cli, Options& options)
{
    CLI::Option* pdfOption = cli.add_option("--pdf", options.pdfPath,
                                            "Also write the printout of the print mode (the layouts unless said "
                                            "otherwise) as printed pages to this PDF file");
    cli.add_option("--page-size", options.pageSize, "Paper of the PDF")
        ->check(CLI::IsMember({"A3", "A4", "A5", "Letter", "Legal"}))
        ->capture_default_str();
    cli.add_option("--orientation", options.orientation, "Orientation of the PDF pages")
        ->check(CLI::IsMember({"portrait", "landscape"}))
        ->capture_default_str();
    std::vector<std::string> modes;
    for (const QString& name : printouts::printModeNames())
        modes.push_back(name.toStdString());
    cli.add_option("--print-mode", options.printMode,
                   "With --pdf: what the pages hold, as the window's print list: both lists and the layouts, the "
                   "layouts, the lists, the layouts and diagrams, the diagrams under the rows, the layouts and the "
                   "cutting list, or the labels (default: the project's choice, else layouts)")
        ->check(CLI::IsMember(modes))
        ->needs(pdfOption);
    cli.add_flag("--diagrams{after}", options.diagramPlacement,
                 "With --pdf: every pattern drawn to scale with its cutting list, after the table "
                 "(--diagrams or --diagrams=after) or under each layout row (--diagrams=rows)")
        ->check(CLI::IsMember({"after", "rows"}))
        ->option_text("[=after|rows]")
        ->needs(pdfOption);
    cli.add_flag("--cut-list", options.withCutList,
                 "With --pdf: after the table (and the diagrams), the cutting list for the saw: per layout "
                 "the cuts in order with each cut's position from the bar's start")
        ->needs(pdfOption);
    cli.add_option("--cut-list-text", options.cutListPath,
                   "Also write the cutting list for the saw to this file, TAB-separated, one line per cut");
    cli.add_option("--labels", options.labelsPath,
                   "Also write a label for every piece in cutting order and for every reusable remnant, each with "
                   "a QR code, to this PDF file");
    std::vector<std::string> sheets;
    for (const labels::LabelSheet& sheet : labels::labelSheets())
        sheets.push_back(sheet.name.toStdString());
    cli.add_option("--label-sheet", options.labelSheet,
                   "Labels on A4 3x8 (70x37 mm), A4 2x7 (99.1x38.1 mm), Letter 3x10 (2 5/8x1 in), or one a page "
                   "for label printers (62x29 mm, 4x2 in)")
        ->check(CLI::IsMember(sheets))
        ->capture_default_str();
    cli.add_option("--label-skip", options.labelSkip,
                   "Labels already used on the first sheet: the labels start after them")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    cli.add_option("--title", options.title, "Title of the job on the pages and labels (default: the project's)");
    cli.add_option("--unit", options.unit, "Length unit on the pages and labels (default: the project's, else mm)");
}

// What the print options can only tell together: a message, or nothing.
QString printOptionsError(const Options& options)
{
    if (options.printMode == "labels" && (!options.diagramPlacement.empty() || options.withCutList))
        return localization::translate("--diagrams and --cut-list add to the layout table; the labels have none.");
    const labels::LabelSheet* sheet = labels::labelSheetNamed(QString::fromStdString(options.labelSheet));
    if (sheet && options.labelSkip >= sheet->labelsPerSheet())
        return localization::translate("--label-skip must be below %1, the number of labels on a %2 sheet.")
            .arg(QString::number(sheet->labelsPerSheet()), sheet->name);
    return {};
}

} // namespace

std::variant<Options, int> parseOptions(int argc, const char* const* argv, Output& output)
{
    Options options;
    CLI::App cli{"Cutting layouts for a parts list and a stocks list, printed as the layout export "
                 "(TAB-separated) or as JSON."};
    cli.footer("Exit status: 0 with a layout; 1 when the input is refused or no layout exists; 2 for a usage error "
               "or a list that can't be read (an output file that is one of the files read is one); 3 when an output "
               "could not be written. Output files are written only after a run that shows a layout, each whole: "
               "a failed write keeps the old files and writes none of the new ones. A device or a pipe named as an "
               "output is written into, never replaced.");
    cli.set_version_flag("--version", std::string("barvik-cli ") + buildinfo::kVersion, "Print the version and exit");
    addJobOptions(cli, options);
    addPrintOptions(cli, options);
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli.exit(error, out, err);
        QString message = QString::fromStdString(err.str());
        if (message.endsWith(u'\n'))
            message.chop(1);
        if (!message.isEmpty())
            output.message(message);
        if (!out.str().empty() && !output.write(QByteArray::fromStdString(out.str())).ok())
            return kExitOutput;
        return status == 0 ? kExitLayout : kExitUsage;
    }
    for (const CLI::Option* option : cli.get_options())
        if (option->count() > 0)
            options.given.insert(option->get_name());
    if (const QString error = printOptionsError(options); !error.isEmpty()) {
        output.message(error);
        return kExitUsage;
    }
    return options;
}

} // namespace cli
