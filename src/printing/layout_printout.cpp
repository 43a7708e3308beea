#include "layout_printout.h"

#include "calculation/file_result.h"
#include "localization/translate.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace printing {

using localization::translate;

namespace {

constexpr int kPdfResolution = 300;

} // namespace

QVector<int> defaultLayoutColumnWidths()
{
    return {37, 94, 63, 42, 59, 310, 89};
}

void prepareLayoutPrintout(TjvGridPrinter& printer)
{
    TPrintOptions& options = printer.options();
    // The footer and the date and time pictures in the current language; the number picture stays as it is,
    // since a translated printf picture could ask for an argument that isn't there.
    options.PageFooter = translate("print date: date|page");
    options.DateFormat = translate("yyyy-mm-dd");
    options.TimeFormat = translate("hh:nn am/pm");
    printer.NumbersalRight = false;
    options.PageTitle = translate("Barvik pipe cutting system - layouts preview");
    options.PageTitleMargin = 10;
    options.MarginLeft = 5;
    options.MarginTop = 10;
    options.Leftpadding = 5;
}

bool renderPdf(PagedDocument& document, QByteArray& pdf, QString* reason)
{
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(document.pageLayout());
    writer.setTitle(document.documentName());
    writer.setCreator(translate("Barvik pipe cutting system"));
    document.layOut();
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (reason)
            *reason = translate("the PDF could not be started");
        return false;
    }
    const bool written = document.printAll(writer, painter);
    painter.end();
    if (!written && reason)
        *reason = translate("a page could not be added");
    return written;
}

bool writePdf(PagedDocument& document, const QString& path, QString* error)
{
    // Made whole in memory first: a failure or a signal while the file is written keeps the old file.
    QByteArray pdf;
    QString reason;
    if (!renderPdf(document, pdf, &reason)) {
        if (error)
            *error = translate("Cannot write %1: %2").arg(path, reason);
        return false;
    }
    const calculation::FileResult written = calculation::writeFileWhole(path, pdf);
    if (!written.ok && error)
        *error = written.message();
    return written.ok;
}

} // namespace printing
