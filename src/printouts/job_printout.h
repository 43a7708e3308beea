#pragma once

#include "print_modes.h"

#include "calculation/grid_model.h"
#include "calculation/run_seams.h"
#include "diagrams/bar_geometry.h"
#include "labels/painting/label_printout.h"
#include "printing/grid_printer.h"
#include "printing/job_heading.h"

#include <QFont>

#include <memory>
#include <optional>

namespace printouts {

// The grids a printout reads: the layout table and the two lists.
struct JobGrids {
    const calculation::GridModel& layout;
    const calculation::GridModel& parts;
    const calculation::GridModel& stocks;
};

// The job's heading from the run a plan came from: the job's title and unit, and the run's settings.
printing::JobHeading jobHeading(const QString& title, const QString& unit, const diagrams::DiagramSource* run);

// One printout of a job as the print list chooses it, for the preview, the printer and PDF: the lists and
// the layout table on pages sized for the paper with the job under the title, the diagrams or cutting
// list the mode adds, or the labels of every piece. The grids and the plan must outlive it.
class JobPrintout {
public:
    // Without a plan (nullptr) the printout has no diagrams, cutting list or labels.
    JobPrintout(const PrintContents& contents, const JobGrids& grids, const diagrams::PlanDiagrams* plan,
                const printing::JobHeading& heading, const calculation::Clock& clock, const QFont& font = QFont());
    // The printer keeps pointers to the parts it prints.
    JobPrintout(const JobPrintout&) = delete;
    JobPrintout& operator=(const JobPrintout&) = delete;

    printing::PagedDocument& document();
    // The tables' printer; nothing for labels.
    printing::TjvGridPrinter* tables() { return m_tables.get(); }
    // The labels; nothing unless the printout is labels.
    labels::LabelPrintout* labels() { return m_labels.get(); }

private:
    void addTables(const PrintContents& contents, const JobGrids& grids, const diagrams::PlanDiagrams* plan);

    std::unique_ptr<printing::TjvGridPrinter> m_tables;
    std::optional<diagrams::PlanPrintouts> m_planPrintouts;
    std::unique_ptr<labels::LabelPrintout> m_labels;
};

} // namespace printouts
