#pragma once

#include "cli/options.h"

#include "calculation/grid_model.h"
#include "calculation/run_seams.h"
#include "diagrams/bar_geometry.h"

#include <QByteArray>
#include <QString>

namespace cli {

// The layout table as the preview lays it out, as a PDF with the cutting diagrams and the cutting list the
// options ask for; false with the reason when a page can't be made.
bool renderLayoutPdf(const Options& options, const diagrams::PlanDiagrams& plan, const calculation::GridModel& layout,
                     const calculation::Clock& clock, QByteArray& pdf, QString* reason);

} // namespace cli
