#include "qr_symbol.h"

#include <QPainter>
#include <QRectF>

#include <qrencode.h>

#include <algorithm>
#include <memory>

namespace labels {

std::optional<QrSymbol> qrSymbol(const QByteArray& bytes)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData()), 0,
                          QR_ECLEVEL_M),
        &QRcode_free);
    if (!code || code->width <= 0)
        return std::nullopt;
    QrSymbol symbol;
    symbol.size = code->width;
    symbol.modules.resize(size_t(code->width) * size_t(code->width));
    // The lowest bit of each byte is the module's colour.
    for (size_t index = 0; index < symbol.modules.size(); ++index)
        symbol.modules[index] = (code->data[index] & 1) != 0;
    return symbol;
}

void paintQrSymbol(QPainter& painter, const QrSymbol& symbol, const QRectF& area)
{
    if (symbol.size <= 0)
        return;
    const double module = std::min(area.width(), area.height()) / symbol.size;
    const QPointF corner(area.center().x() - module * symbol.size / 2, area.center().y() - module * symbol.size / 2);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    // A run of dark modules in a row is one rectangle, so that no hairline shows between them.
    for (int y = 0; y < symbol.size; ++y) {
        for (int x = 0; x < symbol.size;) {
            if (!symbol.dark(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < symbol.size && symbol.dark(end, y))
                ++end;
            painter.drawRect(QRectF(corner.x() + x * module, corner.y() + y * module, (end - x) * module, module));
            x = end;
        }
    }
    painter.restore();
}

} // namespace labels
