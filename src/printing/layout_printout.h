#pragma once

#include "grid_printer.h"

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

// Makes the PDF of every page as the preview lays it out, text kept as text. False with the reason when a
// page can't be made.
bool renderPdf(PagedDocument& document, QByteArray& pdf, QString* reason);
// renderPdf written to a file whole or not at all. False with a message when the file can't be written.
bool writePdf(PagedDocument& document, const QString& path, QString* error);

} // namespace printing
