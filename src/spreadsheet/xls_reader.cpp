#include "readers.h"

#include <QFile>

#include <freexl.h>

#include <algorithm>

namespace spreadsheet::detail {

namespace {

QString freexlReason(int code)
{
    switch (code) {
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("out of memory");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
        return QStringLiteral("not an Excel 97-2003 workbook");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("the file holds no workbook");
    case FREEXL_CRAFTED_FILE:
        return QStringLiteral("the workbook is damaged or crafted");
    default:
        return QStringLiteral("the workbook is damaged (FreeXL error %1)").arg(code);
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

QString cellText(const FreeXL_CellValue& value)
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        return numberText(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return numberText(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return value.value.text_value ? QString::fromUtf8(value.value.text_value) : QString();
    default:
        return {};
    }
}

} // namespace

calculation::FileResult readXlsFile(const QString& path, SheetCells& sheet)
{
    sheet = SheetCells();
    XlsHandle handle;
    const QByteArray nativePath = QFile::encodeName(path);
    if (const int opened = freexl_open(nativePath.constData(), handle.out()); opened != FREEXL_OK)
        return cantStart(freexlReason(opened));
    unsigned int password = 0;
    if (freexl_get_info(handle.get(), FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
        password == FREEXL_BIFF_OBFUSCATED)
        return cantStart(QStringLiteral("the workbook is protected by a password"));
    unsigned int sheets = 0;
    if (freexl_get_info(handle.get(), FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0)
        return cantStart(QStringLiteral("the workbook has no sheet"));
    if (const int selected = freexl_select_active_worksheet(handle.get(), 0); selected != FREEXL_OK)
        return cantStart(freexlReason(selected));
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (const int sized = freexl_worksheet_dimensions(handle.get(), &rows, &columns); sized != FREEXL_OK)
        return cantStart(freexlReason(sized));
    sheet.setRowCount(int(std::min<unsigned int>(rows, 1 << 20)));
    const unsigned short kept = std::min<unsigned short>(columns, SheetCells::kKeptColumns);
    for (int row = 0; row < sheet.rowCount(); ++row) {
        for (unsigned short column = 0; column < kept; ++column) {
            FreeXL_CellValue value;
            if (const int read = freexl_get_cell_value(handle.get(), unsigned(row), column, &value);
                read != FREEXL_OK) {
                sheet = SheetCells();
                return cantStart(freexlReason(read));
            }
            sheet.setCell(row + 1, column + 1, cellText(value));
        }
    }
    return {};
}

} // namespace spreadsheet::detail
