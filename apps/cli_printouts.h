#pragma once

// barvik-cli's printouts: the pages the window's print list makes, as PDF, and the labels of every piece.

#include "calculation/grid_model.h"
#include "calculation/run_seams.h"
#include "diagrams/bar_geometry.h"

#include <CLI/CLI.hpp>
#include <QString>

#include <string>

namespace cli {

// What the command line asks to print.
struct PrintRequest {
    std::string pdfPath;
    std::string pageSize = "A4";
    std::string orientation = "portrait";
    std::string mode; // empty: the project's print choice, else the layouts
    std::string diagramPlacement;
    bool cutList = false;
    std::string labelsPath;
    std::string labelSheet = "a4-3x8";
    int labelSkip = 0;
    std::string title;
    std::string unit;
};

// Adds --pdf, --page-size, --orientation, --print-mode, --diagrams, --cut-list, --labels, --label-sheet,
// --label-skip, --title and --unit.
void addPrintOptions(CLI::App& cli, PrintRequest& request);

// True when the command line asks for pages, which need fonts and so a GUI application.
bool wantsPages(int argc, char** argv);

// What the options can only tell together: a message for a usage error, or nothing.
QString printRequestError(const PrintRequest& request);

// The job a printout shows.
struct PrintedJob {
    const calculation::GridModel& layout;
    const calculation::GridModel& parts;
    const calculation::GridModel& stocks;
    const diagrams::DiagramSource& run;
    const diagrams::PlanDiagrams& plan;
    QString title;
    QString unit;
    int projectPrintMode = -1; // the project's print choice, or -1 without a project
};

// Writes the PDF and the labels asked for; false after the message when a file can't be written.
bool writePrintouts(const PrintRequest& request, const PrintedJob& job, const calculation::Clock& clock);

} // namespace cli
