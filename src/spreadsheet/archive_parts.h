#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string>

namespace spreadsheet::detail {

// The name of the table that an OpenDocument spreadsheet's view settings mark as active (the
// "ActiveTable" item of settings.xml), which Orcus 0.17 does not read; nothing when the file has none or
// is no readable archive.
std::optional<std::string> odsActiveTable(QByteArrayView bytes);

// Why Orcus 0.17 would read an .xlsx workbook as empty or without its texts, which some programs other
// than Excel write: parts named by absolute paths, or texts stored inline in the sheets. Nothing when
// neither is the case.
std::optional<QString> xlsxUnreadableParts(QByteArrayView bytes);

} // namespace spreadsheet::detail
