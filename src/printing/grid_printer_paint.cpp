// The grid printer's drawing: the title block with the job's lines, the rows of the tables and the footer.

#include "grid_printer.h"

#include "calculation/grid_model.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace printing {

namespace {

constexpr int kTextInset = 1;
// Between the logo and the job's lines, which are centred across the page.
constexpr int kLogoGap = 8;
const QString kFactGap = QStringLiteral("     ");

int heightOf(const QFont& font)
{
    return int(std::ceil(QFontMetricsF(font).height()));
}

// The facts one after the other, broken into lines between facts; a fact wider than a line stands alone.
QStringList factLines(const QStringList& facts, int width, const QFont& font)
{
    const QFontMetricsF metrics(font);
    QStringList lines;
    for (const QString& fact : facts) {
        if (fact.isEmpty())
            continue;
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + kFactGap + fact) <= width)
            lines.last() += kFactGap + fact;
        else
            lines.append(fact);
    }
    return lines;
}

} // namespace

TjvGridPrinter::TitleBlock TjvGridPrinter::makeTitleBlock() const
{
    TitleBlock block;
    block.titleHeight = heightOf(titleFont());
    // An unreadable logo is ignored like a missing one; a huge one is scaled down to fit beside the title.
    QImage logo = m_options.Logo.isEmpty() ? QImage() : QImage(m_options.Logo);
    const QSize page = pageSize();
    if (!logo.isNull()) {
        const QSize most(std::max(1, page.width() / 4), std::max(1, page.height() / 8));
        if (logo.width() > most.width() || logo.height() > most.height())
            logo = logo.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        block.logo = logo;
    }
    block.jobNameHeight = m_options.jobName.isEmpty() ? 0 : heightOf(jobNameFont());
    const int beside = block.logo.isNull() ? 0 : block.logo.width() + kLogoGap;
    const int width = std::max(1, page.width() - m_options.MarginLeft - m_options.MarginRight - 2 * beside);
    block.factLines = factLines(m_options.jobFacts, width, m_font);
    const int text = block.titleHeight + block.jobNameHeight + int(block.factLines.size()) * lineHeight();
    block.height = std::max(text, block.logo.height());
    return block;
}

QStringList TjvGridPrinter::jobLines() const
{
    QStringList lines = m_title.factLines;
    if (!m_options.jobName.isEmpty())
        lines.prepend(m_options.jobName);
    return lines;
}

void TjvGridPrinter::paintTitleBlock(QPainter& painter, const QSize& size) const
{
    // The logo at the left margin, the title and the job's lines centred across the page.
    if (!m_title.logo.isNull())
        painter.drawImage(QPoint(m_options.MarginLeft, m_options.MarginTop), m_title.logo);
    int y = m_options.MarginTop;
    painter.setFont(titleFont());
    painter.drawText(QRect(0, y, size.width(), m_title.titleHeight), Qt::AlignCenter, m_options.PageTitle);
    y += m_title.titleHeight;
    if (m_title.jobNameHeight > 0) {
        painter.setFont(jobNameFont());
        painter.drawText(QRect(0, y, size.width(), m_title.jobNameHeight), Qt::AlignCenter, m_options.jobName);
        y += m_title.jobNameHeight;
    }
    painter.setFont(m_font);
    for (const QString& line : m_title.factLines) {
        painter.drawText(QRect(0, y, size.width(), lineHeight()), Qt::AlignCenter, line);
        y += lineHeight();
    }
}

void TjvGridPrinter::paintRow(QPainter& painter, const PageFrame& page, const RowSlice& slice) const
{
    const Table& table = m_tables[slice.table];
    QFont bold = m_font;
    bold.setBold(true);
    if (slice.row == kCaptionRow) {
        painter.setFont(bold);
        painter.drawText(QRect(m_options.MarginLeft, slice.top, usableWidth(), slice.height),
                         Qt::AlignLeft | Qt::AlignVCenter, table.caption);
        return;
    }
    const int lh = lineHeight();
    // A supplement's page repeats the heading as the first band prints it.
    const auto [firstColumn, lastColumn] = bandColumns(page.supplement >= 0 ? 1 : page.band, slice.table);
    int x = m_options.MarginLeft;
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const int width = table.widths[column];
        const QRect cell(x, slice.top, width, slice.height);
        if (m_options.borders && slice.height > 0)
            painter.drawRect(cell);
        painter.setFont(slice.row == 0 && column > 0 ? bold : m_font);
        const QStringList shown = table.lines[slice.row][column].mid(slice.firstLine, slice.lineCount);
        const int textHeight = int(shown.size()) * lh;
        // One-line rows are centred like the grid's cells; wrapped rows read from the top.
        const bool oneLine = slice.height <= kDefaultRowHeight;
        int y = slice.top + (oneLine ? std::max(kTextInset, (slice.height - textHeight) / 2) : kTextInset);
        const QString text = table.grid->cell(column, slice.row);
        bool isNumber = false;
        if (NumbersalRight && slice.row > 1 && !text.isEmpty())
            text.toDouble(&isNumber);
        for (const QString& line : shown) {
            const QRect lineRect(x + m_options.Leftpadding, y, width - m_options.Leftpadding - kTextInset, lh);
            painter.drawText(lineRect, (isNumber ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, line);
            y += lh;
        }
        x += width;
    }
}

void TjvGridPrinter::paintFooter(QPainter& painter, int index, const QSize& size) const
{
    // Left, centred and ending at the right margin.
    const QStringList footer = footerTexts(index);
    painter.setFont(footerFont());
    const int footerHeight = heightOf(footerFont());
    const QRect line(m_options.MarginLeft, size.height() - m_options.MarginBottom - footerHeight,
                     size.width() - m_options.MarginLeft - m_options.MarginRight, footerHeight);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, footer[0]);
    painter.drawText(QRect(0, line.top(), size.width(), footerHeight), Qt::AlignHCenter | Qt::AlignVCenter, footer[1]);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, footer[2]);
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
    paintTitleBlock(painter, size);
    for (const RowSlice& slice : page.rows) {
        paintRow(painter, page, slice);
        const RowAttachment* attachment = m_tables[slice.table].attachment;
        if (attachment && slice.attachment > 0) {
            painter.save();
            const QRect body = bodyRect();
            attachment->paintUnder(painter, slice.row,
                                   QRect(body.left(), slice.top + slice.height, body.width(), slice.attachment));
            painter.restore();
        }
    }
    if (page.supplement >= 0 && page.supplement < m_supplements.size()) {
        painter.save();
        m_supplements[page.supplement]->paintPage(painter, page.supplementPage, bodyRect());
        painter.restore();
    }
    paintFooter(painter, index, size);
    painter.restore();
}

} // namespace printing
