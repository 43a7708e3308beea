#include "reader_process.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace spreadsheet {

ReadCancel::ReadCancel()
{
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        m_pipe[0] = m_pipe[1] = -1;
}

ReadCancel::~ReadCancel()
{
    for (const int fd : m_pipe)
        if (fd >= 0)
            ::close(fd);
}

void ReadCancel::cancel()
{
    m_cancelled = true;
    if (m_pipe[1] >= 0)
        while (::write(m_pipe[1], "x", 1) < 0 && errno == EINTR) {
        }
}

namespace detail {

namespace {

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

pid_t spawn(const QString& program, const QStringList& arguments, int output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QList<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        bytes.append(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        child = -1;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

// Reads the pipe to its end; stops early on the deadline, a cancel or too much output.
ReadFailure collect(int fd, const ReadCancel* cancel, int timeoutMs, size_t maxOutput, std::string& bytes)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return ReadFailure::TooLarge;
        pollfd ready[2] = {{fd, POLLIN, 0}, {cancel ? cancel->waitHandle() : -1, POLLIN, 0}};
        const int polled = ::poll(ready, 2, int(left.count()));
        if (cancel && cancel->cancelled())
            return ReadFailure::Cancelled;
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled < 0)
            return ReadFailure::Damaged;
        if (polled == 0)
            continue;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return ReadFailure::None;
        bytes.append(buffer, size_t(got));
        if (bytes.size() > maxOutput)
            return ReadFailure::TooLarge;
    }
}

} // namespace

ReaderRun runReader(const QString& program, const QStringList& arguments, const ReadCancel* cancel, int timeoutMs,
                    size_t maxOutput)
{
    ReaderRun run;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        run.failure = ReadFailure::NoReader;
        return run;
    }
    Descriptor readEnd(fds[0]);
    Descriptor writeEnd(fds[1]);
    const pid_t child = spawn(program, arguments, writeEnd.get());
    writeEnd.reset();
    if (child < 0) {
        run.failure = ReadFailure::NoReader;
        return run;
    }
    run.failure = collect(readEnd.get(), cancel, timeoutMs, maxOutput, run.output);
    readEnd.reset();
    if (run.failure != ReadFailure::None)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (run.failure != ReadFailure::None)
        return run;
    // Killed for its processor time or memory, the workbook asked too much; any other end is a crash.
    if (WIFSIGNALED(status))
        run.failure =
            WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL ? ReadFailure::TooLarge : ReadFailure::Damaged;
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        run.failure = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? ReadFailure::NoReader : ReadFailure::Damaged;
    return run;
}

} // namespace detail

} // namespace spreadsheet
