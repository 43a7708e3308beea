#pragma once

#include "cli/output.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace cli {

// The exit status of barvik-cli: what a script needs to know about a run.
enum ExitCode {
    kExitLayout = 0,   // a layout was shown
    kExitNoLayout = 1, // the input was refused or no layout exists
    kExitUsage = 2,    // the command line or a file it names can't be used
    kExitOutput = 3,   // an output could not be written
};

// The command line as given; file names stay bytes, as the system gave them.
struct Options {
    std::string partsPath;
    std::string stocksPath;
    std::string partsFormat;
    std::string stocksFormat;
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
    std::string pdfPath;
    std::string pageSize = "A4";
    std::string orientation = "portrait";
    std::string language;
    std::string diagramPlacement;
    bool withCutList = false;
    std::string cutListPath;
    // What --pdf prints, by the print list's names; empty: the project's choice, else the layouts.
    std::string printMode;
    std::string labelsPath;
    std::string labelSheet = "a4-3x8";
    int labelSkip = 0;
    // The job's title and unit on the pages; empty: the project's.
    std::string title;
    std::string unit;
    // The long names ("--blade") of the options the command line named, and PARTS and STOCKS.
    std::set<std::string> given;

    bool isGiven(const std::string& name) const { return given.count(name) > 0; }
};

// The options of a command line (argv[0] is the program), or the exit status when reading them ended the
// run: --help and --version (0, their text on standard output) or a usage error (2, said on standard error).
std::variant<Options, int> parseOptions(int argc, const char* const* argv, Output& output);

} // namespace cli
