// barvik-cli: the cutting calculation of the desktop program, for scripts and servers.

#include "calculation/calculation_run.h"
#include "calculation/grids.h"
#include "diagrams/cut_list.h"
#include "exchange/layout_export.h"
#include "exchange/layout_json.h"
#include "exchange/remnant_stocks.h"
#include "lists/list_files.h"
#include "localization/catalogs.h"
#include "localization/translate.h"
#include "mainwindow/project_file.h"
#include "printouts/print_modes.h"

#include "build_info.h"
#include "cli_printouts.h"

#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
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
    const QString& shown() const { return m_shown; }
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

// The workbook formats by name or, without one, by the file's extension; the list loaders number them
// from their Excel entry on.
std::optional<int> workbookFormat(const std::string& name, const QString& path, int excelFormat)
{
    static const char* const names[] = {"xls", "xlsx", "ods", "csv"};
    const std::string suffix = QFileInfo(path).suffix().toLower().toStdString();
    for (int i = 0; i < int(std::size(names)); ++i) {
        if (name == names[i] || (name.empty() && suffix == names[i]))
            return excelFormat + i;
    }
    return std::nullopt;
}

int partsFormat(const std::string& name, const QString& path)
{
    if (const std::optional<int> workbook = workbookFormat(name, path, lists::kPartsExcel))
        return *workbook;
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
    if (const std::optional<int> workbook = workbookFormat(name, path, lists::kStocksExcel))
        return *workbook;
    if (name == "text")
        return lists::kStocksText;
    if (name == "pipe")
        return lists::kStocksPipe;
    return QFileInfo(path).suffix().toLower() == QLatin1String("stk") ? lists::kStocksPipe : lists::kStocksText;
}

// An output file named on the command line, checked before anything is read or written: a typo must not
// cost the user a list.
bool checkOutputFile(const std::string& option, const std::string& bytes, const std::vector<const InputFile*>& inputs)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(bytes));
    const QString shown = QString::fromStdString(option);
    if (bytes.empty())
        printError(translate("%1 needs a file name.").arg(shown));
    else if (QFile::encodeName(name).toStdString() != bytes)
        printError(translate("The %1 file name %2 is not valid UTF-8.").arg(shown.mid(2), name));
    else if (std::any_of(inputs.begin(), inputs.end(), [&](const InputFile* in) { return sameFile(name, in->path()); }))
        printError(translate("The %1 file %2 is one of the input files.").arg(shown.mid(2), name));
    else
        return true;
    return false;
}

