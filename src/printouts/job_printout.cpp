#include "job_printout.h"

#include "calculation/layout_table.h"
#include "calculation/number_text.h"
#include "localization/translate.h"
#include "mainwindow/layout_wrap.h"
#include "printing/layout_printout.h"

namespace printouts {

using localization::translate;

printing::JobHeading jobHeading(const QString& title, const QString& unit, const diagrams::DiagramSource* run)
{
    printing::JobHeading heading{title, unit, std::nullopt};
    if (run)
        heading.facts = printing::JobFacts{calculation::formatTotal(run->bladeWidth),
                                           calculation::formatTotal(run->stubLength),
                                           calculation::formatTotal(run->reuseLength),
                                           run->qualityLevel,
                                           12,
                                           run->proof};
    return heading;
}

JobPrintout::JobPrintout(const PrintContents& contents, const JobGrids& grids, const diagrams::PlanDiagrams* plan,
                         const printing::JobHeading& heading, const calculation::Clock& clock, const QFont& font)
{
    if (contents.labels && plan) {
        m_labels = std::make_unique<labels::LabelPrintout>(
            *plan, labels::LabelJob{heading.title.trimmed(), heading.unit.trimmed()});
        m_labels->setFont(font);
        return;
    }
    m_tables = std::make_unique<printing::TjvGridPrinter>(clock);
    printing::prepareLayoutPrintout(*m_tables);
    printing::setJobHeading(m_tables->options(), heading);
    m_tables->setFont(font);
    addTables(contents, grids, plan);
}

void JobPrintout::addTables(const PrintContents& contents, const JobGrids& grids, const diagrams::PlanDiagrams* plan)
{
    // 1 - the lists, each as wide as its texts, under their captions when the layouts follow
    if (contents.lists) {
        for (const auto& [grid, caption] :
             {std::pair{&grids.parts, translate("Parts")}, std::pair{&grids.stocks, translate("Stocks")}})
            m_tables->fitColumns(-1, m_tables->addTable(*grid, caption));
    }
    if (!contents.layouts)
        return;
    // 2 - the layouts: "Cutting Layout" takes the rest of the line and breaks between pieces
    const int layout = m_tables->addTable(grids.layout, contents.lists ? translate("Cutting Layouts") : QString());
    m_tables->fitColumns(calculation::kLayoutPiecesColumn, layout);
    const QStringList names = mainwindow::piecesWithBlanks(grids.parts);
    m_tables->setWrapRule(
        [names](const QString& text, int width, const std::function<int(const QString&)>& textWidth) {
            return mainwindow::wrapLayoutText(text, width, textWidth, names);
        },
        layout);
    // 3 - what the plan adds
    if (plan) {
        m_planPrintouts.emplace(*plan, contents.diagrams, contents.cutList);
        m_planPrintouts->attachTo(*m_tables, layout);
    }
}

printing::PagedDocument& JobPrintout::document()
{
    if (m_labels)
        return *m_labels;
    return *m_tables;
}

} // namespace printouts
