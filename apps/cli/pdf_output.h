#pragma once

#include "cli/options.h"

#include "calculation/grid_model.h"
#include "calculation/run_seams.h"
#include "diagrams/bar_geometry.h"

#include <QString>

namespace cli {

// The layout table as the preview lays it out, written to a PDF file with the cutting diagrams and the
// cutting list the options ask for; false with the message when it can't be written.
bool writeLayoutPdf(const Options& options, const diagrams::PlanDiagrams& plan, const calculation::GridModel& layout,
                    const calculation::Clock& clock, const QString& path, QString* error);

} // namespace cli
