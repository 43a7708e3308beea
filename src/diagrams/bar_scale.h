#pragma once

#include "bar_geometry.h"

#include <QStringList>
#include <functional>
#include <vector>

namespace diagrams {

// Where one segment of a bar lies across the drawn width, in whole pixels.
struct PixelSpan {
    int x = 0;
    int width = 0;
};

// The segments of a bar laid over `width` pixels, one span each, side by side from 0 with nothing left over.
// Every saw cut is at least a pixel wide and a stub three while the width has room for them; the other
// segments give those pixels up.
std::vector<PixelSpan> pixelSpans(const BarDiagram& bar, int width);

// How wide a bar of this length is drawn when the longest bar of its plan takes `fullWidth` pixels: to
// scale, at least a pixel.
int scaledBarWidth(double barLength, double longestBar, int fullWidth);

// The index of the segment under a pixel, or -1.
int segmentAt(const std::vector<PixelSpan>& spans, int x);

// The text written inside a block `width` pixels wide: the first candidate that fits with `padding` on
// each side, or nothing.
QString fittingText(const QStringList& candidates, int width, int padding,
                    const std::function<int(const QString&)>& textWidth);

// Splits blocks of the given heights over pages without breaking one: the first page has `firstRoom`, every
// further page `pageRoom`. A block taller than a page gets a page of its own. Returns the first block of
// each page.
std::vector<int> pageStarts(const std::vector<int>& heights, int firstRoom, int pageRoom);

} // namespace diagrams
