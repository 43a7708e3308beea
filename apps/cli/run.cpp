#include "cli/run.h"

#include "cli/job.h"
#include "cli/options.h"
#include "cli/outputs.h"

#include "calculation/run_checks.h"
#include "localization/catalogs.h"
#include "localization/translate.h"
#include "optimizer/random_source.h"
#include "optimizer/search_observer.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <string>

namespace cli {

using localization::translate;

namespace {

class OutputMessages : public calculation::MessageSink {
public:
    explicit OutputMessages(Output& output) : m_output(output) {}
    void showMessage(const QString& text, calculation::MessageIcon) override { m_output.message(text); }

private:
    Output& m_output;
};

// A bar on standard error that moves once per generation, when a person watches standard error.
class ProgressBar : public optimizer::SearchObserver {
public:
    ProgressBar(Output& output, int generations)
        : m_output(output), m_generations(generations), m_shown(output.watched())
    {
    }
    ~ProgressBar() override
    {
        if (m_shown && m_drawn)
            m_output.progress('\r' + QByteArray(60, ' ') + '\r');
    }
    void generationFinished(int32_t generation) override
    {
        if (!m_shown)
            return;
        const int width = 40;
        const int done = std::min(width, generation * width / std::max(1, m_generations));
        m_output.progress("\r[" + QByteArray(done, '#') + QByteArray(width - done, '.') + "] " +
                          QByteArray::number(generation) + '/' + QByteArray::number(m_generations));
        m_drawn = true;
    }

private:
    Output& m_output;
    int m_generations;
    bool m_shown;
    bool m_drawn = false;
};

// Before any text is built, so that every message and header is in that language; false on a usage error.
bool useLanguage(const std::string& language, Output& output)
{
    if (language.empty() || localization::useLanguage(QString::fromStdString(language)))
        return true;
    if (!localization::catalogProblem().isEmpty()) {
        output.message(localization::catalogProblem());
        return true;
    }
    if (language == localization::kDefaultLanguage)
        return true;
    output.message(translate("There is no catalog for the language %1.").arg(QString::fromStdString(language)));
    return false;
}

} // namespace

int runCli(int argc, const char* const* argv, Output& output)
{
    std::variant<Options, int> parsed = parseOptions(argc, argv, output);
    if (const int* status = std::get_if<int>(&parsed))
        return *status;
    Options& options = std::get<Options>(parsed);
    if (!useLanguage(options.language, output))
        return kExitUsage;
    if (options.projectPath.empty() && (options.partsPath.empty() || options.stocksPath.empty())) {
        output.message(translate("Give a parts list and a stocks list, or a project with --project."));
        return kExitUsage;
    }
    if (const calculation::FileResult names = checkOutputNames(options); !names.ok) {
        output.message(names.message());
        return kExitUsage;
    }
    std::variant<std::unique_ptr<Job>, int> loaded = loadJob(options, output);
    if (const int* status = std::get_if<int>(&loaded))
        return *status;
    const Job& job = *std::get<std::unique_ptr<Job>>(loaded);
    if (const calculation::FileResult targets = checkOutputTargets(options, job); !targets.ok) {
        output.message(targets.message());
        return kExitUsage;
    }

    if (const std::optional<calculation::InputRefusal> refusal =
            options.cost ? calculation::checkCostOption(*job.stocks) : std::nullopt) {
        output.message(refusal->message);
        return kExitNoLayout;
    }
    OutputMessages messages(output);
    optimizer::strGroupArg lastRun;
    calculation::Clock clock;
    calculation::CalculationRun run({*job.parts, *job.stocks, *job.layout}, lastRun, messages, clock);
    optimizer::RandomSource random(
        options.seed.value_or(uint32_t(std::chrono::system_clock::now().time_since_epoch() / std::chrono::seconds(1))));
    QElapsedTimer timer;
    timer.start();
    bool shown = false;
    {
        ProgressBar progress(output, 20 * options.quality);
        shown = run.run(job.controls, random, &progress);
    }
    if (!shown)
        return kExitNoLayout;
    return writeOutputs(options, job, {run, clock, double(timer.nsecsElapsed()) / 1e9}, output);
}

} // namespace cli
