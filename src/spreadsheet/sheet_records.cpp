#include "sheet_records.h"

#include <QLocale>

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

bool validKind(uint8_t kind)
{
    return kind <= uint8_t(CellKind::Unreadable);
}

} // namespace

std::string encodeSheet(ReadFailure read, const SheetCells& sheet)
{
    std::string out;
    if (read != ReadFailure::None) {
        out += 'F';
        put(out, uint8_t(read));
        return out;
    }
    out += 'N';
    put(out, uint32_t(sheet.rowCount()));
    if (sheet.sheetCount() > 0) {
        out += 'S';
        put(out, uint32_t(sheet.sheetCount()));
        putText(out, sheet.firstSheetName());
    }
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        for (int column = 1; column <= SheetCells::kKeptColumns; ++column) {
            const Cell& cell = sheet.at(row, column);
            if (cell.kind == CellKind::Empty)
                continue;
            out += 'C';
            put(out, uint32_t(row));
            put(out, uint8_t(column));
            put(out, uint8_t(cell.kind));
            putText(out, cell.text);
        }
    }
    return out;
}

ReadFailure decodeSheet(const std::string& records, SheetCells& sheet)
{
    sheet = SheetCells();
    RecordReader reader(records);
    bool complete = false;
    while (!reader.atEnd()) {
        char record = 0;
        uint32_t number = 0;
        uint8_t column = 0;
        uint8_t kind = 0;
        QString text;
        reader.get(record);
        if (record == 'F' && !complete && reader.get(kind) && reader.atEnd() && kind > 0 &&
            kind <= uint8_t(ReadFailure::NoSheet))
            return ReadFailure(kind);
        if (record == 'N' && !complete && reader.get(number) && number <= uint32_t(SheetCells::kMaxRows)) {
            sheet.setRowCount(int(number));
            complete = true;
            continue;
        }
        if (record == 'S' && complete && reader.get(number) && reader.getText(text)) {
            sheet.setFirstSheetRead(int(std::min<uint32_t>(number, 65535)), text);
            continue;
        }
        if (record == 'C' && complete && reader.get(number) && reader.get(column) && reader.get(kind) &&
            reader.getText(text) && number >= 1 && int64_t(number) <= sheet.rowCount() && validKind(kind)) {
            // Numbers come in the C locale and are shown in the user's.
            if (CellKind(kind) == CellKind::Number)
                text = numberText(QLocale::c().toDouble(text));
            sheet.setCell(int(number), column, Cell{CellKind(kind), text});
            continue;
        }
        complete = false;
        break;
    }
    if (complete)
        return ReadFailure::None;
    sheet = SheetCells();
    return ReadFailure::Damaged;
}

} // namespace spreadsheet::detail
