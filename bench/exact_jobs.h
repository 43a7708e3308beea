#pragma once

#include "bench_jobs.h"

#include "exact/dff_bounds.h"

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
    // Every other job has few bars of the longest kinds, so what is in stock decides the plan.
    const bool scarce = seed % 2 == 0;
    for (int j = 0; j < stockKinds; ++j)
        stocks.push_back(
            stockOf(lengths[j], scarce && j < 2 ? pick(2, 12) : 400, lengths[j] / 1000 * float(pick(90, 110)) / 10));
    ClassJob result;
    result.job = jobFromPieces(drawn, stocks);
    result.settings.bladeWidth = 3;
    result.settings.stubLength = 10;
    result.settings.costOptimization = cost;
    return result;
}

// The hard kind of the classic sets: 160 to 200 pieces of 20 to 800 on bars of 1000, kept only where first fit
// decreasing needs more bars than the dual feasible functions' bound (as the classic sets were picked: the jobs a
// simple method already cuts best are left out).
inline ClassJob hardJob(uint32_t seed)
{
    for (uint32_t draw = 0;; ++draw) {
        std::mt19937 gen(seed * 7717 + draw);
        const int pieces = std::uniform_int_distribution<int>(160, 200)(gen);
        std::vector<int> drawn;
        for (int n = 0; n < pieces; ++n)
            drawn.push_back(std::uniform_int_distribution<int>(20, 800)(gen));
        std::sort(drawn.begin(), drawn.end(), std::greater<>());
        std::vector<int> room;
        for (int piece : drawn) {
            auto bar = std::find_if(room.begin(), room.end(), [&](int r) { return r >= piece; });
            if (bar == room.end())
                room.push_back(1000 - piece);
            else
                *bar -= piece;
        }
        std::map<int64_t, int64_t> counts;
        for (int piece : drawn)
            ++counts[piece];
        std::vector<int64_t> widths;
        std::vector<int64_t> numbers;
        for (const auto& [width, number] : counts) {
            widths.push_back(width);
            numbers.push_back(number);
        }
        if (int64_t(room.size()) > exact::dffBound(widths, numbers, 1000)) {
            ClassJob result;
            result.job = jobFromPieces(std::vector<float>(drawn.begin(), drawn.end()), {stockOf(1000, pieces)});
            return result;
        }
    }
}

// Jobs whose optimum lies one bar above the rounded bound of the relaxation: found by a search over small random
// jobs, each checked by trying every way to share its pieces out over bars (which gives the optimum) against the
// engine's bound.
inline std::vector<ClassJob> oneAboveJobs()
{
    struct Gadget {
        float bar;
        std::vector<float> pieces;
        int64_t optimum;
    };
    const Gadget gadgets[] = {
        {198, {57, 57, 57, 46, 46, 46, 60, 60, 98, 98, 98, 84, 84, 92}, 6},
        {97, {32, 32, 32, 23, 23, 23, 23, 21, 21, 21, 22, 37, 37, 37}, 5},
    };
    std::vector<ClassJob> jobs;
    for (const Gadget& gadget : gadgets) {
        ClassJob job;
        job.job = jobFromPieces(gadget.pieces, {stockOf(gadget.bar, int32_t(gadget.pieces.size()))});
        job.knownBars = gadget.optimum;
        jobs.push_back(job);
    }
    // Larger ones: a job above scaled up, beside single pieces too long to share a bar with any other piece. Every
    // pattern then holds either one single or the small job's pieces alone, so the relaxation and the optimum both
    // grow by the singles and the optimum stays one bar above the rounded bound.
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        const Gadget& gadget = gadgets[seed % 2];
        std::mt19937 gen(seed * 4099);
        const int scale = std::uniform_int_distribution<int>(1, 10)(gen) * 5;
        const float bar = gadget.bar * float(scale);
        const int shortest = int(*std::min_element(gadget.pieces.begin(), gadget.pieces.end())) * scale;
        std::vector<float> pieces;
        for (float piece : gadget.pieces)
            pieces.push_back(piece * float(scale));
        const int singles = std::uniform_int_distribution<int>(20, 200)(gen);
        for (int n = 0; n < singles; ++n)
            pieces.push_back(float(std::uniform_int_distribution<int>(int(bar) - shortest + 1, int(bar))(gen)));
        ClassJob job;
        job.job = jobFromPieces(pieces, {stockOf(bar, int32_t(pieces.size()))});
        job.knownBars = gadget.optimum + singles;
        jobs.push_back(job);
    }
    return jobs;
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
