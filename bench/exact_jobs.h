#pragma once

#include "bench_jobs.h"

#include <map>

namespace bench {

// A generated job with its settings and, where the generator knows it, the fewest bars any plan needs.
struct ClassJob {
    Job job;
    optimizer::CutSettings settings;
    int64_t knownBars = -1;
};

// Equal lengths make one kind; lists sorted by descending length as the calculation hands them over.
inline Job jobFromPieces(const std::vector<float>& pieces, const std::vector<optimizer::strStock>& stocks)
{
    std::map<float, int32_t, std::greater<float>> counts;
    for (float piece : pieces)
        ++counts[piece];
    Job job;
    for (const auto& [length, qty] : counts) {
        optimizer::strPart part;
        part.row = int32_t(job.parts.size()) + 2;
        part.length = length;
        part.qty = qty;
        part.label = labelled("L", int(job.parts.size()) + 1);
        part.lengthText = std::to_string(length);
        job.parts.push_back(part);
    }
    job.stocks = stocks;
    std::stable_sort(job.stocks.begin(), job.stocks.end(), [](auto& a, auto& b) { return a.length > b.length; });
    for (size_t j = 0; j < job.stocks.size(); ++j)
        job.stocks[j].row = int32_t(j) + 2;
    return job;
}

inline optimizer::strStock stockOf(float length, int32_t qty, float cost = 0)
{
    optimizer::strStock stock;
    stock.length = length;
    stock.qty = qty;
    stock.cost = cost;
    stock.priority = true;
    stock.label = labelled("S", int(length));
    stock.lengthText = std::to_string(int(length));
    return stock;
}

// Pieces drawn uniformly from [low, high] on one bar length, plenty of bars.
inline ClassJob uniformJob(uint32_t seed, int pieces, int low, int high, float bar)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> length(low, high);
    std::vector<float> drawn;
    for (int n = 0; n < pieces; ++n)
        drawn.push_back(float(length(gen)));
    ClassJob result;
    result.job = jobFromPieces(drawn, {stockOf(bar, pieces)});
    return result;
}

// Triplets that fill a bar of 1000 exactly: the optimum is a third of the pieces.
inline ClassJob tripletJob(uint32_t seed, int triplets)
{
    std::mt19937 gen(seed);
    std::vector<float> drawn;
    for (int t = 0; t < triplets; ++t) {
        const int a = std::uniform_int_distribution<int>(380, 490)(gen);
        const int b = std::uniform_int_distribution<int>(250, (1000 - a) / 2)(gen);
        drawn.insert(drawn.end(), {float(a), float(b), float(1000 - a - b)});
    }
    ClassJob result;
    result.job = jobFromPieces(drawn, {stockOf(1000, triplets * 3)});
    result.knownBars = triplets;
    return result;
}

// Whole bars cut with blade and stub into pieces without any waste, so the number of bars is the optimum.
inline ClassJob zeroWasteJob(uint32_t seed, int bars, float bar, float blade, float stub)
{
    std::mt19937 gen(seed);
    std::vector<float> drawn;
    std::uniform_int_distribution<int> length(300, 2500);
    for (int n = 0; n < bars; ++n) {
        float room = bar - stub;
        for (;;) {
            const float piece = float(length(gen));
            if (piece + blade + 300 > room) {
                drawn.push_back(room);
                break;
            }
            drawn.push_back(piece);
            room -= piece + blade;
        }
    }
    ClassJob result;
    result.job = jobFromPieces(drawn, {stockOf(bar, bars * 2)});
    result.settings.bladeWidth = blade;
    result.settings.stubLength = stub;
    result.knownBars = bars;
    return result;
}

// A workshop: blade 3, stub 10, two to five stock lengths with costs, some kinds in small quantities.
inline ClassJob workshopJob(uint32_t seed, bool cost)
{
    std::mt19937 gen(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    std::vector<float> drawn;
    const int kinds = pick(5, 40);
    for (int k = 0; k < kinds; ++k) {
        const float length = float(pick(200, 3000));
        for (int n = pick(1, 30); n > 0; --n)
            drawn.push_back(length);
    }
    std::vector<optimizer::strStock> stocks;
    const float lengths[] = {12000, 6000, 9000, 7500, 4500};
    const int stockKinds = pick(2, 5);
    for (int j = 0; j < stockKinds; ++j)
        stocks.push_back(stockOf(lengths[j], 400, lengths[j] / 1000 * float(pick(90, 110)) / 10));
    ClassJob result;
    result.job = jobFromPieces(drawn, stocks);
    result.settings.bladeWidth = 3;
    result.settings.stubLength = 10;
    result.settings.costOptimization = cost;
    return result;
}

// Few kinds in large numbers on a long bar.
inline ClassJob fewKindsJob(uint32_t seed)
{
    std::mt19937 gen(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    std::vector<float> drawn;
    const int kinds = pick(5, 15);
    for (int k = 0; k < kinds; ++k) {
        const float length = float(pick(5000, 45000));
        for (int n = pick(10, 100); n > 0; --n)
            drawn.push_back(length);
    }
    ClassJob result;
    result.job = jobFromPieces(drawn, {stockOf(100000, int32_t(drawn.size()))});
    return result;
}

} // namespace bench
