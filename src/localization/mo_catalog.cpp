#include "mo_catalog.h"

#include "translate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <boost/locale/gnu_gettext.hpp>
#include <boost/locale/message.hpp>

#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace localization {

namespace {

constexpr const char* kDomain = "default";
constexpr uint32_t kMoMagic = 0x950412de;

uint32_t byteSwapped(uint32_t word)
{
    return (word >> 24) | ((word >> 8) & 0xff00u) | ((word << 8) & 0xff0000u) | (word << 24);
}

// The translation of the empty message identifier, which is where a catalog keeps its header with the
// Content-Type; nothing when the data is no catalog or has no header.
bool isMoFile(const std::vector<char>& data)
{
    uint32_t magic = 0;
    if (data.size() < 20)
        return false;
    std::memcpy(&magic, data.data(), sizeof magic);
    return magic == kMoMagic || magic == byteSwapped(kMoMagic);
}

std::optional<std::string> moHeader(const std::vector<char>& data)
{
    if (!isMoFile(data))
        return std::nullopt;
    uint32_t magic = 0;
    std::memcpy(&magic, data.data(), sizeof magic);
    const bool swap = magic != kMoMagic;
    auto word = [&](uint64_t offset) -> std::optional<uint32_t> {
        if (offset + 4 > data.size())
            return std::nullopt;
        uint32_t value = 0;
        std::memcpy(&value, data.data() + offset, sizeof value);
        return swap ? byteSwapped(value) : value;
    };
    const auto count = word(8);
    const auto originals = word(12);
    const auto translations = word(16);
    if (!count || !originals || !translations)
        return std::nullopt;
    for (uint32_t i = 0; i < *count; ++i) {
        const auto originalLength = word(*originals + uint64_t(i) * 8);
        if (!originalLength)
            return std::nullopt;
        if (*originalLength != 0)
            continue;
        const auto length = word(*translations + uint64_t(i) * 8);
        const auto offset = word(*translations + uint64_t(i) * 8 + 4);
        if (!length || !offset || uint64_t(*offset) + *length > data.size())
            return std::nullopt;
        return std::string(data.data() + *offset, *length);
    }
    return std::nullopt;
}

// Every string that the two tables name lies inside the file and ends in a NUL, as gettext writes them: Boost
// reads them unchecked when a message is looked up, long after loading, and throws from there.
bool hasSoundTables(const std::vector<char>& data)
{
    if (!isMoFile(data) || data.size() < 28)
        return false;
    uint32_t magic = 0;
    std::memcpy(&magic, data.data(), sizeof magic);
    const bool swap = magic != kMoMagic;
    auto word = [&](uint64_t offset) {
        uint32_t value = 0;
        std::memcpy(&value, data.data() + offset, sizeof value);
        return swap ? byteSwapped(value) : value;
    };
    const uint64_t count = word(8);
    for (const uint64_t table : {uint64_t(word(12)), uint64_t(word(16))}) {
        if (table + count * 8 > data.size())
            return false;
        for (uint64_t i = 0; i < count; ++i) {
            const uint64_t end = uint64_t(word(table + i * 8 + 4)) + word(table + i * 8);
            if (end >= data.size() || data[end] != '\0')
                return false;
        }
    }
    return true;
}

// The catalog without its hash table: Boost then keeps the messages in a map of its own instead of probing a
// table that a damaged file could make it loop in forever.
std::vector<char> withoutHashTable(std::vector<char> data)
{
    std::memset(data.data() + 20, 0, 4);
    return data;
}

bool declaresUtf8(const std::vector<char>& data)
{
    const auto header = moHeader(data);
    if (!header)
        return false;
    const auto at = header->find("charset=");
    if (at == std::string::npos)
        return false;
    const auto begin = at + std::strlen("charset=");
    const auto end = header->find_first_of(" \r\n;", begin);
    const QString charset = QString::fromStdString(header->substr(begin, end - begin)).toLower();
    return charset == u"utf-8" || charset == u"utf8";
}

std::vector<char> readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::vector<char>(bytes.begin(), bytes.end());
}

} // namespace

