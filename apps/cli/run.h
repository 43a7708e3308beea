#pragma once

#include "cli/output.h"

namespace cli {

// barvik-cli from its command line (argv[0] is the program) to its exit status, speaking through `output`.
// The caller provides the application object: a QGuiApplication when --pdf is asked for.
int runCli(int argc, const char* const* argv, Output& output);

} // namespace cli
