#pragma once

#include "cli/job.h"
#include "cli/options.h"

#include "calculation/run_seams.h"
#include "diagrams/bar_geometry.h"

#include <QString>

namespace cli {

// The job as the pages show it: its grids, the run its plan comes from and the plan's diagrams.
struct PrintedJob {
    const Job& job;
    const diagrams::DiagramSource& run;
    const diagrams::PlanDiagrams& plan;
};

// The printout of the print mode in effect (the options', else the project's, else the layouts) with the
// diagrams and cutting list the options add, written to a PDF file; false with the message when it can't be
// written.
bool writePrintoutPdf(const Options& options, const PrintedJob& printed, const calculation::Clock& clock,
                      const QString& path, QString* error);
// The labels of every piece and remnant on the options' sheet, written to a PDF file.
bool writeLabelsPdf(const Options& options, const PrintedJob& printed, const calculation::Clock& clock,
                    const QString& path, QString* error);

} // namespace cli
