// The workbook readers and both sheet imports. The first byte picks the reader, the rest is the file.
// The libraries read in a child process (FreeXL 1.0.6 overran a stack buffer here within seconds), so
// what is fuzzed in this process is the hand-over of the cells and the imports; the child's coverage is
// not seen.

#include "list_checks.h"

#include "calculation/grids.h"
#include "spreadsheet/sheet_import.h"
#include "spreadsheet/workbook_reader.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using spreadsheet::WorkbookKind;
    if (size == 0)
        return 0;
    constexpr WorkbookKind kinds[] = {WorkbookKind::Xlsx, WorkbookKind::Ods, WorkbookKind::Csv, WorkbookKind::Xls};
    const WorkbookKind kind = kinds[data[0] % 4];
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    spreadsheet::SheetCells sheet;
    const calculation::FileResult read = spreadsheet::readWorkbook(bytes, kind, sheet);
    if (!read.ok) {
        // A refused workbook says why and leaves nothing behind.
        if (read.error.isEmpty() || sheet.rowCount() != 0)
            std::abort();
        return 0;
    }
    static const std::unique_ptr<calculation::GridModel> parts(calculation::createPartsGrid());
    static const std::unique_ptr<calculation::GridModel> stocks(calculation::createStocksGrid());
    checkLoad(spreadsheet::ImportPartsSheet(*parts, sheet), *parts);
    checkLoad(spreadsheet::ImportStocksSheet(*stocks, sheet), *stocks);
    return 0;
}
