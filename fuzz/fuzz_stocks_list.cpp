// The stocks loader (the text and Pipe stock layouts are read alike).

#include "list_checks.h"

#include "calculation/grids.h"
#include "lists/list_files.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString name = QStringLiteral("fuzz.stk");
    QString text;
    if (!lists::decodeText(bytes, name, text).ok)
        return 0;
    static const std::unique_ptr<calculation::GridModel> stocks(calculation::createStocksGrid());
    checkLoad(lists::LoadStocksText(*stocks, text, name), *stocks);
    return 0;
}
