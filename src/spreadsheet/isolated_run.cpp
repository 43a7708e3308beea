#include "isolated_run.h"

#include <cerrno>
#include <chrono>
#include <csignal>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace spreadsheet::detail {

namespace {

void writeAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            _exit(3);
        done += size_t(written);
    }
}

// Reads the pipe to its end or to the deadline; false on the deadline.
bool readAll(int fd, std::chrono::steady_clock::time_point deadline, std::string& bytes)
{
    char buffer[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return false;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return true;
        bytes.append(buffer, size_t(got));
    }
}

} // namespace

std::optional<std::string> runIsolated(const std::function<std::string()>& work, int timeoutSeconds, QString& failure)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        failure = QStringLiteral("no pipe for the reader");
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        failure = QStringLiteral("no process for the reader");
        return std::nullopt;
    }
    if (child == 0) {
        ::close(fds[0]);
        writeAll(fds[1], work());
        ::close(fds[1]);
        _exit(0);
    }
    ::close(fds[1]);
    std::string bytes;
    const bool ended = readAll(fds[0], std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds), bytes);
    ::close(fds[0]);
    if (!ended)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ended) {
        failure = QStringLiteral("the reader did not finish within %1 seconds").arg(timeoutSeconds);
        return std::nullopt;
    }
    if (WIFSIGNALED(status)) {
        failure = QStringLiteral("the reader crashed on it (signal %1)").arg(WTERMSIG(status));
        return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        failure = QStringLiteral("the reader failed");
        return std::nullopt;
    }
    return bytes;
}

} // namespace spreadsheet::detail