QString findLanguageFolder(const QString& localeFolder, const QString& code)
{
    if (localeFolder.isEmpty() || code.isEmpty())
        return {};
    const QDir dir(localeFolder);
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    if (names.contains(code))
        return dir.filePath(code);
    for (const QString& name : names) {
        if (name.compare(code, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return {};
}

bool MoCatalog::isReadable(const QString& path)
{
    return hasSoundTables(readFile(path));
}

CatalogLoad MoCatalog::load(const QString& localeFolder, const QString& code)
{
    CatalogLoad loaded;
    if (localeFolder.isEmpty() || code.isEmpty())
        return loaded;
    const QString base = QDir::cleanPath(localeFolder);

    namespace gettext = boost::locale::gnu_gettext;
    gettext::messages_info info;
    info.language = code.toStdString();
    info.encoding = "UTF-8";
    info.paths = {base.toStdString()};
    info.domains = {gettext::messages_info::domain(kDomain)};

    bool found = false;
    QString rejected;
    // The file Boost was reading, to name it when Boost refuses it.
    QString catalogPath =
        QDir(base).filePath(code + QStringLiteral("/LC_MESSAGES/") + QLatin1String(kDomain) + QStringLiteral(".mo"));
    // Boost asks for <base>/<code>/LC_MESSAGES/default.mo; the language folder may have capitals on disk.
    info.callback = [&](const std::string& fileName, const std::string&) -> std::vector<char> {
        QString path = QString::fromStdString(fileName);
        const QString prefix = base + u'/';
        if (path.startsWith(prefix)) {
            const QString rest = path.mid(prefix.size());
            const QString folder = findLanguageFolder(base, rest.section(u'/', 0, 0));
            if (folder.isEmpty())
                return {};
            path = folder + u'/' + rest.section(u'/', 1);
        }
        catalogPath = path;
        std::vector<char> data = readFile(path);
        if (data.empty())
            return {};
        // A file that is no catalog at all is left to Boost, which refuses it with its own reason.
        if (!isMoFile(data)) {
            found = true;
            return data;
        }
        if (!hasSoundTables(data)) {
            rejected = translate("The translation for the language code %1 (in %2) is damaged: its strings lie outside "
                                 "the file. Translations are turned off.")
                           .arg(code, QDir::toNativeSeparators(path));
            return {};
        }
        if (!declaresUtf8(data)) {
            rejected = translate("The translation for the language code %1 (in %2) does not have charset=utf-8 in "
                                 "its Content-Type. Translations are turned off.")
                           .arg(code, QDir::toNativeSeparators(path));
            loaded.notUtf8 = true;
            return {};
        }
        found = true;
        return withoutHashTable(std::move(data));
    };

    std::shared_ptr<MoCatalog> catalog(new MoCatalog);
    try {
        auto* messages = gettext::create_messages_facet<char>(info);
        catalog->m_owner = std::locale(std::locale::classic(), messages);
        catalog->m_messages = messages;
        catalog->m_domain = messages->domain(kDomain);
    } catch (const std::exception&) {
        // Boost's own words are not the user's.
        loaded.problem = translate("The translation for the language code %1 (in %2) can't be read: it is no message "
                                   "catalog or it is damaged. Translations are turned off.")
                             .arg(code, QDir::toNativeSeparators(catalogPath));
        return loaded;
    }
    loaded.problem = rejected;
    if (found)
        loaded.catalog = std::move(catalog);
    return loaded;
}

const char* MoCatalog::find(const char* english) const
{
    const char* translated = m_messages->get(m_domain, nullptr, english);
    // An empty translation means the entry was left untranslated.
    return translated && *translated ? translated : nullptr;
}

} // namespace localization
