#pragma once

#include "calculation/grid_model.h"
#include "lists/text_file.h"

#include <QString>
#include <QStringList>

namespace exchange {

// The lines of a layout export: the header row, every data row with a pattern number, the totals row;
// the seven cells of each joined by TABs, exactly as displayed.
QStringList layoutExportLines(const calculation::GridModel& layout);

// Writes the export to a file (CR LF after every line, UTF-8), safely: a failed write keeps the old file.
// A failure names the file and the reason when it can't be written.
lists::FileResult exportLayouts(const calculation::GridModel& layout, const QString& path);

} // namespace exchange
