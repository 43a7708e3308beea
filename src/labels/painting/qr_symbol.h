#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

class QPainter;
class QRectF;

namespace labels {

// A QR code's modules, row by row from the top left, true for dark; error correction level M.
struct QrSymbol {
    int size = 0;
    std::vector<bool> modules;

    bool dark(int x, int y) const { return modules[size_t(y) * size_t(size) + size_t(x)]; }
};

// The symbol of some bytes (a label's text in UTF-8), or nothing when they are too long for any QR code.
std::optional<QrSymbol> qrSymbol(const QByteArray& bytes);

// Draws the symbol's dark modules in black, square and as large as fits the area, centred in it.
void paintQrSymbol(QPainter& painter, const QrSymbol& symbol, const QRectF& area);

} // namespace labels
