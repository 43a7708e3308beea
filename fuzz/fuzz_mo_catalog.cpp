// The message catalog loader on any bytes as <folder>/xx/LC_MESSAGES/default.mo, then a few look-ups.

#include "localization/mo_catalog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

QString catalogFolder()
{
    // In memory when the machine has it: every run writes the file once.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/barvik-fuzz-XXXXXX")
                                    : QDir::tempPath() + "/barvik-fuzz-XXXXXX");
    static const bool made = QDir(folder.path()).mkpath(QStringLiteral("xx/LC_MESSAGES"));
    if (!folder.isValid() || !made)
        std::abort();
    return folder.path();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = catalogFolder();
    QFile file(folder + QStringLiteral("/xx/LC_MESSAGES/default.mo"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    const auto catalog = localization::MoCatalog::load(folder, QStringLiteral("xx")).catalog;
    if (!catalog)
        return 0;
    for (const char* english : {"Yes", "No", "", "Total", "Cannot open file %s"}) {
        if (const char* translated = catalog->find(english); translated && std::strlen(translated) == 0)
            std::abort();
    }
    return 0;
}
