// The reader program's side: it reads one workbook within fixed limits and writes the sheet's records.
// It ends with the program that started it, and it runs no code of that program: it is a program of its
// own.

#include "reader_process.h"
#include "sheet_records.h"

#include <QFile>
#include <QLocale>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <optional>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace spreadsheet::detail {

namespace {

// Far beyond what a parts or stocks list takes, and the bounds that hold where the libraries cannot count.
constexpr rlim_t kProcessorSeconds = 3;
constexpr rlim_t kMemoryBytes = 192ull * 1024 * 1024;

void limitResources()
{
    const rlimit processor{kProcessorSeconds, kProcessorSeconds + 1};
    setrlimit(RLIMIT_CPU, &processor);
    // The sanitizers' shadow memory would count against a data limit.
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit memory{kMemoryBytes, kMemoryBytes};
    setrlimit(RLIMIT_DATA, &memory);
#endif
}

bool writeAll(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += size_t(written);
    }
    return true;
}

std::optional<WorkbookKind> kindOf(const char* name)
{
    static const char* const names[] = {"xls", "xlsx", "ods", "csv"};
    for (int i = 0; i < 4; ++i)
        if (std::strcmp(name, names[i]) == 0)
            return WorkbookKind(i);
    return std::nullopt;
}

} // namespace

int runSheetReader(int argc, char** argv)
{
    // Killed with the program that started it, and gone already if that ended before this line.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (argc != 4 || std::atol(argv[3]) != long(::getppid()))
        return 2;
    const std::optional<WorkbookKind> kind = kindOf(argv[2]);
    if (!kind)
        return 2;
    limitResources();
    // Numbers travel in the C locale; the program writes them in its user's.
    QLocale::setDefault(QLocale::c());
    SheetCells sheet;
    ReadFailure read = ReadFailure::Damaged;
    try {
        read = readSheetHere(QFile::decodeName(argv[1]), *kind, sheet);
    } catch (const std::bad_alloc&) {
        read = ReadFailure::TooLarge;
    } catch (...) {
        read = ReadFailure::Damaged;
    }
    return writeAll(encodeSheet(read, sheet)) ? 0 : 3;
}

} // namespace spreadsheet::detail
