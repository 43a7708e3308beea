#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace spreadsheet::detail {

// Runs work in a child process and returns the bytes it produced. A library that reads untrusted files
// may crash or never return on a crafted one; in a child that costs only the child. On a crash, a
// failure or after timeoutSeconds (the child is then killed) the result is empty and failure says why.
// Only the calling thread goes on in the child: the work must not wait for the others.
std::optional<std::string> runIsolated(const std::function<std::string()>& work, int timeoutSeconds, QString& failure);

} // namespace spreadsheet::detail
