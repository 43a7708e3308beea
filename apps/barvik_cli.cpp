// barvik-cli: the cutting calculation of the desktop program, for scripts and servers.

#include "cli/output.h"
#include "cli/run.h"

#include "files/whole_file.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <csignal>
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

// A signal that ends the program while it writes leaves the old files and nothing beside them.
void endBySignal(int signal)
{
    files::removeTemporaryFiles();
    std::raise(signal);
}

// A closed pipe and a file-size limit are write errors that the program reports (exit 3), not the end of it;
// an ending by a signal still ends it, once its temporary files are gone.
void setUpSignals()
{
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    struct sigaction ending = {};
    ending.sa_handler = endBySignal;
    ending.sa_flags = SA_RESETHAND;
    sigemptyset(&ending.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &ending, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    setUpSignals();
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    cli::StandardStreams streams;
    return cli::runCli(argc, argv, streams);
}
