// barvik-cli: the cutting calculation of the desktop program, for scripts and servers.

#include "calculation/calculation_run.h"
#include "calculation/grids.h"
#include "exchange/layout_export.h"
#include "exchange/layout_json.h"
#include "localization/translate.h"
#include "lists/list_files.h"

#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kExitNoLayout = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutput = 3;

using localization::translate;

void printError(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// A file named on the command line, as Qt can reach it. Qt reads file names as UTF-8, and a name that is not
// valid UTF-8 does not survive that: such a file is opened here by its bytes and reached through /dev/fd.
class InputFile {
public:
    explicit InputFile(const std::string& bytes) : m_shown(QFile::decodeName(QByteArray::fromStdString(bytes)))
    {
        m_path = m_shown;
        if (QFile::encodeName(m_shown).toStdString() == bytes)
            return;
        // Without blocking on a pipe: the loader refuses what is no regular file.
        m_fd = ::open(bytes.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd >= 0)
            m_path = QStringLiteral("/dev/fd/%1").arg(m_fd);
    }
    ~InputFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const QString& path() const { return m_path; }
    // A message about the file, naming it as the user wrote it.
    QString named(QString message) const { return message.replace(m_path, m_shown); }

private:
    QString m_shown;
    QString m_path;
    int m_fd = -1;
};

bool sameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

class StandardErrorMessages : public calculation::MessageSink {
public:
    void showMessage(const QString& text, calculation::MessageIcon) override
    {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
};

// A bar on standard error that moves once per generation, when standard error is a terminal.
class ProgressBar : public optimizer::SearchObserver {
public:
    explicit ProgressBar(int generations) : m_generations(generations), m_shown(isatty(STDERR_FILENO) != 0) {}
    ~ProgressBar() override
    {
        if (m_shown && m_drawn)
            std::fprintf(stderr, "\r%*s\r", 60, "");
    }
    void generationFinished(int32_t generation) override
    {
        if (!m_shown)
            return;
        const int width = 40;
        const int done = std::min(width, generation * width / std::max(1, m_generations));
        std::fprintf(stderr, "\r[%s%s] %d/%d", std::string(size_t(done), '#').c_str(),
                     std::string(size_t(width - done), '.').c_str(), generation, m_generations);
        std::fflush(stderr);
        m_drawn = true;
    }

private:
    int m_generations;
    bool m_shown;
    bool m_drawn = false;
};

int partsFormat(const std::string& name, const QString& path)
{
    if (name == "text")
        return lists::kPartsText;
    if (name == "sfcad")
        return lists::kPartsSfcad;
    if (name == "mst")
        return lists::kPartsMst;
    if (name == "pipe")
        return lists::kPartsPipe;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("nbt"))
        return lists::kPartsSfcad;
    if (suffix == QLatin1String("dst"))
        return lists::kPartsPipe;
    return lists::kPartsText;
}

int stocksFormat(const std::string& name, const QString& path)
{
    if (name == "text")
        return lists::kStocksText;
    if (name == "pipe")
        return lists::kStocksPipe;
    return QFileInfo(path).suffix().toLower() == QLatin1String("stk") ? lists::kStocksPipe
                                                                       : lists::kStocksText;
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
        bound.insert(QStringLiteral("objective"), outcome.bound);
    }
    return QJsonObject{{QStringLiteral("engine"), QLatin1String(engines[int(run.shownEngine())])},
                       {QStringLiteral("provenOptimal"), quality.boundKnown && quality.optimal},
                       {QStringLiteral("bound"), bound},
                       {QStringLiteral("quality"), run.qualityText()}};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);

    CLI::App cli{"Cutting layouts for a parts list and a stocks list, printed as the layout export "
                 "(TAB-separated) or as JSON."};
    std::string partsPath;
    std::string stocksPath;
    std::string partsFormatName;
    std::string stocksFormatName;
    std::string blade = "0";
    std::string stub = "0";
    std::string reuse = "15";
    int quality = 5;
    int display = 2;
    int format = 0;
    bool change = false;
    bool cost = false;
    bool json = false;
    std::optional<uint32_t> seed;
    std::string exportPath;
    std::string engine = "both";
    double timeLimit = -1;
    cli.add_option("PARTS", partsPath, "Parts list file")->required();
    cli.add_option("STOCKS", stocksPath, "Stocks list file")->required();
    cli.add_option("--parts-format", partsFormatName, "Layout of the parts file (default from the extension)")
        ->check(CLI::IsMember({"text", "sfcad", "mst", "pipe"}));
    cli.add_option("--stocks-format", stocksFormatName, "Layout of the stocks file (default from the extension)")
        ->check(CLI::IsMember({"text", "pipe"}));
    cli.add_option("--blade", blade, "Blade width")->capture_default_str();
    cli.add_option("--stub", stub, "Stub length, the unusable end of every bar")->capture_default_str();
    cli.add_option("--reuse", reuse, "Shortest left-over that counts as a reusable remnant")->capture_default_str();
    cli.add_option("--quality", quality, "1 (fastest) to 12 (best)")->check(CLI::Range(1, 12))->capture_default_str();
    cli.add_flag("--change", change, "Change optimization: prefer few distinct patterns");
    cli.add_flag("--cost", cost, "Cost optimization: prefer cheap bars");
    cli.add_option("--display", display, "Pieces as 0 Label(Length) X Qty, 1 Length X Qty, 2 Label X Qty")
        ->check(CLI::Range(0, 2))
        ->capture_default_str();
    cli.add_option("--format", format, "Length format 0 999999, 1 99999.9, 2 9999.99, 3 999.999, 4 99.9999")
        ->check(CLI::Range(0, 4))
        ->capture_default_str();
    cli.add_option("--seed", seed, "Seed of the search, for repeatable results (default: the clock)");
    cli.add_option("--export", exportPath, "Also write the layout export to this file");
    cli.add_flag("--json", json, "Print one JSON object instead of the layout export");
    cli.add_option("--engine", engine, "genetic, exact, or both side by side (the better plan is shown)")
        ->check(CLI::IsMember({"genetic", "exact", "both"}))
        ->capture_default_str();
    cli.add_option("--time-limit", timeLimit, "Seconds for the exact engine (default: from the quality level)")
        ->check(CLI::Range(0.0, 86400.0));
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return cli.exit(error) == 0 ? 0 : kExitUsage;
    }

    const InputFile partsFile(partsPath);
    const InputFile stocksFile(stocksPath);
    const QString exportFile = QFile::decodeName(QByteArray::fromStdString(exportPath));
    if (cli.count("--export") > 0) {
        // Checked before anything is read or written: a typo must not cost the user a list.
        if (exportPath.empty()) {
            printError(translate("--export needs a file name."));
            return kExitUsage;
        }
        if (QFile::encodeName(exportFile).toStdString() != exportPath) {
            printError(translate("The export file name %1 is not valid UTF-8.").arg(exportFile));
            return kExitUsage;
        }
        if (sameFile(exportFile, partsFile.path()) || sameFile(exportFile, stocksFile.path())) {
            printError(translate("The export file %1 is one of the input files.").arg(exportFile));
            return kExitUsage;
        }
    }

    std::unique_ptr<calculation::GridModel> parts(calculation::createPartsGrid());
    std::unique_ptr<calculation::GridModel> stocks(calculation::createStocksGrid());
    std::unique_ptr<calculation::GridModel> layout(calculation::createLayoutGrid());
    const std::pair<const InputFile*, lists::FileResult> loads[] = {
        {&partsFile,
         lists::LoadPartsFile(*parts, partsFile.path(), partsFormat(partsFormatName, partsFile.path()))},
        {&stocksFile,
         lists::LoadStocksFile(*stocks, stocksFile.path(), stocksFormat(stocksFormatName, stocksFile.path()))}};
    for (const auto& [file, loaded] : loads) {
        if (!loaded.ok) {
            printError(file->named(loaded.message()));
            return kExitUsage;
        }
        if (!loaded.notice.isEmpty())
            printError(file->named(loaded.notice));
    }

    StandardErrorMessages messages;
    if (cost && !calculation::checkCostOption(*stocks, messages))
        return kExitNoLayout;

    calculation::CalcControls controls;
    controls.bladeWidth = QString::fromStdString(blade);
    controls.stubLength = QString::fromStdString(stub);
    controls.reuseLength = QString::fromStdString(reuse);
    controls.qualityLevel = quality;
    controls.changeOptimization = change;
    controls.costOptimization = cost;
    controls.displayMode = display;
    controls.formatIndex = format;
    controls.geneticSearch = engine != "exact";
    controls.exactSearch = engine != "genetic";
    controls.exactSeconds = timeLimit;

    optimizer::strGroupArg lastRun;
    calculation::Clock clock;
    calculation::CalculationRun run({*parts, *stocks, *layout}, lastRun, messages, clock);
    optimizer::RandomSource random(
        seed.value_or(uint32_t(std::chrono::system_clock::now().time_since_epoch() / std::chrono::seconds(1))));
    QElapsedTimer timer;
    timer.start();
    bool shown = false;
    {
        ProgressBar progress(20 * quality);
        shown = run.run(controls, random, &progress);
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!shown)
        return kExitNoLayout;

    // The export first: when it fails, nothing is printed that looks like success.
    if (!exportPath.empty()) {
        if (const lists::FileResult written = exchange::exportLayouts(*layout, exportFile); !written.ok) {
            printError(written.message());
            return kExitOutput;
        }
    }
    if (json) {
        const QByteArray text = exchange::layoutJson(run.shownPlan(), run.shownParts(), run.shownStocks(), *layout,
                                                     seconds, qualityJson(run));
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    } else {
        for (const QString& line : exchange::layoutExportLines(*layout))
            std::printf("%s\r\n", line.toLocal8Bit().constData());
    }
    // A full disk or a closed pipe shows only here.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        printError(translate("Cannot write the layouts to standard output: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return kExitOutput;
    }
    return 0;
}
