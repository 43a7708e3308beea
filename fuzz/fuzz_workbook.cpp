// The workbook readers and both sheet imports. The first byte picks the kind, the rest is the file. The
// package and CSV readers run in this process, as the reader program runs them, and their sheet goes
// through the records the program receives; FreeXL is left out (1.0.6 overruns a stack buffer on crafted
// files, which is why the reader is a program of its own).

#include "list_checks.h"

#include "calculation/grids.h"
#include "spreadsheet/sheet_import.h"
#include "spreadsheet/sheet_records.h"
#include "spreadsheet/workbook_reader.h"

#include <QTemporaryFile>

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using spreadsheet::WorkbookKind;
    if (size == 0)
        return 0;
    constexpr WorkbookKind kinds[] = {WorkbookKind::Xlsx, WorkbookKind::Ods, WorkbookKind::Csv};
    const WorkbookKind kind = kinds[data[0] % 3];
    // A compound file would reach FreeXL.
    if (size > 8 && data[1] == 0xD0 && data[2] == 0xCF)
        return 0;
    static QTemporaryFile file;
    if (!file.isOpen() && !file.open())
        std::abort();
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char*>(data) + 1, qint64(size - 1));
    file.flush();
    spreadsheet::SheetCells read;
    const spreadsheet::ReadFailure failure = spreadsheet::detail::readSheetHere(file.fileName(), kind, read);
    spreadsheet::SheetCells sheet;
    // What the reader program hands over comes back whole.
    if (spreadsheet::detail::decodeSheet(spreadsheet::detail::encodeSheet(failure, read), sheet) != failure)
        std::abort();
    if (failure != spreadsheet::ReadFailure::None)
        return 0;
    static const std::unique_ptr<calculation::GridModel> parts(calculation::createPartsGrid());
    static const std::unique_ptr<calculation::GridModel> stocks(calculation::createStocksGrid());
    // Labels hold no control characters, which would break the TAB-separated lines written from them.
    if (spreadsheet::ImportPartsSheet(*parts, sheet, "f").ok) {
        for (int row = calculation::GridModel::kFirstDataRow; row < parts->rows(); ++row)
            for (const QChar c : parts->cell(0, row))
                if (c.unicode() < 0x20)
                    std::abort();
    }
    checkLoad(spreadsheet::ImportPartsSheet(*parts, sheet, "f"), *parts);
    checkLoad(spreadsheet::ImportStocksSheet(*stocks, sheet, "f"), *stocks);
    return 0;
}
