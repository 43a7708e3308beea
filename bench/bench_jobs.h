#pragma once

#include "optimizer/cut_job.h"
#include "optimizer/rpcut.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace bench {

// A label like "P12"; appended rather than concatenated, which g++ 12 warns about wrongly when inlined.
inline std::string labelled(const char* prefix, int number)
{
    std::string label(prefix);
    label += std::to_string(number);
    return label;
}

// A generated workshop job: part and stock kinds, sorted by descending length as the calculation hands
// them to the optimizer.
struct Job {
    std::vector<optimizer::strPart> parts;
    std::vector<optimizer::strStock> stocks;
};

inline Job makeJob(uint32_t seed, int partKinds, int pieces, int lengthLow, int lengthHigh,
                   const std::vector<float>& stockLengths)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> length(lengthLow, lengthHigh);
    Job job;
    // Distinct lengths per kind; the pieces spread over the kinds as evenly as they go.
    std::vector<int> lengths;
    while (int(lengths.size()) < partKinds) {
        const int value = length(gen);
        if (partKinds > lengthHigh - lengthLow + 1 || std::find(lengths.begin(), lengths.end(), value) == lengths.end())
            lengths.push_back(value);
    }
    double total = 0;
    for (int i = 0; i < partKinds; ++i) {
        optimizer::strPart part;
        part.length = float(lengths[size_t(i)]);
        part.qty = pieces / partKinds + (i < pieces % partKinds ? 1 : 0);
        part.label = labelled("P", i + 1);
        part.lengthText = std::to_string(lengths[size_t(i)]);
        total += double(part.length) * part.qty;
        job.parts.push_back(part);
    }
    for (size_t j = 0; j < stockLengths.size(); ++j) {
        optimizer::strStock stock;
        stock.length = stockLengths[j];
        // Enough bars of every kind to cut the whole job twice over from it alone.
        stock.qty = int32_t(2 * total / stock.length) + 2;
        stock.cost = stock.length / 100;
        stock.priority = true;
        stock.label = labelled("S", int(j) + 1);
        stock.lengthText = std::to_string(int(stock.length));
        job.stocks.push_back(stock);
    }
    auto longer = [](const auto& a, const auto& b) { return a.length > b.length; };
    std::stable_sort(job.parts.begin(), job.parts.end(), longer);
    std::stable_sort(job.stocks.begin(), job.stocks.end(), longer);
    for (size_t i = 0; i < job.parts.size(); ++i)
        job.parts[i].row = int32_t(i) + 2;
    for (size_t j = 0; j < job.stocks.size(); ++j)
        job.stocks[j].row = int32_t(j) + 2;
    return job;
}

// 120 pieces of lengths drawn from 20 to 100, one stock length 150: the pieces are drawn one by one and
// equal lengths make one kind.
inline Job makeSmallPiecesJob(uint32_t seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> length(20, 100);
    std::vector<int> counts(101, 0);
    for (int n = 0; n < 120; ++n)
        ++counts[size_t(length(gen))];
    Job job;
    for (int value = 100; value >= 20; --value) {
        if (counts[size_t(value)] == 0)
            continue;
        optimizer::strPart part;
        part.row = int32_t(job.parts.size()) + 2;
        part.length = float(value);
        part.qty = counts[size_t(value)];
        part.label = labelled("L", value);
        part.lengthText = std::to_string(value);
        job.parts.push_back(part);
    }
    optimizer::strStock stock;
    stock.row = 2;
    stock.length = 150;
    stock.qty = 120;
    stock.priority = true;
    stock.label = "Bar";
    stock.lengthText = "150";
    job.stocks.push_back(stock);
    return job;
}

inline Job jobA()
{
    return makeJob(11, 20, 200, 200, 2000, {6000, 4000});
}
inline Job jobB()
{
    return makeSmallPiecesJob(22);
}
inline Job jobC()
{
    return makeJob(33, 500, 5000, 100, 2500, {12000, 9000, 6000, 5000, 3000});
}
inline Job jobD()
{
    return makeJob(44, 1024, 10000, 50, 2900, {12000, 10000, 8000, 7000, 6000, 5000, 4000, 3000});
}

inline std::unique_ptr<optimizer::rpCut> fillCut(const Job& job, const optimizer::CutSettings& settings,
                                                 optimizer::RandomSource& random)
{
    auto cut = std::make_unique<optimizer::rpCut>(settings, random);
    optimizer::fillCut(*cut, optimizer::makeCutJob(job.parts, job.stocks, settings));
    return cut;
}

} // namespace bench
