// "Imp Left" on a stocks grid that already holds a list: a refused file leaves every cell as it was.

#include "list_checks.h"

#include "calculation/grids.h"
#include "exchange/remnant_stocks.h"
#include "lists/list_files.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

QStringList cells(const calculation::GridModel& grid)
{
    QStringList all;
    for (int row = 0; row < grid.rows(); ++row)
        for (int column = 0; column < grid.columns(); ++column)
            all.append(grid.cell(column, row));
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString name = QStringLiteral("left.txt");
    QString text;
    if (!lists::decodeText(bytes, name, text).ok)
        return 0;
    const std::unique_ptr<calculation::GridModel> stocks(calculation::createStocksGrid());
    if (!lists::LoadStocksText(*stocks, u"Bar\t6000\t3\t12\tYes\r\nTube\t4000\t1\t8\tNo\r\n", name).ok)
        std::abort();
    const QStringList before = cells(*stocks);
    const lists::FileResult result = exchange::appendStockText(*stocks, text, name);
    if (!result.ok && cells(*stocks) != before)
        std::abort();
    checkLoad(result, *stocks);
    if (result.ok && stocks->rows() < 4)
        std::abort();
    return 0;
}
