#pragma once

#include "optimizer/rpcut.h"

#include <memory>
#include <string>
#include <vector>

namespace optimizer::testing {

// A random source that plays back a fixed list of draws (each taken modulo n), for cases whose
// outcome hangs on particular draws; past the end of the list it draws 0.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int32_t> draws) : RandomSource(0), m_draws(std::move(draws)) {}
    int32_t random(int32_t n) override
    {
        if (n <= 0)
            return 0;
        const int32_t value = m_next < m_draws.size() ? m_draws[m_next] : 0;
        ++m_next;
        return value % n;
    }
    size_t used() const { return m_next; }

private:
    std::vector<int32_t> m_draws;
    size_t m_next = 0;
};

struct PartSpec {
    float length;
    int32_t qty;
};
struct StockSpec {
    float length;
    int32_t qty;
    float cost = 0;
    bool priority = true;
};

// An optimizer filled the way the calculation run fills it: lists as given (callers pass them sorted by
// descending length), counts, longest stock and the priority preference.
inline std::unique_ptr<rpCut> makeCut(const std::vector<PartSpec>& parts, const std::vector<StockSpec>& stocks,
                                      const CutSettings& settings, RandomSource& random)
{
    auto cut = std::make_unique<rpCut>(settings, random);
    int32_t priorities = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        strPart part;
        part.row = int32_t(i) + 2;
        part.length = parts[i].length;
        part.qty = parts[i].qty;
        part.label = "P" + std::to_string(i);
        part.lengthText = std::to_string(parts[i].length);
        cut->parts.push_back(part);
    }
    for (size_t j = 0; j < stocks.size(); ++j) {
        strStock stock;
        stock.row = int32_t(j) + 2;
        stock.length = stocks[j].length;
        stock.qty = stocks[j].qty;
        stock.cost = stocks[j].cost;
        stock.priority = stocks[j].priority;
        stock.label = "S" + std::to_string(j);
        cut->stocks.push_back(stock);
        priorities += stock.priority ? 1 : 0;
        cut->maxStockLength = std::max(cut->maxStockLength, stock.length);
    }
    cut->partCount = int32_t(parts.size());
    cut->stockCount = int32_t(stocks.size());
    cut->preferPriority = priorities != cut->stockCount;
    cut->scale = rpCut::scaleFor(cut->maxStockLength);
    return cut;
}

inline strPattern makePattern(int32_t stock, std::vector<std::pair<int32_t, int32_t>> entries, int32_t times = 1,
                              float waste = 0)
{
    strPattern pattern;
    pattern.stock = stock;
    pattern.times = times;
    pattern.waste = waste;
    for (auto [part, count] : entries)
        pattern.addEntry(part, count);
    return pattern;
}

} // namespace optimizer::testing
