#pragma once

#include "paged_document.h"
#include "print_options.h"

#include "calculation/run_seams.h"

#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QRect>
#include <QStringList>
#include <QVector>

#include <functional>

class QPainter;

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
    // Which of the printout's tables the row belongs to.
    int table = 0;
};

// The row of a slice that holds a table's caption.
inline constexpr int kCaptionRow = -1;

// One laid-out page; coordinates are screen pixels from the page's top left corner.
struct PageFrame {
    int band = 1;
    int pageInBand = 1;
    // Each table on the page starts with its caption (if it has one) and its row 0, the repeated heading.
    QVector<RowSlice> rows;
    // A page of a supplement after the tables' pages: which supplement, and its page, or -1.
    int supplement = -1;
    int supplementPage = -1;
};

// Pages printed after the tables under the same title, repeated heading and footer, such as the cutting
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

// How the texts of a column break into lines no wider than width, as textWidth measures them.
using WrapRule =
    std::function<QStringList(const QString& text, int width, const std::function<int(const QString&)>& textWidth)>;

// The page layout of one or more grids, written once for the preview, paper and PDF: a title block with an
// optional logo and the job's lines, each table under its caption with its totals row repeated on every
// page, word-wrapped rows, bands of columns when a table is wider than the page, and a footer. Pages are
// laid out in screen pixels and drawn scaled to the device.
class TjvGridPrinter : public PagedDocument {
public:
    static constexpr int kScreenDpi = 96;
    static constexpr int kDefaultRowHeight = 20;

    // A printout of one grid, table 0.
    TjvGridPrinter(const calculation::GridModel& grid, const calculation::Clock& clock);
    // A printout of the tables added.
    explicit TjvGridPrinter(const calculation::Clock& clock);

    // Adds a table after the others; returns its index. The grid must outlive the printer's use.
    int addTable(const calculation::GridModel& grid, const QString& caption = {});
    int tableCount() const { return int(m_tables.size()); }

    TPrintOptions& options() { return m_options; }
    const TPrintOptions& options() const { return m_options; }
    // Right-aligns and reformats cells that read as numbers (NumberFormat, printf style).
    bool NumbersalRight = false;
    QString NumberFormat = QStringLiteral("%.2f");
    bool Wordwrap = true;

    // A table's columns as wide as on screen (plus a pixel each).
    void setColumnWidths(const QVector<int>& widths, int table = 0);
    // A table's columns sized for the paper: each as wide as its widest text, the spare column (-1 for none)
    // the rest of the line. The columns are printed in bands only when the others alone are wider than
    // the page.
    void fitColumns(int spareColumn, int table = 0);
    // How the spare column's texts break; at blanks when none is set.
    void setWrapRule(WrapRule rule, int table = 0);
    void setTotalsRowHeight(int height) { m_totalsRowHeight = height; }
    void setFont(const QFont& font);
    // Pages after the tables', in the order added; none by default. A supplement must outlive the printer's
    // use.
    void setSupplement(PageSupplement* supplement) { m_supplements = {supplement}; }
    void addSupplement(PageSupplement* supplement) { m_supplements.append(supplement); }
    // Drawn under the rows of a table; none by default. It must outlive the printer's use.
    void setRowAttachment(RowAttachment* attachment, int table = 0);

    // The paper and its printable area; the options' orientation replaces the layout's.
    void setPageLayout(const QPageLayout& layout) override { m_pageLayout = layout; }
    QPageLayout pageLayout() const override;
    // The printable area in screen pixels.
    QSize pageSize() const override;

    void layOut() override;
    int pageCount() const override { return int(m_pages.size()); }
    const PageFrame& page(int index) const { return m_pages[index]; }
    int bandCount() const { return m_bandCount; }
    // The first and last column of a table printed on the pages of a band; (0, -1) when it has no such band.
    std::pair<int, int> bandColumns(int band, int table = 0) const;
    // The width of a column on paper, as laid out.
    int columnWidth(int column, int table = 0) const;
    // The left, middle and right footer texts of a page.
    QStringList footerTexts(int index) const;
    // The wrapped lines of a cell as the pages show them.
    QStringList cellLines(int column, int row, int table = 0) const;
    // The job's lines under the page title as they are printed: the job's title, then its facts in lines.
    QStringList jobLines() const;

    void paintPage(QPainter& painter, int index, const QSizeF& deviceSize) const override;
    TPrintOptions* printOptions() override { return &m_options; }
    void setOutlines(bool on) override { m_options.borders = on; }
    QString documentName() const override;

private:
    struct Table {
        const calculation::GridModel* grid = nullptr;
        QString caption;
        bool fitted = false;
        int spareColumn = -1;
        QVector<int> screenWidths;
        WrapRule wrapRule;
        RowAttachment* attachment = nullptr;
        // Laid out: the widths on paper, every cell's lines, the printed rows and the bands of columns.
        QVector<int> widths;
        QVector<QVector<QStringList>> lines;
        QVector<int> rows;
        QVector<std::pair<int, int>> bands;
    };
    struct TitleBlock {
        QImage logo;
        int titleHeight = 0;
        int jobNameHeight = 0;
        QStringList factLines;
        int height = 0;
    };
    struct Cursor;
    QFont titleFont() const;
    QFont jobNameFont() const;
    QFont footerFont() const;
    TitleBlock makeTitleBlock() const;
    QString cellText(const Table& table, int column, int row) const;
    QStringList wrap(const QString& text, int width, const QFont& font) const;
    QStringList wrapCell(const Table& table, int column, const QString& text, int width) const;
    int textWidth(const QString& text, bool bold) const;
    int lineHeight() const;
    int totalsRowHeight() const;
    int captionHeight() const;
    int contentTop() const;
    int bodyTop() const;
    int footerTop() const;
    int usableWidth() const;
    void measureTable(Table& table) const;
    void fitTable(Table& table) const;
    void wrapTable(Table& table) const;
    QVector<std::pair<int, int>> bands(const Table& table) const;
    void startPage(Cursor& cursor, int band);
    void openTable(Cursor& cursor, int table);
    void layOutTable(Cursor& cursor, int table, int band);
    void layOutSupplements();
    QRect bodyRect() const;
    void paintTitleBlock(QPainter& painter, const QSize& size) const;
    void paintRow(QPainter& painter, const PageFrame& page, const RowSlice& slice) const;
    void paintFooter(QPainter& painter, int index, const QSize& size) const;

    const calculation::Clock& m_clock;
    TPrintOptions m_options;
    QVector<Table> m_tables;
    int m_totalsRowHeight = kDefaultRowHeight;
    QFont m_font;
    QPageLayout m_pageLayout;
    TitleBlock m_title;
    QVector<PageFrame> m_pages;
    int m_bandCount = 0;
    QVector<PageSupplement*> m_supplements;
};

} // namespace printing
