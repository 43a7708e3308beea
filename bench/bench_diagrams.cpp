// One frame of the diagram view while scrolling through a plan of many patterns: the view paints only the
// rows in sight, so a frame should cost the same at the top and at the bottom of a thousand patterns.
#include "diagrams/widgets/diagram_view.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace {

diagrams::DiagramSource manyPatterns(int count)
{
    diagrams::DiagramSource source;
    for (int kind = 0; kind < 40; ++kind) {
        optimizer::strPart part;
        // Appended rather than concatenated: GCC 12 warns falsely about the concatenation at -O2.
        part.label = "P";
        part.label += std::to_string(kind);
        part.length = float(150 + (kind * 7919) % 2750);
        part.lengthText = std::to_string(int(part.length));
        source.parts.push_back(part);
    }
    optimizer::strStock stock;
    stock.label = "S6";
    stock.length = 6000;
    stock.lengthText = "6000";
    source.stocks = {stock};
    source.bladeWidth = 3;
    source.stubLength = 10;
    for (int k = 0; k < count; ++k) {
        optimizer::strPattern pattern;
        pattern.stock = 0;
        pattern.times = 1 + k % 5;
        float free = 5990;
        for (int e = 0; e < 6; ++e) {
            const int kind = (k * 13 + e * 7) % 40;
            const float length = source.parts[size_t(kind)].length + 3;
            const int n = std::min(1 + (k + e) % 3, int(free / length));
            if (n > 0) {
                pattern.addEntry(kind, n);
                free -= n * length;
            }
        }
        pattern.waste = free;
        source.plan.patterns.push_back(pattern);
    }
    return source;
}

void scrollFrame(benchmark::State& state)
{
    diagrams::DiagramView view;
    view.resize(1000, 600);
    view.setDiagrams(diagrams::buildDiagrams(manyPatterns(int(state.range(0))), QStringLiteral("15"), {}));
    QImage frame(view.viewport()->size(), QImage::Format_RGB32);
    QScrollBar* bar = view.verticalScrollBar();
    // From the top, or from the last screenful of rows.
    const int start = state.range(1) == 0 ? 0 : bar->maximum() - 40 * bar->singleStep();
    int value = start;
    for (auto _ : state) {
        value = value + bar->singleStep() > bar->maximum() ? start : value + bar->singleStep();
        bar->setValue(value);
        view.viewport()->render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

} // namespace

BENCHMARK(scrollFrame)->Args({10, 0})->Args({1000, 0})->Args({1000, 1})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
