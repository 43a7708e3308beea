#include "cli/outputs.h"

#include "cli/pdf_output.h"

#include "diagrams/cut_list.h"
#include "exchange/layout_export.h"
#include "exchange/layout_json.h"
#include "exchange/remnant_stocks.h"
#include "files/whole_file.h"
#include "lists/text_file.h"
#include "localization/translate.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

#include <algorithm>
#include <memory>
#include <optional>
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

// Two outputs are one file when they lead to one existing file, or name one file still to be made. Devices
// and pipes may take several outputs.
bool sameOutput(const QString& a, const QString& b)
{
    const std::optional<files::FileIdentity> first = files::fileIdentity(a);
    if (first)
        return files::isRegularFile(a) && first == files::fileIdentity(b);
    return !files::fileIdentity(b) && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// An output file and what goes into it.
struct OutputFile {
    QString path;
    QByteArray bytes;
};

// The contents of every output file, made before any of them is written; a failure when one can't be made.
calculation::FileResult makeOutputFiles(const Options& options, const Job& job, const RunResult& result,
                                        std::vector<OutputFile>& made)
{
    const calculation::CalculationRun& run = result.run;
    const optimizer::CutSettings& settings = run.settings();
    const diagrams::DiagramSource source{run.shownPlan(),      run.shownParts(),      run.shownStocks(),
                                         settings.bladeWidth,  settings.stubLength,   job.controls.formatIndex,
                                         settings.reuseLength, settings.qualityLevel, run.qualityText()};
    const diagrams::PlanDiagrams plan = diagrams::diagramsOfTable(source, *job.layout, job.controls.reuseLength);
    auto text = [&](const std::string& path, auto lines) {
        if (!path.empty())
            made.push_back({outputName(path), lists::textFileBytes(lines())});
    };
    if (!options.saveProjectPath.empty()) {
        const document::ProjectSettings project = projectToSave(job, options);
        if (lists::FileResult refused = document::projectLineBreak(project, outputName(options.saveProjectPath));
            !refused.ok)
            return refused;
        made.push_back({outputName(options.saveProjectPath), lists::textFileBytes(document::projectLines(project))});
    }
    text(options.cutListPath, [&] { return diagrams::cutListLines(plan); });
    text(options.exportPath, [&] { return exchange::layoutExportLines(*job.layout); });
    text(options.saveLeftPath, [&] { return exchange::leftStockLines(*job.stocks); });
    text(options.exportLeftPath, [&] { return exchange::remnantStockLines(*job.layout); });
    const PrintedJob printed{job, source, plan};
    for (const auto& [path, render] :
         {std::pair{&options.pdfPath, &renderPrintoutPdf}, std::pair{&options.labelsPath, &renderLabelsPdf}}) {
        if (path->empty())
            continue;
        QByteArray pdf;
        if (calculation::FileResult rendered = render(options, printed, result.clock, pdf, outputName(*path));
            !rendered.ok)
            return rendered;
        made.push_back({outputName(*path), pdf});
    }
    return {};
}

// Writes the files all or none: every one is staged beside its target before any takes its place.
calculation::FileResult writeFiles(const std::vector<OutputFile>& outputs)
{
    std::vector<std::unique_ptr<files::WholeFile>> staged;
    for (const OutputFile& file : outputs) {
        staged.push_back(std::make_unique<files::WholeFile>(file.path));
        if (const files::WriteStatus status = staged.back()->stage(file.bytes); !status.ok())
            return calculation::writeFailure(file.path, status);
    }
    // Devices and pipes first: they are written only now and may still fail; the others only take their place.
    for (const bool direct : {true, false}) {
        for (size_t index = 0; index < outputs.size(); ++index) {
            if (staged[index]->direct() != direct)
                continue;
            if (const files::WriteStatus status = staged[index]->commit(); !status.ok())
                return calculation::writeFailure(outputs[index].path, status);
        }
    }
    return {};
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

calculation::FileResult checkOutputNames(const Options& options)
{
    for (const auto& [option, bytes] : outputFiles(options)) {
        if (!options.isGiven(option))
            continue;
        const QString name = outputName(*bytes);
        const QString shown = QString::fromLatin1(option);
        if (bytes->empty())
            return calculation::fileFailure(translate("%1 needs a file name.").arg(shown));
        if (QFile::encodeName(name).toStdString() != *bytes)
            return calculation::fileFailure(
                translate("The %1 file name %2 is not valid UTF-8.").arg(shown.mid(2), name), name);
    }
    return {};
}

calculation::FileResult checkOutputTargets(const Options& options, const Job& job)
{
    std::vector<std::pair<QString, QString>> named;
    for (const auto& [option, bytes] : outputFiles(options)) {
        if (bytes->empty())
            continue;
        const QString shown = QString::fromLatin1(option).mid(2);
        const QString name = outputName(*bytes);
        const std::optional<files::FileIdentity> target = files::fileIdentity(name);
        const bool isInput = target && std::any_of(job.readFiles.begin(), job.readFiles.end(), [&](const QString& in) {
                                 return files::fileIdentity(in) == target;
                             });
        if (isInput)
            return calculation::fileFailure(translate("The %1 file %2 is one of the input files.").arg(shown, name),
                                            name);
        for (const auto& [otherShown, other] : named) {
            if (sameOutput(name, other))
                return calculation::fileFailure(
                    translate("The %1 file and the %2 file are the same file, %3.").arg(otherShown, shown, name), name);
        }
        named.emplace_back(shown, name);
    }
    return {};
}

int writeOutputs(const Options& options, const Job& job, const RunResult& result, Output& output)
{
    // The files first: when one fails, nothing is printed that looks like success.
    std::vector<OutputFile> made;
    calculation::FileResult written = makeOutputFiles(options, job, result, made);
    if (written.ok)
        written = writeFiles(made);
    if (!written.ok) {
        output.message(written.message());
        return kExitOutput;
    }
    if (const files::WriteStatus status = output.write(standardOutput(options, job, result)); !status.ok()) {
        output.message(
            translate("Cannot write the layouts to standard output: %1").arg(calculation::writeFailureReason(status)));
        return kExitOutput;
    }
    return kExitLayout;
}

} // namespace cli
