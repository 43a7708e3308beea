#include "archive_parts.h"

#include <orcus/sax_parser.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <algorithm>
#include <exception>
#include <string_view>
#include <vector>

namespace spreadsheet::detail {

namespace {

// Finds <config:config-item config:name="ActiveTable">name</config:config-item>.
class ActiveTableFinder {
public:
    void doctype(const orcus::sax::doctype_declaration&) {}
    void start_declaration(std::string_view) {}
    void end_declaration(std::string_view) {}

    // The attributes of an element arrive before its start.
    void attribute(const orcus::sax::parser_attribute& attribute)
    {
        if (attribute.name == "name" && attribute.value == "ActiveTable")
            m_named = true;
    }
    void start_element(const orcus::sax::parser_element& element)
    {
        m_inside = !m_found && m_named && element.name == "config-item";
        m_named = false;
    }
    void characters(std::string_view text, bool /*transient*/)
    {
        if (m_inside)
            m_name.append(text);
    }
    void end_element(const orcus::sax::parser_element&)
    {
        m_found = m_found || m_inside;
        m_inside = false;
    }

    std::optional<std::string> name() const { return m_found ? std::optional(m_name) : std::nullopt; }

private:
    bool m_named = false;
    bool m_inside = false;
    bool m_found = false;
    std::string m_name;
};

} // namespace

std::optional<QString> xlsxUnreadableParts(QByteArrayView bytes)
{
    try {
        orcus::zip_archive_stream_blob stream(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()));
        orcus::zip_archive archive(&stream);
        archive.load();
        std::vector<unsigned char> part;
        auto holds = [&part](std::string_view text) {
            return std::search(part.begin(), part.end(), text.begin(), text.end()) != part.end();
        };
        if (archive.read_file_entry("xl/_rels/workbook.xml.rels", part) && holds("Target=\"/"))
            return QStringLiteral("the workbook names its parts by absolute paths, which this reader can't follow");
        for (size_t i = 0; i < archive.get_file_entry_count(); ++i) {
            const std::string_view name = archive.get_file_entry_name(i);
            if (name.substr(0, 14) == "xl/worksheets/" && archive.read_file_entry(name, part) &&
                holds("t=\"inlineStr\""))
                return QStringLiteral("the workbook keeps texts inside its sheets, which this reader can't read");
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

std::optional<std::string> odsActiveTable(QByteArrayView bytes)
{
    try {
        orcus::zip_archive_stream_blob stream(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()));
        orcus::zip_archive archive(&stream);
        archive.load();
        std::vector<unsigned char> settings;
        if (!archive.read_file_entry("settings.xml", settings))
            return std::nullopt;
        // Orcus 0.17's XML parser looks at the character after a cut-off attribute name: a NUL behind the
        // text gives it one to find.
        const size_t size = settings.size();
        settings.push_back('\0');
        ActiveTableFinder finder;
        orcus::sax_parser<ActiveTableFinder> parser(reinterpret_cast<const char*>(settings.data()), size, finder);
        parser.parse();
        return finder.name();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace spreadsheet::detail
