// The parts loader in every layout: the first byte picks the layout, the rest is the file.

#include "list_checks.h"

#include "calculation/grids.h"
#include "lists/list_files.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    constexpr int kLayouts[] = {lists::kPartsText, lists::kPartsSfcad, lists::kPartsMst, lists::kPartsPipe};
    const int format = kLayouts[data[0] % 4];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString name = QStringLiteral("fuzz.txt");
    QString text;
    if (!lists::decodeText(bytes, name, text).ok)
        return 0;
    static const std::unique_ptr<calculation::GridModel> parts(calculation::createPartsGrid());
    checkLoad(lists::LoadPartsText(*parts, text, format, name), *parts);
    return 0;
}
