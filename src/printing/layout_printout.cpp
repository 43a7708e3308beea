#include "layout_printout.h"

#include "localization/translate.h"

#include <QFile>
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

bool writePdf(PagedDocument& document, const QString& path, QString* error)
{
    // QPdfWriter says nothing of a file it could not open; check first so the user hears of it.
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        if (error)
            *error = translate("Cannot write %1: %2").arg(path, probe.errorString());
        return false;
    }
    probe.close();
    QPdfWriter writer(path);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(document.pageLayout());
    writer.setTitle(document.documentName());
    writer.setCreator(translate("Barvik pipe cutting system"));
    document.layOut();
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = translate("Cannot write %1: %2").arg(path, translate("the PDF could not be started"));
        return false;
    }
    const bool written = document.printAll(writer, painter);
    painter.end();
    if (!written && error)
        *error = translate("Cannot write %1: %2").arg(path, translate("a page could not be added"));
    return written;
}

} // namespace printing
