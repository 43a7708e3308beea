#pragma once

#include "read_budget.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>

struct zip;
struct zip_file;

namespace spreadsheet::detail {

// One member of a zip package, read as a sequential device: the bytes are unpacked as they are read, and
// every chunk is taken from the budget, so a member that unpacks to more than the budget allows ends in a
// read error however small its header says it is.
class ZipMember : public QIODevice {
public:
    ZipMember(zip_file* file, ReadBudget& budget);
    ~ZipMember() override;

    bool isSequential() const override { return true; }
    // The member could not be unpacked to its end (damaged data, or the budget ran out).
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file* m_file;
    ReadBudget& m_budget;
    bool m_failed = false;
};

// A zip package (the container of .xlsx and .ods workbooks), read with libzip. Member names are looked up
// without regard to case and without a leading slash, as package part names are compared.
class ZipPackage {
public:
    enum class Open { Ok, NotZip, Damaged, Encrypted };

    ZipPackage() = default;
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;
    ~ZipPackage();

    Open open(const QString& path);
    bool contains(const QString& name) const;
    // Nothing when the member is missing or can't be unpacked.
    std::unique_ptr<ZipMember> member(const QString& name, ReadBudget& budget) const;
    // A small member whole, at most maxBytes; nothing when it is missing, damaged or larger.
    std::optional<QByteArray> smallMember(const QString& name, ReadBudget& budget, qint64 maxBytes) const;

private:
    qint64 locate(const QString& name) const;

    zip* m_zip = nullptr;
};

} // namespace spreadsheet::detail
