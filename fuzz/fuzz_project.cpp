// The project loader: the input is the project file; the lists it may name ("p.txt", "s.txt") lie beside
// it, so the fuzzer reaches every step after them.

#include "list_checks.h"

#include "calculation/grids.h"
#include "document/project_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const bool ready = [] {
        writeFile(dir.filePath(QStringLiteral("p.txt")), "Post\t1200\t4\r\nRail\t800,5\t2\r\n");
        writeFile(dir.filePath(QStringLiteral("s.txt")), "Bar\t6000\t3\t12\tYes\r\n");
        return dir.isValid();
    }();
    if (!ready)
        std::abort();
    const QString path = dir.filePath(QStringLiteral("job.dat"));
    writeFile(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

    const std::unique_ptr<calculation::GridModel> parts(calculation::createPartsGrid());
    const std::unique_ptr<calculation::GridModel> stocks(calculation::createStocksGrid());
    const document::ProjectLoad load = document::LoadProjectFile(path, *parts, *stocks);
    // Done exactly when it went through; a stop says why and, past the file as a whole, on which line.
    if (load.result.ok != (load.reached == document::ProjectStep::Done))
        std::abort();
    if (!load.result.ok && (load.result.error.isEmpty() || load.result.line < 0 || load.result.line > 15))
        std::abort();
    if (load.restored(document::ProjectStep::PartsList))
        checkLoad({}, *parts);
    if (load.restored(document::ProjectStep::StocksList))
        checkLoad({}, *stocks);
    return 0;
}
