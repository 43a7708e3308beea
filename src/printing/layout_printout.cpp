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

calculation::FileResult renderPdf(PagedDocument& document, QByteArray& pdf, const QString& path)
{
    auto failed = [&](const QString& reason) {
        return calculation::fileFailure(translate("Cannot write %1: %2").arg(path, reason), path);
    };
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(document.pageLayout());
    writer.setTitle(document.documentName());
    writer.setCreator(translate("Barvik pipe cutting system"));
    document.layOut();
    QPainter painter;
    if (!painter.begin(&writer))
        return failed(translate("the PDF could not be started"));
    const bool written = document.printAll(writer, painter);
    painter.end();
    return written ? calculation::FileResult{} : failed(translate("a page could not be added"));
}

calculation::FileResult writePdf(PagedDocument& document, const QString& path)
{
    // Made whole in memory first: a failure or a signal while the file is written keeps the old file.
    QByteArray pdf;
    if (calculation::FileResult rendered = renderPdf(document, pdf, path); !rendered.ok)
        return rendered;
    return calculation::writeFileWhole(path, pdf);
}

} // namespace printing
