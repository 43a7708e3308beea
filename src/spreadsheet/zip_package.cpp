#include "zip_package.h"

#include <QFile>

#include <zip.h>

namespace spreadsheet::detail {

ZipMember::ZipMember(zip_file* file, ReadBudget& budget) : m_file(file), m_budget(budget)
{
    QIODevice::open(QIODevice::ReadOnly);
}

ZipMember::~ZipMember()
{
    zip_fclose(m_file);
}

qint64 ZipMember::readData(char* data, qint64 maxSize)
{
    if (m_failed)
        return -1;
    const zip_int64_t got = zip_fread(m_file, data, zip_uint64_t(maxSize));
    if (got < 0 || !m_budget.spend(got)) {
        m_failed = true;
        return -1;
    }
    return got;
}

ZipPackage::~ZipPackage()
{
    if (m_zip)
        zip_discard(m_zip);
}

ZipPackage::Open ZipPackage::open(const QString& path)
{
    int error = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (m_zip) {
        // A package whose members are encrypted is a protected workbook.
        const zip_int64_t count = zip_get_num_entries(m_zip, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t stat;
            if (zip_stat_index(m_zip, zip_uint64_t(i), 0, &stat) == 0 && (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) &&
                stat.encryption_method != ZIP_EM_NONE)
                return Open::Encrypted;
        }
        return Open::Ok;
    }
    return error == ZIP_ER_NOZIP ? Open::NotZip : Open::Damaged;
}

qint64 ZipPackage::locate(const QString& name) const
{
    QString member = name;
    while (member.startsWith(u'/'))
        member.remove(0, 1);
    return zip_name_locate(m_zip, member.toUtf8().constData(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
}

bool ZipPackage::contains(const QString& name) const
{
    return m_zip && locate(name) >= 0;
}

std::unique_ptr<ZipMember> ZipPackage::member(const QString& name, ReadBudget& budget) const
{
    const qint64 index = m_zip ? locate(name) : -1;
    if (index < 0)
        return nullptr;
    zip_file* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file)
        return nullptr;
    return std::make_unique<ZipMember>(file, budget);
}

std::optional<QByteArray> ZipPackage::smallMember(const QString& name, ReadBudget& budget, qint64 maxBytes) const
{
    const std::unique_ptr<ZipMember> device = member(name, budget);
    if (!device)
        return std::nullopt;
    QByteArray bytes = device->read(maxBytes + 1);
    if (device->failed() || bytes.size() > maxBytes)
        return std::nullopt;
    return bytes;
}

} // namespace spreadsheet::detail
