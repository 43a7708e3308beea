#include "grid_printer.h"

#include "calculation/grid_model.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace printing {

namespace {

constexpr int kFooterGap = 20;
constexpr int kTextInset = 1;

QFont pixelFont(QFont font, double points)
{
    font.setPixelSize(std::max(1, int(std::lround(points * TjvGridPrinter::kScreenDpi / 72.0))));
    return font;
}

} // namespace

TjvGridPrinter::TjvGridPrinter(const calculation::GridModel& grid, const calculation::Clock& clock)
    : m_grid(grid), m_clock(clock),
      m_pageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter)
{
    setFont(QFont());
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

QFont TjvGridPrinter::titleFont() const
{
    return pixelFont(m_font, m_options.HeaderSize);
}

QFont TjvGridPrinter::footerFont() const
{
    return pixelFont(m_font, m_options.FooterSize);
}

TjvGridPrinter::TitleBlock TjvGridPrinter::titleBlock() const
{
    TitleBlock block;
    block.height = int(std::ceil(QFontMetricsF(titleFont()).height()));
    // An unreadable logo is ignored like a missing one; a huge one is scaled down to fit beside the title.
    QImage logo = m_options.Logo.isEmpty() ? QImage() : QImage(m_options.Logo);
    if (!logo.isNull()) {
        const QSize page = pageSize();
        const QSize most(std::max(1, page.width() / 4), std::max(1, page.height() / 8));
        if (logo.width() > most.width() || logo.height() > most.height())
            logo = logo.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        block.logo = logo;
        block.height = std::max(block.height, logo.height());
    }
    return block;
}

int TjvGridPrinter::cellWidth(int column) const
{
    const int width = column < m_columnWidths.size() ? m_columnWidths[column] : 64;
    return width + 1;
}

QString TjvGridPrinter::cellText(int column, int row) const
{
    const QString text = m_grid.cell(column, row);
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

int TjvGridPrinter::lineHeight() const
{
    return int(std::ceil(QFontMetricsF(m_font).height()));
}

int TjvGridPrinter::totalsRowHeight() const
{
    // The screen's height, unless the printed font needs more (a grid whose fixed rows report none).
    return std::max(m_totalsRowHeight, lineHeight() + 1);
}

int TjvGridPrinter::bodyTop() const
{
    return m_options.MarginTop + titleBlock().height + m_options.PageTitleMargin + totalsRowHeight();
}

int TjvGridPrinter::footerTop() const
{
    return pageSize().height() - int(std::ceil(QFontMetricsF(footerFont()).height())) - m_options.MarginBottom -
           kFooterGap;
}

QStringList TjvGridPrinter::cellLines(int column, int row) const
{
    if (row < 0 || row >= m_lines.size() || column < 0 || column >= m_lines[row].size())
        return {};
    return m_lines[row][column];
}

QVector<std::pair<int, int>> TjvGridPrinter::bands() const
{
    QVector<std::pair<int, int>> result;
    const int right = pageSize().width() - m_options.MarginRight;
    for (int first = 0; first < m_grid.columns();) {
        int last = first;
        int x = m_options.MarginLeft + cellWidth(first);
        while (last + 1 < m_grid.columns() && x + cellWidth(last + 1) <= right)
            x += cellWidth(++last);
        result.append({first, last});
        first = last + 1;
    }
    return result;
}

void TjvGridPrinter::layOut()
{
    // 1 - the wrapped lines of every cell; row 0 and column 0 stay on one line
    m_lines.clear();
    for (int row = 0; row < m_grid.rows(); ++row) {
        QVector<QStringList> cells;
        for (int column = 0; column < m_grid.columns(); ++column) {
            const QString text = cellText(column, row);
            const bool wraps = Wordwrap && row > 0 && column > 0;
            cells.append(wraps ? wrap(text, cellWidth(column) - m_options.Leftpadding - kTextInset, m_font)
                               : QStringList{text});
        }
        m_lines.append(cells);
    }
    // 2 - bands of columns, each laid out over all rows, the attachments under the rows of the first
    m_pages.clear();
    if (m_attachment)
        m_attachment->layOut(bodyRect().width(), m_font);
    const QVector<std::pair<int, int>> columnBands = bands();
    m_bandCount = int(columnBands.size());
    for (int band = 0; band < columnBands.size(); ++band)
        layOutBand(band + 1, columnBands[band].first, columnBands[band].second);
    // 3 - the supplements' pages go on counting in the last band, under the first band's heading
    layOutSupplements();
}

QRect TjvGridPrinter::bodyRect() const
{
    const int top = bodyTop();
    return QRect(m_options.MarginLeft, top, pageSize().width() - m_options.MarginLeft - m_options.MarginRight,
                 footerTop() - top);
}

void TjvGridPrinter::layOutSupplements()
{
    if (m_pages.isEmpty())
        return;
    const PageFrame heading = m_pages.first();
    for (int supplement = 0; supplement < m_supplements.size(); ++supplement) {
        const int count = m_supplements[supplement]->layOut(bodyRect().size(), m_font);
        for (int index = 0; index < count; ++index) {
            PageFrame page;
            page.band = m_pages.last().band;
            page.pageInBand = m_pages.last().pageInBand + 1;
            page.firstColumn = heading.firstColumn;
            page.lastColumn = heading.lastColumn;
            page.rows.append(heading.rows.first());
            page.supplement = supplement;
            page.supplementPage = index;
            m_pages.append(page);
        }
    }
}

void TjvGridPrinter::layOutBand(int band, int firstColumn, int lastColumn)
{
    const int top = bodyTop();
    const int limit = footerTop();
    const int lh = lineHeight();
    int y = top;
    auto startPage = [&] {
        PageFrame page;
        page.band = band;
        page.pageInBand = m_pages.isEmpty() || m_pages.last().band != band ? 1 : m_pages.last().pageInBand + 1;
        page.firstColumn = firstColumn;
        page.lastColumn = lastColumn;
        page.rows.append({0, 0, 1, top - totalsRowHeight(), totalsRowHeight()});
        m_pages.append(page);
        y = top;
    };
    startPage();
    for (int row = 1; row < m_grid.rows(); ++row) {
        int lines = 1;
        for (int column = firstColumn; column <= lastColumn; ++column)
            lines = std::max(lines, int(m_lines[row][column].size()));
        const int height = std::max(kDefaultRowHeight, lines * lh + 1);
        const int under = band == 1 && m_attachment ? m_attachment->heightUnder(row) : 0;
        // A row (with what is under it) that fits a fresh page starts one; a taller one begins right here
        // and goes on over pages.
        if (y + height + under > limit && m_pages.last().rows.size() > 1 && top + height + under <= limit)
            startPage();
        if (y + height + under <= limit) {
            m_pages.last().rows.append({row, 0, lines, y, height, under});
            y += height + under;
            continue;
        }
        for (int first = 0; first < lines;) {
            const int take = std::min(lines - first, std::max(1, (limit - y - 1) / lh));
            m_pages.last().rows.append({row, first, take, y, take * lh + 1, 0});
            y += take * lh + 1;
            first += take;
            if (first < lines)
                startPage();
        }
        // Under a row that went over pages, the attachment follows whole, as an empty slice of the row.
        if (under > 0) {
            if (y + under > limit)
                startPage();
            m_pages.last().rows.append({row, lines, 0, y, 0, under});
            y += under;
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

void TjvGridPrinter::paintRow(QPainter& painter, const PageFrame& page, const RowSlice& slice) const
{
    const int lh = lineHeight();
    QFont bold = m_font;
    bold.setBold(true);
    int x = m_options.MarginLeft;
    for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
        const int width = cellWidth(column);
        const QRect cell(x, slice.top, width, slice.height);
        if (m_options.borders && slice.height > 0)
            painter.drawRect(cell);
        const bool isBold = slice.row == 0 && column > 0;
        painter.setFont(isBold ? bold : m_font);
        const QStringList& all = m_lines[slice.row][column];
        const QStringList shown = all.mid(slice.firstLine, slice.lineCount);
        const int textHeight = int(shown.size()) * lh;
        // One-line rows are centred like the grid's cells; wrapped rows read from the top.
        const bool oneLine = slice.height <= kDefaultRowHeight;
        int y = slice.top + (oneLine ? std::max(kTextInset, (slice.height - textHeight) / 2) : kTextInset);
        const bool right = NumbersalRight && slice.row > 1 && !m_grid.cell(column, slice.row).isEmpty() && [&] {
            bool ok = false;
            m_grid.cell(column, slice.row).toDouble(&ok);
            return ok;
        }();
        for (const QString& line : shown) {
            const QRect lineRect(x + m_options.Leftpadding, y, width - m_options.Leftpadding - kTextInset, lh);
            painter.drawText(lineRect, (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, line);
            y += lh;
        }
        x += width;
    }
}

void TjvGridPrinter::paintPage(QPainter& painter, int index, const QSizeF& deviceSize) const
{
    const PageFrame& page = m_pages[index];
    const QSize size = pageSize();
    painter.save();
    painter.scale(deviceSize.width() / size.width(), deviceSize.height() / size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);

    // 1 - title block: the logo at the left margin, the title centred across the page
    const TitleBlock block = titleBlock();
    if (!block.logo.isNull())
        painter.drawImage(QPoint(m_options.MarginLeft, m_options.MarginTop), block.logo);
    painter.setFont(titleFont());
    painter.drawText(QRect(0, m_options.MarginTop, size.width(), block.height), Qt::AlignCenter, m_options.PageTitle);

    // 2 - the heading row and the rows of this page
    for (const RowSlice& slice : page.rows) {
        paintRow(painter, page, slice);
        if (m_attachment && slice.attachment > 0) {
            painter.save();
            const QRect body = bodyRect();
            m_attachment->paintUnder(painter, slice.row,
                                     QRect(body.left(), slice.top + slice.height, body.width(), slice.attachment));
            painter.restore();
        }
    }
    if (page.supplement >= 0 && page.supplement < m_supplements.size()) {
        painter.save();
        m_supplements[page.supplement]->paintPage(painter, page.supplementPage, bodyRect());
        painter.restore();
    }

    // 3 - the footer: left, centred and ending at the right margin
    const QStringList footer = footerTexts(index);
    painter.setFont(footerFont());
    const int footerHeight = int(std::ceil(QFontMetricsF(footerFont()).height()));
    const QRect line(m_options.MarginLeft, size.height() - m_options.MarginBottom - footerHeight,
                     size.width() - m_options.MarginLeft - m_options.MarginRight, footerHeight);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, footer[0]);
    painter.drawText(QRect(0, line.top(), size.width(), footerHeight), Qt::AlignHCenter | Qt::AlignVCenter, footer[1]);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, footer[2]);
    painter.restore();
}

QImage TjvGridPrinter::pageImage(int index) const
{
    QImage image(pageSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, index, image.size());
    return image;
}

bool TjvGridPrinter::printAll(QPagedPaintDevice& device, QPainter& painter) const
{
    for (int index = 0; index < pageCount(); ++index) {
        if (index > 0 && !device.newPage())
            return false;
        paintPage(painter, index, QSizeF(device.width(), device.height()));
    }
    return true;
}

} // namespace printing
