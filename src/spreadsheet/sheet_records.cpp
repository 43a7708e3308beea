#include "sheet_records.h"

#include "readers.h"

#include <cstdint>
#include <cstring>

namespace spreadsheet::detail {

namespace {

template <typename T> void put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void putText(std::string& out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    put(out, uint32_t(bytes.size()));
    out.append(bytes.constData(), size_t(bytes.size()));
}

class RecordReader {
public:
    explicit RecordReader(const std::string& bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_at == m_bytes.size(); }

    template <typename T> bool get(T& value)
    {
        if (m_bytes.size() - m_at < sizeof value)
            return false;
        std::memcpy(&value, m_bytes.data() + m_at, sizeof value);
        m_at += sizeof value;
        return true;
    }

    bool getText(QString& text)
    {
        uint32_t size = 0;
        if (!get(size) || m_bytes.size() - m_at < size)
            return false;
        text = QString::fromUtf8(m_bytes.data() + m_at, qsizetype(size));
        m_at += size;
        return true;
    }

private:
    const std::string& m_bytes;
    size_t m_at = 0;
};

} // namespace

std::string encodeSheet(const calculation::FileResult& read, const SheetCells& sheet)
{
    std::string out;
    if (!read.ok) {
        out += 'F';
        putText(out, read.error);
        return out;
    }
    out += 'N';
    put(out, uint32_t(sheet.rowCount()));
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        for (int column = 1; column <= SheetCells::kKeptColumns; ++column) {
            const QString text = sheet.cell(row, column);
            if (text.isEmpty())
                continue;
            out += 'T';
            put(out, uint32_t(row));
            put(out, uint16_t(column));
            putText(out, text);
        }
    }
    return out;
}

calculation::FileResult decodeSheet(const std::string& records, SheetCells& sheet)
{
    sheet = SheetCells();
    RecordReader reader(records);
    bool complete = false;
    while (!reader.atEnd()) {
        char kind = 0;
        uint32_t row = 0;
        uint16_t column = 0;
        QString text;
        reader.get(kind);
        if (kind == 'F' && reader.getText(text) && reader.atEnd())
            return calculation::fileFailure(text);
        if (kind == 'N' && reader.get(row) && row <= (1u << 20)) {
            sheet.setRowCount(int(row));
            complete = true;
            continue;
        }
        if (kind == 'T' && complete && reader.get(row) && reader.get(column) && reader.getText(text) && row >= 1 &&
            int(row) <= sheet.rowCount()) {
            sheet.setCell(int(row), column, text);
            continue;
        }
        complete = false;
        break;
    }
    if (complete)
        return {};
    sheet = SheetCells();
    return cantStart(QStringLiteral("the workbook reader stopped while handing over the cells"));
}

} // namespace spreadsheet::detail