// A list named on the command line, loaded into its grid; false after the message when it can't be read.
bool loadList(const InputFile& file, const lists::FileResult& loaded)
{
    if (!loaded.ok) {
        printError(file.named(loaded.message()));
        return false;
    }
    if (!loaded.notice.isEmpty())
        printError(file.named(loaded.notice));
    return true;
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

// Fonts for the PDF need a GUI application; without a display it draws offscreen.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv)
{
    if (!cli::wantsPages(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);

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
    std::string projectPath;
    std::string saveProjectPath;
    std::string saveLeftPath;
    std::string exportLeftPath;
    std::vector<std::string> importLeftPaths;
    std::string engine = "both";
    double timeLimit = -1;
    std::string language;
    std::string cutListPath;
    cli::PrintRequest print;
    cli.set_version_flag("--version", std::string("barvik-cli ") + buildinfo::kVersion, "Print the version and exit");
    cli.add_option("--language", language,
                   "Language of the messages and the layout texts: the code of an installed catalog, such as "
                   "de_de (default: English)");
    cli.add_option("PARTS", partsPath, "Parts list file (default: the project's)");
    cli.add_option("STOCKS", stocksPath, "Stocks list file (default: the project's)");
    cli.add_option("--project", projectPath,
                   "Run the job of a project file: its two lists and its settings; the lists and options given "
                   "here win. A list path that does not exist is looked for beside the project file");
    cli.add_option("--save-project", saveProjectPath,
                   "Write a project file of this job's lists (as absolute paths) and settings");
    cli.add_option("--import-left", importLeftPaths,
                   "Append a remnant stock list to the stocks before the run (may be given more than once)");
    cli.add_option("--save-left", saveLeftPath, "After the run, write the whole bars no layout used as a stock list");
    cli.add_option("--export-left", exportLeftPath, "After the run, write the reusable remnants as a stock list");
    cli.add_option("--parts-format", partsFormatName, "Layout of the parts file (default from the extension)")
        ->check(CLI::IsMember({"text", "sfcad", "mst", "pipe", "xls", "xlsx", "ods", "csv"}));
    cli.add_option("--stocks-format", stocksFormatName, "Layout of the stocks file (default from the extension)")
        ->check(CLI::IsMember({"text", "pipe", "xls", "xlsx", "ods", "csv"}));
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
    cli.add_option("--cut-list-text", cutListPath,
                   "Also write the cutting list for the saw to this file, TAB-separated, one line per cut");
    cli::addPrintOptions(cli, print);
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return cli.exit(error) == 0 ? 0 : kExitUsage;
    }

    // Before any text is built, so that every message and header is in that language.
    if (!language.empty() && !localization::useLanguage(QString::fromStdString(language))) {
        if (!localization::catalogProblem().isEmpty())
            printError(localization::catalogProblem());
        else if (language != localization::kDefaultLanguage) {
            printError(translate("There is no catalog for the language %1.").arg(QString::fromStdString(language)));
            return kExitUsage;
        }
    }
    if (const QString error = cli::printRequestError(print); !error.isEmpty()) {
        printError(error);
        return kExitUsage;
    }
    if (projectPath.empty() && (partsPath.empty() || stocksPath.empty())) {
        printError(translate("Give a parts list and a stocks list, or a project with --project."));
        return kExitUsage;
    }
    const InputFile projectFile(projectPath);
    const InputFile partsFile(partsPath);
    const InputFile stocksFile(stocksPath);
    std::vector<std::unique_ptr<InputFile>> importFiles;
    std::vector<const InputFile*> inputs = {&projectFile, &partsFile, &stocksFile};
    for (const std::string& path : importLeftPaths)
        inputs.push_back(importFiles.emplace_back(std::make_unique<InputFile>(path)).get());
    const std::pair<const char*, const std::string*> outputs[] = {
        {"--export", &exportPath},        {"--save-project", &saveProjectPath},
        {"--save-left", &saveLeftPath},   {"--export-left", &exportLeftPath},
        {"--pdf", &print.pdfPath},        {"--labels", &print.labelsPath},
        {"--cut-list-text", &cutListPath}};
    for (const auto& [option, path] : outputs)
        if (cli.count(option) > 0 && !checkOutputFile(option, *path, inputs))
            return kExitUsage;
    auto outputName = [](const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); };

    std::unique_ptr<calculation::GridModel> parts(calculation::createPartsGrid());
    std::unique_ptr<calculation::GridModel> stocks(calculation::createStocksGrid());
    std::unique_ptr<calculation::GridModel> layout(calculation::createLayoutGrid());
    // The project first; lists and options of the command line then take the place of its own.
    mainwindow::ProjectSettings project;
    if (!projectPath.empty()) {
        const mainwindow::ProjectLoad load = mainwindow::LoadProjectFile(projectFile.path(), *parts, *stocks);
        if (!loadList(projectFile, load.result))
            return kExitUsage;
        project = load.settings;
        auto fromProject = [&](const char* option) { return cli.count(option) == 0; };
        if (fromProject("--blade"))
            blade = project.blade.toStdString();
        if (fromProject("--stub"))
            stub = project.stub.toStdString();
        if (fromProject("--reuse"))
            reuse = project.reuse.toStdString();
        // Out-of-range values are shown by the window's controls at their nearest end.
        if (fromProject("--quality"))
            quality = std::clamp(project.quality, 1, 12);
        if (fromProject("--display"))
            display = std::clamp(project.display, 0, 2);
        if (fromProject("--format"))
            format = std::clamp(project.format, 0, 4);
        change = change || (fromProject("--change") && project.change);
        cost = cost || (fromProject("--cost") && project.cost);
        if (fromProject("--engine") && !project.exact)
            engine = "genetic";
    }
    if (!partsPath.empty()) {
        if (!loadList(partsFile,
                      lists::LoadPartsFile(*parts, partsFile.path(), partsFormat(partsFormatName, partsFile.path()))))
            return kExitUsage;
        project.partFile = partsFile.shown();
    }
    if (!stocksPath.empty()) {
        if (!loadList(stocksFile, lists::LoadStocksFile(*stocks, stocksFile.path(),
                                                        stocksFormat(stocksFormatName, stocksFile.path()))))
            return kExitUsage;
        project.stockFile = stocksFile.shown();
    }
    for (const std::unique_ptr<InputFile>& file : importFiles)
        if (!loadList(*file, exchange::importLeftStocks(*stocks, file->path())))
            return kExitUsage;

    if (!saveProjectPath.empty()) {
        project.partFile = QFileInfo(project.partFile).absoluteFilePath();
        project.stockFile = QFileInfo(project.stockFile).absoluteFilePath();
        project.quality = quality;
        project.change = change;
        project.cost = cost;
        project.blade = QString::fromStdString(blade);
        project.stub = QString::fromStdString(stub);
        project.reuse = QString::fromStdString(reuse);
        project.format = format;
        project.display = display;
        project.exact = engine != "genetic";
        if (!print.title.empty())
            project.title = QString::fromStdString(print.title);
        if (!print.unit.empty())
            project.unit = QString::fromStdString(print.unit);
        if (!print.mode.empty())
            project.print = int(printouts::printModeNames().indexOf(QString::fromStdString(print.mode)));
        if (const lists::FileResult saved = mainwindow::SaveProjectFile(project, outputName(saveProjectPath));
            !saved.ok) {
            printError(saved.message());
            return kExitOutput;
        }
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

    const optimizer::CutSettings& settings = run.settings();
    const diagrams::DiagramSource source{run.shownPlan(),      run.shownParts(),      run.shownStocks(),
                                         settings.bladeWidth,  settings.stubLength,   controls.formatIndex,
                                         settings.reuseLength, settings.qualityLevel, run.qualityText()};
    const diagrams::PlanDiagrams plan = diagrams::diagramsOfTable(source, *layout, controls.reuseLength);
    // The files first: when one fails, nothing is printed that looks like success.
    const lists::FileResult written[] = {
        cutListPath.empty() ? lists::FileResult{}
                            : lists::writeTextLines(outputName(cutListPath), diagrams::cutListLines(plan)),
        exportPath.empty() ? lists::FileResult{} : exchange::exportLayouts(*layout, outputName(exportPath)),
        saveLeftPath.empty() ? lists::FileResult{} : exchange::saveLeftStocks(*stocks, outputName(saveLeftPath)).result,
        exportLeftPath.empty() ? lists::FileResult{}
                               : exchange::exportRemnants(*layout, outputName(exportLeftPath)).result};
    for (const lists::FileResult& result : written) {
        if (!result.ok) {
            printError(result.message());
            return kExitOutput;
        }
    }
    // The job's title and unit: the command line's, else the project's, else the window's defaults.
    if (print.title.empty())
        print.title = (projectPath.empty() ? translate("Barvik pipe cuting project") : project.title).toStdString();
    if (print.unit.empty())
        print.unit = (projectPath.empty() ? translate("mm") : project.unit).toStdString();
    const cli::PrintedJob printed{*layout,
                                  *parts,
                                  *stocks,
                                  source,
                                  plan,
                                  QString::fromStdString(print.title),
                                  QString::fromStdString(print.unit),
                                  projectPath.empty() ? -1 : project.print};
    if (!cli::writePrintouts(print, printed, clock))
        return kExitOutput;
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
