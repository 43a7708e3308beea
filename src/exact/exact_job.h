#pragma once

#include "optimizer/cut_job.h"
#include "optimizer/records.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace exact {

// One cutting pattern as the exact engine sees it: a stock kind and (item, pieces) entries.
struct Cut {
    int32_t stock = -1;
    std::vector<std::pair<int32_t, int32_t>> entries;

    int64_t pieces() const;
    // Entries in ascending item order, as the engine always keeps them.
    friend bool operator==(const Cut& a, const Cut& b) { return a.stock == b.stock && a.entries == b.entries; }
};

// The job as a cutting-stock model. A bar of stock kind j holds pieces whose widths (length plus one blade)
// add up to at most its capacity (length less stub plus one blade), which is the length equation of a
// pattern. Where the job's fit rule measures in whole units, widths and capacities are whole numbers of the
// largest step that divides every width, so the knapsack works on small integers; otherwise they keep the
// floats' values. Whether pieces fit and what is left of a bar is always the fit rule's answer.
class ExactJob {
public:
    explicit ExactJob(const optimizer::CutJob& job);

    // Items are the part kinds with pieces to cut; item i stands for part kind partKind(i).
    int32_t items() const { return int32_t(m_items.size()); }
    int32_t stocks() const { return int32_t(m_stocks.size()); }
    int32_t partKind(int32_t item) const { return m_items[size_t(item)].kind; }
    int32_t demand(int32_t item) const { return m_items[size_t(item)].demand; }
    int32_t stockQty(int32_t stock) const { return m_stocks[size_t(stock)].qty; }
    bool stockPriority(int32_t stock) const { return m_stocks[size_t(stock)].priority; }

    // Widths and capacities in model units: integers when integral() is true.
    double width(int32_t item) const { return m_items[size_t(item)].width; }
    double capacity(int32_t stock) const { return m_stocks[size_t(stock)].capacity; }
    bool integral() const { return m_integral; }

    // What one bar of the stock kind adds to the objective the search minimizes: its waste weight plus,
    // with cost optimization, its cost term. Summed over the bars of a plan, it differs from the plan's
    // charge by a constant.
    double barCost(int32_t stock) const { return m_stocks[size_t(stock)].barCost; }
    // The sum over all pieces of their width, weighted as barCost weighs capacity: the constant.
    double pieceCredit() const { return m_pieceCredit; }
    // barCost values are whole multiples of this step (0 when they are not).
    double costStep() const { return m_costStep; }
    // True when every bar of every kind counts the same (one stock length, no cost term): bars are the measure.
    bool barsMeasure() const { return m_barsMeasure; }
    bool costOptimization() const { return m_costOptimization; }

    // The stock kinds with bars left (of the given counts per kind) that can hold any piece, in order.
    std::vector<int32_t> cuttableKinds(const std::vector<int64_t>& bars) const;

    // True when the pieces fit one bar of the stock kind by the fit rule.
    bool fits(const Cut& cut) const;
    // Left-over of one bar cut this way, as the pattern records it.
    float waste(const Cut& cut) const;
    // The widths of the cut's pieces in model units.
    double load(const Cut& cut) const;
    // False for numbers the linear programs can't take (the engine then leaves the job to the search).
    bool usable() const;

private:
    struct Item {
        int32_t kind;
        int32_t demand;
        double width;
    };
    struct Stock {
        int32_t qty;
        bool priority;
        double capacity;
        double barCost;
    };
    long double left(const Cut& cut) const;

    const optimizer::FitRule& m_fit;
    std::vector<Item> m_items;
    std::vector<Stock> m_stocks;
    bool m_integral = false;
    double m_pieceCredit = 0;
    double m_costStep = 0;
    bool m_barsMeasure = false;
    bool m_costOptimization = false;
};

} // namespace exact
