// barvik-cli: the cutting calculation of the desktop program, for scripts and servers.

#include "cli/output.h"
#include "cli/run.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <memory>

namespace {

// Pages as PDF: the printouts and the labels.
bool wantsPdf(int argc, char** argv)
{
    for (int index = 1; index < argc; ++index)
        if (std::strncmp(argv[index], "--pdf", 5) == 0 || std::strncmp(argv[index], "--labels", 8) == 0)
            return true;
    return false;
}

// Fonts for the PDF need a GUI application; without a display it draws offscreen.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv)
{
    if (!wantsPdf(argc, argv))
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
    cli::StandardStreams streams;
    return cli::runCli(argc, argv, streams);
}
