#include "bar_scale.h"

#include <algorithm>
#include <cmath>

namespace diagrams {

namespace {

constexpr int kStubPixels = 3;

} // namespace

std::vector<PixelSpan> pixelSpans(const BarDiagram& bar, int width)
{
    const size_t count = bar.segments.size();
    std::vector<PixelSpan> spans(count);
    if (count == 0 || width <= 0)
        return spans;
    const int cuts = int(std::count_if(bar.segments.begin(), bar.segments.end(),
                                       [](const Segment& s) { return s.kind == SegmentKind::Cut; }));
    const int cutMinimum = cuts <= width ? 1 : 0;
    // A stub is a few pixels wide even where its length would round to less, so that its hatching shows.
    const int stubMinimum = cuts + kStubPixels <= width ? kStubPixels : 0;
    auto minimum = [&](size_t k) {
        const Segment& segment = bar.segments[k];
        if (segment.kind == SegmentKind::Cut)
            return cutMinimum;
        return segment.kind == SegmentKind::Stub && segment.length > 0 ? stubMinimum : 0;
    };

    // 1 - edges rounded from the scaled positions, the last on the bar's end
    const double scale = bar.barLength > 0 ? width / bar.barLength : 0;
    std::vector<int> edges(count + 1);
    for (size_t k = 0; k < count; ++k)
        edges[k] = int(std::lround(bar.segments[k].start * scale));
    edges[0] = 0;
    edges[count] = width;
    // 2 - forward: no edge before its predecessor plus the segment's minimum
    for (size_t k = 1; k < count; ++k)
        edges[k] = std::clamp(edges[k], edges[k - 1] + minimum(k - 1), width);
    // 3 - backward: the cuts near the end push their neighbours back inside the bar
    for (size_t k = count; k-- > 1;)
        edges[k] = std::min(edges[k], edges[k + 1] - minimum(k));
    for (size_t k = 0; k < count; ++k)
        spans[k] = {edges[k], edges[k + 1] - edges[k]};
    return spans;
}

int scaledBarWidth(double barLength, double longestBar, int fullWidth)
{
    if (fullWidth <= 0)
        return 0;
    if (longestBar <= 0 || barLength >= longestBar)
        return fullWidth;
    return std::clamp(int(std::lround(fullWidth * barLength / longestBar)), 1, fullWidth);
}

int segmentAt(const std::vector<PixelSpan>& spans, int x)
{
    for (size_t k = 0; k < spans.size(); ++k)
        if (x >= spans[k].x && x < spans[k].x + spans[k].width)
            return int(k);
    return -1;
}

QString fittingText(const QStringList& candidates, int width, int padding,
                    const std::function<int(const QString&)>& textWidth)
{
    for (const QString& text : candidates)
        if (!text.isEmpty() && textWidth(text) + 2 * padding <= width)
            return text;
    return {};
}

std::vector<int> pageStarts(const std::vector<int>& heights, int firstRoom, int pageRoom)
{
    std::vector<int> starts;
    if (heights.empty())
        return starts;
    starts.push_back(0);
    int room = firstRoom;
    int used = 0;
    for (size_t k = 0; k < heights.size(); ++k) {
        if (used > 0 && used + heights[k] > room) {
            starts.push_back(int(k));
            room = pageRoom;
            used = 0;
        }
        used += heights[k];
    }
    return starts;
}

} // namespace diagrams
