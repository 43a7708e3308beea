#include "readers.h"

#include <QFile>

#include <freexl.h>

#include <algorithm>

namespace spreadsheet::detail {

namespace {

ReadFailure failureOf(int code)
{
    switch (code) {
    case FREEXL_INSUFFICIENT_MEMORY:
        return ReadFailure::TooLarge;
    default:
        return ReadFailure::Damaged;
    }
}

// Closes the workbook on every way out, as FreeXL asks even after a failed open.
class XlsHandle {
public:
    XlsHandle() = default;
    XlsHandle(const XlsHandle&) = delete;
    XlsHandle& operator=(const XlsHandle&) = delete;
    ~XlsHandle()
    {
        if (m_handle)
            freexl_close(m_handle);
    }
    const void** out() { return &m_handle; }
    const void* get() const { return m_handle; }

private:
    const void* m_handle = nullptr;
};

// FreeXL gives no value for a formula: such a cell reads as empty.
Cell cellOf(const FreeXL_CellValue& value)
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        return {CellKind::Number, numberText(value.value.int_value)};
    case FREEXL_CELL_DOUBLE:
        return {CellKind::Number, numberText(value.value.double_value)};
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: {
        const QString text = value.value.text_value ? QString::fromUtf8(value.value.text_value) : QString();
        return {text.isEmpty() ? CellKind::Empty : CellKind::Text, text};
    }
    default:
        return {};
    }
}

ReadFailure readCells(const void* handle, SheetCells& sheet)
{
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (const int sized = freexl_worksheet_dimensions(handle, &rows, &columns); sized != FREEXL_OK)
        return failureOf(sized);
    const int kept = std::min<int>(columns, SheetCells::kKeptColumns);
    const int lastRow = int(std::min<unsigned int>(rows, SheetCells::kMaxRows));
    for (int row = 0; row < lastRow; ++row) {
        for (int column = 0; column < kept; ++column) {
            FreeXL_CellValue value;
            if (const int read = freexl_get_cell_value(handle, unsigned(row), (unsigned short)column, &value);
                read != FREEXL_OK)
                return failureOf(read);
            sheet.setCell(row + 1, column + 1, cellOf(value));
        }
    }
    return ReadFailure::None;
}

} // namespace

// FreeXL does not tell which sheet is active: the first one is read, and the sheet knows it.
ReadFailure readXlsFile(const QString& path, SheetCells& sheet)
{
    sheet = SheetCells();
    XlsHandle handle;
    const QByteArray nativePath = QFile::encodeName(path);
    if (const int opened = freexl_open(nativePath.constData(), handle.out()); opened != FREEXL_OK)
        return failureOf(opened);
    unsigned int password = 0;
    if (freexl_get_info(handle.get(), FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
        password == FREEXL_BIFF_OBFUSCATED)
        return ReadFailure::Password;
    unsigned int version = 0;
    freexl_get_info(handle.get(), FREEXL_BIFF_VERSION, &version);
    unsigned int sheets = 0;
    if (freexl_get_info(handle.get(), FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0)
        return ReadFailure::NoSheet;
    const char* name = nullptr;
    freexl_get_worksheet_name(handle.get(), 0, &name);
    ReadFailure read = ReadFailure::Damaged;
    if (freexl_select_active_worksheet(handle.get(), 0) == FREEXL_OK)
        read = readCells(handle.get(), sheet);
    if (read != ReadFailure::None) {
        sheet = SheetCells();
        // What FreeXL reads of the older formats is less complete: the user is told to save them anew.
        return read == ReadFailure::Damaged && version != 0 && version < FREEXL_BIFF_VER_8 ? ReadFailure::Biff5 : read;
    }
    sheet.setFirstSheetRead(int(sheets), name ? QString::fromUtf8(name) : QString());
    return ReadFailure::None;
}

} // namespace spreadsheet::detail
