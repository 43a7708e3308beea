#pragma once

#include "print_options.h"

#include "calculation/run_seams.h"

#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QRect>
#include <QStringList>
#include <QVector>

class QPainter;
class QPagedPaintDevice;

namespace calculation {
class GridModel;
}

namespace printing {

// The part of one table row on one page: the row's wrapped lines firstLine.. firstLine+lineCount-1.
struct RowSlice {
    int row = 0;
    int firstLine = 0;
    int lineCount = 0;
    int top = 0;
    int height = 0;
    // Room drawn under the row by the row attachment, kept on the row's page.
    int attachment = 0;
};

// One laid-out page; coordinates are screen pixels from the page's top left corner.
struct PageFrame {
    int band = 1;
    int pageInBand = 1;
    int firstColumn = 0;
    int lastColumn = 0;
    // Row 0, the repeated heading, comes first on every page.
    QVector<RowSlice> rows;
    // A page of a supplement after the table's pages: which supplement, and its page, or -1.
    int supplement = -1;
    int supplementPage = -1;
};

// Pages printed after the table under the same title, repeated heading and footer, such as the cutting
// diagrams. Sizes are screen pixels.
class PageSupplement {
public:
    virtual ~PageSupplement() = default;
    // Lays the pages out for a body of this size and returns how many there are.
    virtual int layOut(const QSize& body, const QFont& font) = 0;
    virtual void paintPage(QPainter& painter, int page, const QRect& body) const = 0;
};

// Something drawn under table rows of the first band, such as each layout's cutting diagram: a row and
// what is under it never part at a page break. Sizes are screen pixels.
class RowAttachment {
public:
    virtual ~RowAttachment() = default;
    // Lays the attachments out for a body this wide.
    virtual void layOut(int width, const QFont& font) = 0;
    // The height under a row; 0 for none.
    virtual int heightUnder(int row) const = 0;
    virtual void paintUnder(QPainter& painter, int row, const QRect& area) const = 0;
};

// The page layout of a grid, written once for the preview, paper and PDF: a title block with an optional
// logo, the totals row repeated on every page, word-wrapped rows, bands of columns when the table is
// wider than the page, and a footer. Pages are laid out in screen pixels and drawn scaled to the device.
class TjvGridPrinter {
public:
    static constexpr int kScreenDpi = 96;
    static constexpr int kDefaultRowHeight = 20;

    TjvGridPrinter(const calculation::GridModel& grid, const calculation::Clock& clock);

    TPrintOptions& options() { return m_options; }
    const TPrintOptions& options() const { return m_options; }
    // Right-aligns and reformats cells that read as numbers (NumberFormat, printf style).
    bool NumbersalRight = false;
    QString NumberFormat = QStringLiteral("%.2f");
    bool Wordwrap = true;

    void setColumnWidths(const QVector<int>& widths) { m_columnWidths = widths; }
    void setTotalsRowHeight(int height) { m_totalsRowHeight = height; }
    void setFont(const QFont& font);
    // Pages after the table's, in the order added; none by default. A supplement must outlive the printer's
    // use.
    void setSupplement(PageSupplement* supplement) { m_supplements = {supplement}; }
    void addSupplement(PageSupplement* supplement) { m_supplements.append(supplement); }
    // Drawn under the rows; none by default. It must outlive the printer's use.
    void setRowAttachment(RowAttachment* attachment) { m_attachment = attachment; }
    // The paper and its printable area; the options' orientation replaces the layout's.
    void setPageLayout(const QPageLayout& layout) { m_pageLayout = layout; }
    QPageLayout pageLayout() const;
    // The printable area in screen pixels.
    QSize pageSize() const;

    // Lays the pages out again from the grid and the options as they are now.
    void layOut();
    int pageCount() const { return int(m_pages.size()); }
    const PageFrame& page(int index) const { return m_pages[index]; }
    int bandCount() const { return m_bandCount; }
    // The left, middle and right footer texts of a page.
    QStringList footerTexts(int index) const;
    // The wrapped lines of a cell as the pages show them.
    QStringList cellLines(int column, int row) const;

    // Draws one page on a device surface of the given size in device pixels.
    void paintPage(QPainter& painter, int index, const QSizeF& deviceSize) const;
    // Draws the page on a white image at screen resolution.
    QImage pageImage(int index) const;
    // Every page on a paged device (printer or PDF), one device page each.
    bool printAll(QPagedPaintDevice& device, QPainter& painter) const;

private:
    struct TitleBlock {
        QImage logo;
        int height = 0;
    };
    QFont titleFont() const;
    QFont footerFont() const;
    TitleBlock titleBlock() const;
    int cellWidth(int column) const;
    QString cellText(int column, int row) const;
    QStringList wrap(const QString& text, int width, const QFont& font) const;
    int lineHeight() const;
    int totalsRowHeight() const;
    int bodyTop() const;
    int footerTop() const;
    QVector<std::pair<int, int>> bands() const;
    void layOutBand(int band, int firstColumn, int lastColumn);
    void layOutSupplements();
    QRect bodyRect() const;
    void paintRow(QPainter& painter, const PageFrame& page, const RowSlice& slice) const;

    const calculation::GridModel& m_grid;
    const calculation::Clock& m_clock;
    TPrintOptions m_options;
    QVector<int> m_columnWidths;
    int m_totalsRowHeight = kDefaultRowHeight;
    QFont m_font;
    QPageLayout m_pageLayout;
    QVector<QVector<QStringList>> m_lines;
    QVector<PageFrame> m_pages;
    int m_bandCount = 0;
    QVector<PageSupplement*> m_supplements;
    RowAttachment* m_attachment = nullptr;
};

} // namespace printing
