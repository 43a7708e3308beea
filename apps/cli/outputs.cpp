#include "cli/outputs.h"

#include "cli/pdf_output.h"

#include "diagrams/cut_list.h"
#include "exchange/layout_export.h"
#include "exchange/layout_json.h"
#include "exchange/remnant_stocks.h"
#include "lists/text_file.h"
#include "localization/translate.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

#include <algorithm>
#include <cstring>
#include <utility>

namespace cli {

using localization::translate;

namespace {

// The output options, by their names on the command line.
std::vector<std::pair<const char*, const std::string*>> outputFiles(const Options& options)
{
    return {{"--export", &options.exportPath},
            {"--save-project", &options.saveProjectPath},
            {"--save-left", &options.saveLeftPath},
            {"--export-left", &options.exportLeftPath},
            {"--pdf", &options.pdfPath},
            {"--labels", &options.labelsPath},
            {"--cut-list-text", &options.cutListPath}};
}

QString outputName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool sameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// How good the shown plan is: the engine that made it, the lower bound and whether the plan meets it.
QJsonObject qualityJson(const calculation::CalculationRun& run)
{
    static const char* const engines[] = {"none", "genetic", "exact", "kept"};
    const exact::PlanQuality& quality = run.shownQuality();
    const exact::ExactOutcome& outcome = run.exactOutcome();
    QJsonObject bound{{QStringLiteral("known"), quality.boundKnown}};
    if (quality.boundKnown) {
        if (quality.barsMeasure)
            bound.insert(QStringLiteral("bars"), double(quality.boundBars));
        // The engine's own objective, and how far the plan may be above the best one in the job's measure:
        // bars, waste length or cost.
        bound.insert(QStringLiteral("objective"), outcome.bound);
        bound.insert(QStringLiteral("measure"), quality.barsMeasure   ? QStringLiteral("bars")
                                                : quality.costMeasure ? QStringLiteral("cost")
                                                                      : QStringLiteral("waste"));
        bound.insert(QStringLiteral("excess"), quality.excess);
        bound.insert(QStringLiteral("excessPercent"), quality.excessPercent);
    }
    return QJsonObject{{QStringLiteral("engine"), QLatin1String(engines[int(run.shownEngine())])},
                       {QStringLiteral("provenOptimal"), quality.boundKnown && quality.optimal},
                       {QStringLiteral("bound"), bound},
                       {QStringLiteral("quality"), run.qualityText()}};
}

// The layouts on standard output: the layout export, or one JSON object.
QByteArray standardOutput(const Options& options, const Job& job, const RunResult& result)
{
    const calculation::CalculationRun& run = result.run;
    if (options.json)
        return exchange::layoutJson(run.shownPlan(), run.shownParts(), run.shownStocks(), *job.layout, result.seconds,
                                    qualityJson(run));
    QByteArray text;
    for (const QString& line : exchange::layoutExportLines(*job.layout))
        text += line.toLocal8Bit() + "\r\n";
    return text;
}

} // namespace

bool checkOutputNames(const Options& options, Output& output)
{
    for (const auto& [option, bytes] : outputFiles(options)) {
        if (!options.isGiven(option))
            continue;
        const QString name = outputName(*bytes);
        const QString shown = QString::fromLatin1(option);
        if (bytes->empty())
            output.message(translate("%1 needs a file name.").arg(shown));
        else if (QFile::encodeName(name).toStdString() != *bytes)
            output.message(translate("The %1 file name %2 is not valid UTF-8.").arg(shown.mid(2), name));
        else
            continue;
        return false;
    }
    return true;
}

bool checkOutputTargets(const Options& options, const Job& job, Output& output)
{
    for (const auto& [option, bytes] : outputFiles(options)) {
        if (bytes->empty())
            continue;
        const QString name = outputName(*bytes);
        const bool isInput = std::any_of(job.inputs.begin(), job.inputs.end(),
                                         [&](const auto& input) { return sameFile(name, input->path()); });
        if (isInput) {
            output.message(
                translate("The %1 file %2 is one of the input files.").arg(QString::fromLatin1(option).mid(2), name));
            return false;
        }
    }
    return true;
}

int writeOutputs(const Options& options, const Job& job, const RunResult& result, Output& output)
{
    const calculation::CalculationRun& run = result.run;
    const optimizer::CutSettings& settings = run.settings();
    const diagrams::DiagramSource source{run.shownPlan(),      run.shownParts(),      run.shownStocks(),
                                         settings.bladeWidth,  settings.stubLength,   job.controls.formatIndex,
                                         settings.reuseLength, settings.qualityLevel, run.qualityText()};
    const diagrams::PlanDiagrams plan = diagrams::diagramsOfTable(source, *job.layout, job.controls.reuseLength);
    // The files first: when one fails, nothing is printed that looks like success.
    const lists::FileResult written[] = {
        options.cutListPath.empty()
            ? lists::FileResult{}
            : lists::writeTextLines(outputName(options.cutListPath), diagrams::cutListLines(plan)),
        options.exportPath.empty() ? lists::FileResult{}
                                   : exchange::exportLayouts(*job.layout, outputName(options.exportPath)),
        options.saveLeftPath.empty() ? lists::FileResult{}
                                     : exchange::saveLeftStocks(*job.stocks, outputName(options.saveLeftPath)).result,
        options.exportLeftPath.empty()
            ? lists::FileResult{}
            : exchange::exportRemnants(*job.layout, outputName(options.exportLeftPath)).result};
    for (const lists::FileResult& file : written) {
        if (!file.ok) {
            output.message(file.message());
            return kExitOutput;
        }
    }
    const PrintedJob printed{job, source, plan};
    for (const auto& [path, writer] :
         {std::pair{&options.pdfPath, &writePrintoutPdf}, std::pair{&options.labelsPath, &writeLabelsPdf}}) {
        QString error;
        if (!path->empty() && !writer(options, printed, result.clock, outputName(*path), &error)) {
            output.message(error);
            return kExitOutput;
        }
    }
    if (const int error = output.write(standardOutput(options, job, result)); error != 0) {
        // A full disk or a closed pipe shows only here.
        output.message(translate("Cannot write the layouts to standard output: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(error))));
        return kExitOutput;
    }
    return kExitLayout;
}

} // namespace cli
