#pragma once

#include <QImage>
#include <QPageLayout>
#include <QSize>
#include <QSizeF>
#include <QString>

class QPainter;
class QPagedPaintDevice;

namespace printing {

struct TPrintOptions;

// Pages that the preview shows, the printer prints and a PDF file keeps: the layout printout of the grid
// printer, or a sheet of labels. Pages are laid out once and drawn scaled to any device.
class PagedDocument {
public:
    virtual ~PagedDocument() = default;

    // Lays the pages out again from what the document shows and its options as they are now.
    virtual void layOut() = 0;
    virtual int pageCount() const = 0;
    // The paper, its orientation and printable area.
    virtual QPageLayout pageLayout() const = 0;
    // The printer's paper; a document that brings its own paper (a label sheet) keeps it.
    virtual void setPageLayout(const QPageLayout& layout) = 0;
    // True when the printout takes the printer's paper; false when it brings its own, edge to edge.
    virtual bool takesPrinterPaper() const { return true; }
    // The drawn area of a page in screen pixels.
    virtual QSize pageSize() const = 0;
    // Draws one page on a device surface of the given size in device pixels.
    virtual void paintPage(QPainter& painter, int index, const QSizeF& deviceSize) const = 0;
    // The options the preview's text and margin controls edit, or none.
    virtual TPrintOptions* printOptions() { return nullptr; }
    // Outlines of the cells or labels, for the preview's "Show Grid".
    virtual void setOutlines(bool on) = 0;
    // The name of the print job and the PDF's title.
    virtual QString documentName() const = 0;

    // The page on a white image of the given size; pageSize() when empty.
    QImage pageImage(int index, QSize size = {}) const;
    // Every page on a paged device (printer or PDF), one device page each.
    bool printAll(QPagedPaintDevice& device, QPainter& painter) const;
};

} // namespace printing
