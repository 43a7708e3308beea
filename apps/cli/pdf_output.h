#pragma once

#include "cli/job.h"
#include "cli/options.h"

#include "calculation/file_result.h"
#include "calculation/run_seams.h"
#include "diagrams/bar_geometry.h"

#include <QByteArray>
#include <QString>

namespace cli {

// The job as the pages show it: its grids, the run its plan comes from and the plan's diagrams.
struct PrintedJob {
    const Job& job;
    const diagrams::DiagramSource& run;
    const diagrams::PlanDiagrams& plan;
};

// The printout of the print mode in effect (the options', else the project's, else the layouts) with the
// diagrams and cutting list the options add, made as a PDF in memory for the file at `path`, which a failure
// names.
calculation::FileResult renderPrintoutPdf(const Options& options, const PrintedJob& printed,
                                          const calculation::Clock& clock, QByteArray& pdf, const QString& path);
// The labels of every piece and remnant on the options' sheet, made as a PDF in memory.
calculation::FileResult renderLabelsPdf(const Options& options, const PrintedJob& printed,
                                        const calculation::Clock& clock, QByteArray& pdf, const QString& path);

} // namespace cli
