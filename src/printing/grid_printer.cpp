#include "grid_printer.h"

#include "calculation/grid_model.h"

#include <QFontMetricsF>
#include <QPageSize>

#include <algorithm>
#include <cmath>

namespace printing {

namespace {

constexpr int kTextInset = 1;
// Room after the widest text of a column sized for the paper.
constexpr int kFitSlack = 6;
// Between two tables on one page.
constexpr int kTableGap = 12;
constexpr int kFooterGap = 20;

QFont pixelFont(QFont font, double points)
{
    font.setPixelSize(std::max(1, int(std::lround(points * TjvGridPrinter::kScreenDpi / 72.0))));
    return font;
}

bool blankRow(const calculation::GridModel& grid, int row)
{
    for (int column = 0; column < grid.columns(); ++column)
        if (!grid.cell(column, row).trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

// Where the next row goes while the pages are laid out.
struct TjvGridPrinter::Cursor {
    int y = 0;
    // Whether the table being laid out has rows on the current page beyond its heading.
    bool rowsOnPage = false;
};

TjvGridPrinter::TjvGridPrinter(const calculation::Clock& clock)
    : m_clock(clock),
      m_pageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter)
{
    setFont(QFont());
}

TjvGridPrinter::TjvGridPrinter(const calculation::GridModel& grid, const calculation::Clock& clock)
    : TjvGridPrinter(clock)
{
    addTable(grid);
}

int TjvGridPrinter::addTable(const calculation::GridModel& grid, const QString& caption)
{
    Table table;
    table.grid = &grid;
    table.caption = caption;
    m_tables.append(table);
    return int(m_tables.size()) - 1;
}

void TjvGridPrinter::setColumnWidths(const QVector<int>& widths, int table)
{
    m_tables[table].screenWidths = widths;
    m_tables[table].fitted = false;
}

void TjvGridPrinter::fitColumns(int spareColumn, int table)
{
    m_tables[table].fitted = true;
    m_tables[table].spareColumn = spareColumn;
}

void TjvGridPrinter::setWrapRule(WrapRule rule, int table)
{
    m_tables[table].wrapRule = std::move(rule);
}

void TjvGridPrinter::setRowAttachment(RowAttachment* attachment, int table)
{
    m_tables[table].attachment = attachment;
}

void TjvGridPrinter::setFont(const QFont& font)
{
    // Sizes in screen pixels, so that the same layout scales to any device resolution.
    m_font = font.pixelSize() > 0 ? font : pixelFont(font, font.pointSizeF() > 0 ? font.pointSizeF() : 9);
}

QPageLayout TjvGridPrinter::pageLayout() const
{
    QPageLayout layout = m_pageLayout;
    layout.setOrientation(m_options.orientation);
    return layout;
}

QSize TjvGridPrinter::pageSize() const
{
    const QRectF inches = pageLayout().paintRect(QPageLayout::Inch);
    return QSize(int(std::lround(inches.width() * kScreenDpi)), int(std::lround(inches.height() * kScreenDpi)));
}

QString TjvGridPrinter::documentName() const
{
    return m_options.jobTitle.isEmpty() ? m_options.PageTitle : m_options.jobTitle;
}

QFont TjvGridPrinter::titleFont() const
{
    return pixelFont(m_font, m_options.HeaderSize);
}

QFont TjvGridPrinter::jobNameFont() const
{
    QFont font = m_font;
    font.setPixelSize(std::max(1, int(std::lround(m_font.pixelSize() * 1.25))));
    font.setBold(true);
    return font;
}

QFont TjvGridPrinter::footerFont() const
{
    return pixelFont(m_font, m_options.FooterSize);
}

QString TjvGridPrinter::cellText(const Table& table, int column, int row) const
{
    const QString text = table.grid->cell(column, row);
    if (!NumbersalRight)
        return text;
    bool isNumber = false;
    const double value = text.toDouble(&isNumber);
    return isNumber ? QString::asprintf(NumberFormat.toLatin1().constData(), value) : text;
}

QStringList TjvGridPrinter::wrap(const QString& text, int width, const QFont& font) const
{
    const QFontMetricsF metrics(font);
    QStringList lines;
    QString line;
    auto fits = [&](const QString& candidate) { return metrics.horizontalAdvance(candidate) <= width; };
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines.append(line);
        line = word;
        // A word wider than the cell is broken where it must be.
        while (line.size() > 1 && !fits(line)) {
            qsizetype cut = line.size() - 1;
            while (cut > 1 && !fits(line.left(cut)))
                --cut;
            lines.append(line.left(cut));
            line = line.mid(cut);
        }
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines.append(line);
    return lines;
}

QStringList TjvGridPrinter::wrapCell(const Table& table, int column, const QString& text, int width) const
{
    if (column != table.spareColumn || !table.wrapRule)
        return wrap(text, width, m_font);
    const QFontMetricsF metrics(m_font);
    QStringList lines =
        table.wrapRule(text, width, [&](const QString& t) { return int(std::ceil(metrics.horizontalAdvance(t))); });
    if (lines.isEmpty())
        lines.append(QString());
    return lines;
}

int TjvGridPrinter::textWidth(const QString& text, bool bold) const
{
    QFont font = m_font;
    font.setBold(bold);
    return int(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

int TjvGridPrinter::lineHeight() const
{
    return int(std::ceil(QFontMetricsF(m_font).height()));
}

int TjvGridPrinter::totalsRowHeight() const
{
    // The screen's height, unless the printed font needs more (a grid whose fixed rows report none).
    return std::max(m_totalsRowHeight, lineHeight() + 1);
}

int TjvGridPrinter::captionHeight() const
{
    return lineHeight() + 6;
}

int TjvGridPrinter::contentTop() const
{
    return m_options.MarginTop + m_title.height + m_options.PageTitleMargin;
}

int TjvGridPrinter::bodyTop() const
{
    return contentTop() + totalsRowHeight();
}

int TjvGridPrinter::footerTop() const
{
    return pageSize().height() - int(std::ceil(QFontMetricsF(footerFont()).height())) - m_options.MarginBottom -
           kFooterGap;
}

int TjvGridPrinter::usableWidth() const
{
    return std::max(1, pageSize().width() - m_options.MarginLeft - m_options.MarginRight);
}

QStringList TjvGridPrinter::cellLines(int column, int row, int table) const
{
    if (table < 0 || table >= m_tables.size())
        return {};
    const Table& t = m_tables[table];
    if (row < 0 || row >= t.lines.size() || column < 0 || column >= t.lines[row].size())
        return {};
    return t.lines[row][column];
}

int TjvGridPrinter::columnWidth(int column, int table) const
{
    const QVector<int>& widths = m_tables[table].widths;
    return column >= 0 && column < widths.size() ? widths[column] : 0;
}

std::pair<int, int> TjvGridPrinter::bandColumns(int band, int table) const
{
    const QVector<std::pair<int, int>>& bands = m_tables[table].bands;
    return band >= 1 && band <= bands.size() ? bands[band - 1] : std::pair<int, int>{0, -1};
}

void TjvGridPrinter::measureTable(Table& table) const
{
    // 1 - the rows printed: the fixed rows and every data row with a text
    table.rows.clear();
    for (int row = 0; row < table.grid->rows(); ++row)
        if (row < calculation::GridModel::kFirstDataRow || !blankRow(*table.grid, row))
            table.rows.append(row);
    // 2 - the widths on paper
    table.widths.clear();
    if (table.fitted) {
        fitTable(table);
    } else {
        for (int column = 0; column < table.grid->columns(); ++column)
            table.widths.append((column < table.screenWidths.size() ? table.screenWidths[column] : 64) + 1);
    }
    wrapTable(table);
    table.bands = bands(table);
}

void TjvGridPrinter::fitTable(Table& table) const
{
    // 1 - every column as wide as its widest text, no wider than the page
    const int padding = m_options.Leftpadding + kTextInset + kFitSlack;
    const int usable = usableWidth();
    int fixed = 0;
    int spareLeast = 0;
    int spareWhole = 0;
    for (int column = 0; column < table.grid->columns(); ++column) {
        int widest = 0;
        int widestPiece = 0;
        for (int row : table.rows) {
            const QString text = cellText(table, column, row);
            widest = std::max(widest, textWidth(text, row == 0 && column > 0));
            if (column == table.spareColumn && row > calculation::GridModel::kHeaderRow)
                for (const QString& piece : wrapCell(table, column, text, 0))
                    widestPiece = std::max(widestPiece, textWidth(piece, false));
            else if (column == table.spareColumn)
                spareLeast = std::max(spareLeast, textWidth(text, row == 0) + padding);
        }
        table.widths.append(std::min(widest + padding, usable));
        if (column == table.spareColumn) {
            spareLeast = std::max(spareLeast, std::min(widestPiece + padding, usable / 3));
            spareWhole = std::min(widest + padding, usable);
        } else {
            fixed += table.widths.last();
        }
    }
    // 2 - the spare column takes the rest of the line; when the rest is too narrow for it, the table goes
    // into bands and the spare column is as wide as its texts, at most the page
    if (table.spareColumn >= 0 && table.spareColumn < table.widths.size())
        table.widths[table.spareColumn] =
            usable - fixed >= spareLeast ? usable - fixed : std::max(spareLeast, spareWhole);
}

void TjvGridPrinter::wrapTable(Table& table) const
{
    // Row 0 and column 0 stay on one line.
    table.lines.clear();
    table.lines.resize(table.grid->rows());
    for (int row : table.rows) {
        QVector<QStringList>& cells = table.lines[row];
        for (int column = 0; column < table.grid->columns(); ++column) {
            const QString text = cellText(table, column, row);
            const bool wraps = Wordwrap && row > 0 && column > 0;
            cells.append(wraps
                             ? wrapCell(table, column, text, table.widths[column] - m_options.Leftpadding - kTextInset)
                             : QStringList{text});
        }
    }
}

QVector<std::pair<int, int>> TjvGridPrinter::bands(const Table& table) const
{
    QVector<std::pair<int, int>> result;
    const int right = pageSize().width() - m_options.MarginRight;
    const int columns = table.grid->columns();
    for (int first = 0; first < columns;) {
        int last = first;
        int x = m_options.MarginLeft + table.widths[first];
        while (last + 1 < columns && x + table.widths[last + 1] <= right)
            x += table.widths[++last];
        result.append({first, last});
        first = last + 1;
    }
    return result;
}

void TjvGridPrinter::layOut()
{
    // 1 - the title block, then every table's widths, lines and bands
    m_title = makeTitleBlock();
    m_pages.clear();
    m_bandCount = 0;
    for (Table& table : m_tables) {
        measureTable(table);
        m_bandCount = std::max(m_bandCount, int(table.bands.size()));
        if (table.attachment)
            table.attachment->layOut(bodyRect().width(), m_font);
    }
    // 2 - the first band of every table, one after the other, then the second band, each band on pages
    // of its own
    for (int band = 1; band <= m_bandCount; ++band) {
        Cursor cursor;
        startPage(cursor, band);
        for (int table = 0; table < m_tables.size(); ++table)
            if (band <= m_tables[table].bands.size())
                layOutTable(cursor, table, band);
    }
    // 3 - the supplements' pages go on counting in the last band, under the last table's heading
    layOutSupplements();
}

QRect TjvGridPrinter::bodyRect() const
{
    const int top = bodyTop();
    return QRect(m_options.MarginLeft, top, pageSize().width() - m_options.MarginLeft - m_options.MarginRight,
                 footerTop() - top);
}

void TjvGridPrinter::startPage(Cursor& cursor, int band)
{
    PageFrame page;
    page.band = band;
    page.pageInBand = m_pages.isEmpty() || m_pages.last().band != band ? 1 : m_pages.last().pageInBand + 1;
    m_pages.append(page);
    cursor.y = contentTop();
    cursor.rowsOnPage = false;
}

void TjvGridPrinter::openTable(Cursor& cursor, int table)
{
    QVector<RowSlice>& rows = m_pages.last().rows;
    if (!m_tables[table].caption.isEmpty()) {
        rows.append({kCaptionRow, 0, 1, cursor.y, captionHeight(), 0, table});
        cursor.y += captionHeight();
    }
    rows.append({0, 0, 1, cursor.y, totalsRowHeight(), 0, table});
    cursor.y += totalsRowHeight();
    cursor.rowsOnPage = false;
}

void TjvGridPrinter::layOutTable(Cursor& cursor, int tableIndex, int band)
{
    const Table& table = m_tables[tableIndex];
    const auto [firstColumn, lastColumn] = table.bands[band - 1];
    const int limit = footerTop();
    const int lh = lineHeight();
    const int headingHeight = (table.caption.isEmpty() ? 0 : captionHeight()) + totalsRowHeight();
    auto rowHeight = [&](int row) {
        int lines = 1;
        for (int column = firstColumn; column <= lastColumn; ++column)
            lines = std::max(lines, int(table.lines[row][column].size()));
        return std::pair<int, int>{lines, std::max(kDefaultRowHeight, lines * lh + 1)};
    };
    auto underRow = [&](int row) { return band == 1 && table.attachment ? table.attachment->heightUnder(row) : 0; };
    // 1 - the table starts on this page under the one before when its heading and first row fit there
    if (!m_pages.last().rows.isEmpty()) {
        // The column headings and the first data row.
        int needed = kTableGap + headingHeight;
        for (int index = 1; index < std::min(3, int(table.rows.size())); ++index)
            needed += rowHeight(table.rows[index]).second + underRow(table.rows[index]);
        if (cursor.y + needed > limit)
            startPage(cursor, band);
        else
            cursor.y += kTableGap;
    }
    openTable(cursor, tableIndex);
    const int top = contentTop() + headingHeight;
    auto nextPage = [&] {
        startPage(cursor, band);
        openTable(cursor, tableIndex);
    };
    // 2 - the rows
    for (int index = 1; index < table.rows.size(); ++index) {
        const int row = table.rows[index];
        const auto [lines, height] = rowHeight(row);
        const int under = underRow(row);
        // A row (with what is under it) that fits a fresh page starts one; a taller one begins right here
        // and goes on over pages.
        if (cursor.y + height + under > limit && cursor.rowsOnPage && top + height + under <= limit)
            nextPage();
        cursor.rowsOnPage = true;
        if (cursor.y + height + under <= limit) {
            m_pages.last().rows.append({row, 0, lines, cursor.y, height, under, tableIndex});
            cursor.y += height + under;
            continue;
        }
        for (int first = 0; first < lines;) {
            const int take = std::min(lines - first, std::max(1, (limit - cursor.y - 1) / lh));
            m_pages.last().rows.append({row, first, take, cursor.y, take * lh + 1, 0, tableIndex});
            cursor.y += take * lh + 1;
            first += take;
            if (first < lines)
                nextPage();
        }
        // Under a row that went over pages, the attachment follows whole, as an empty slice of the row.
        if (under > 0) {
            if (cursor.y + under > limit)
                nextPage();
            m_pages.last().rows.append({row, lines, 0, cursor.y, 0, under, tableIndex});
            cursor.y += under;
        }
    }
}

void TjvGridPrinter::layOutSupplements()
{
    if (m_pages.isEmpty() || m_tables.isEmpty())
        return;
    const int headingTable = int(m_tables.size()) - 1;
    for (int supplement = 0; supplement < m_supplements.size(); ++supplement) {
        const int count = m_supplements[supplement]->layOut(bodyRect().size(), m_font);
        for (int index = 0; index < count; ++index) {
            PageFrame page;
            page.band = m_pages.last().band;
            page.pageInBand = m_pages.last().pageInBand + 1;
            page.rows.append({0, 0, 1, contentTop(), totalsRowHeight(), 0, headingTable});
            page.supplement = supplement;
            page.supplementPage = index;
            m_pages.append(page);
        }
    }
}

QStringList TjvGridPrinter::footerTexts(int index) const
{
    const PageFrame& frame = m_pages[index];
    const QDateTime now = m_clock.now();
    const QString date = formatDateTime(m_options.DateFormat, now);
    const QString time = formatDateTime(m_options.TimeFormat, now);
    const QString page = pageLabel(frame.pageInBand, frame.band, m_bandCount);
    QStringList texts;
    for (const QString& part : footerParts(m_options.PageFooter))
        texts.append(expandFooterPart(part, date, time, page));
    return texts;
}

} // namespace printing
