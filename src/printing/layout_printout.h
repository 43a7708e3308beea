#pragma once

#include "grid_printer.h"

#include "calculation/file_result.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <QVector>

namespace printing {

// The layout table's column widths on screen, as the window starts with them.
QVector<int> defaultLayoutColumnWidths();

// Sets a grid printer up for the layout printout: the page title and margins of the printout, and the
// text options passed through the catalog so that a language may give its own footer and formats.
void prepareLayoutPrintout(TjvGridPrinter& printer);

// Makes the PDF of every page as the preview lays it out, text kept as text, for the file at `path` (which
// the failure names when a page can't be made).
calculation::FileResult renderPdf(PagedDocument& document, QByteArray& pdf, const QString& path);
// renderPdf written to a file whole or not at all.
calculation::FileResult writePdf(PagedDocument& document, const QString& path);

} // namespace printing
