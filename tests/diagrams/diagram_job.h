#pragma once

#include "diagrams/bar_geometry.h"

#include <initializer_list>
#include <utility>

// A small plan built by hand: parts A 1200 and B 800 (kinds 0 and 1), one stock S of 6000.
inline optimizer::strPart part(const char* label, float length)
{
    optimizer::strPart part;
    part.label = label;
    part.length = length;
    part.lengthText = std::to_string(int(length));
    return part;
}

inline diagrams::DiagramSource diagramJob(float blade, float stub)
{
    diagrams::DiagramSource source;
    source.parts = {part("A", 1200), part("B", 800), part("C", 300)};
    optimizer::strStock stock;
    stock.label = "S";
    stock.length = 6000;
    stock.lengthText = "6000";
    source.stocks = {stock};
    source.bladeWidth = blade;
    source.stubLength = stub;
    return source;
}

// Adds a pattern of (part kind, count) entries; its waste is what the bar leaves after stub and cuts.
inline void addPattern(diagrams::DiagramSource& source, std::initializer_list<std::pair<int, int>> entries,
                       int times = 1)
{
    optimizer::strPattern pattern;
    pattern.stock = 0;
    pattern.times = times;
    int pieces = 0;
    double used = 0;
    for (auto [kind, count] : entries) {
        pattern.addEntry(kind, count);
        pieces += count;
        used += double(source.parts[size_t(kind)].length) * count;
    }
    pattern.waste = float(6000 - source.stubLength - used - (pieces - 1) * double(source.bladeWidth));
    source.plan.patterns.push_back(pattern);
    source.plan.patternCount = int32_t(source.plan.patterns.size());
}
