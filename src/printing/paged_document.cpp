#include "paged_document.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace printing {

QImage PagedDocument::pageImage(int index, QSize size) const
{
    if (size.isEmpty())
        size = pageSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, index, image.size());
    return image;
}

bool PagedDocument::printAll(QPagedPaintDevice& device, QPainter& painter) const
{
    for (int index = 0; index < pageCount(); ++index) {
        if (index > 0 && !device.newPage())
            return false;
        paintPage(painter, index, QSizeF(device.width(), device.height()));
    }
    return true;
}

} // namespace printing
