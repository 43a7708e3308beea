#pragma once

#include <QByteArrayView>

#include <optional>
#include <string>

namespace spreadsheet::detail {

// The name of the table that an OpenDocument spreadsheet's view settings mark as active (the
// "ActiveTable" item of settings.xml), which Orcus 0.17 does not read; nothing when the file has none or
// is no readable archive.
std::optional<std::string> odsActiveTable(QByteArrayView bytes);

} // namespace spreadsheet::detail
