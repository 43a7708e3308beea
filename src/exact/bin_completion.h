#pragma once

#include "heuristics.h"
#include "length_places.h"
#include "master_problem.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace exact {

// A complete search for a layout of all pieces on a given number of bars of each stock kind: bar by bar, the
// longest piece left and a completion of its bar from the rest, fullest first, depth first with backtracking. Only
// completions that no piece left still fits count (a plan can always move such a piece up), bars begun by pieces
// of one length follow one order (so no two orders of the same bars are tried), and the room all bars may leave
// bounds the search. Run to its end it proves that no layout exists; it is the way to plans whose bars must be
// filled to the last unit, where the relaxation is slow and its columns rarely add up.
// The search keeps its own stack, so jobs of any number of pieces fit the engine's thread, and each bar walks only
// the lengths still left, so its steps stay short on jobs of a thousand lengths.
class BinCompletion {
public:
    explicit BinCompletion(const ExactJob& job);

    // Whether the job is of this kind: whole model units.
    bool applies() const { return m_applies; }
    // Bars of one capacity: the fewest bars the pieces' widths fill, and whether so many bars leave less room in all
    // than a thousandth of a bar.
    bool oneCapacity() const { return m_applies && m_classes.size() == 1; }
    int64_t fewestBars() const;
    bool tight(int64_t bars) const;

    enum class Outcome { Found, Impossible, Unfinished };
    // A layout on at most bars[j] bars of each stock kind: Found (with the layout), Impossible when the search ran
    // to its end without one, Unfinished when the steps or the limits ran out first. A `variation` above 0 tries the
    // lengths in a slightly shuffled order, so that a search restarted with more steps does not begin where the last
    // one got stuck.
    Outcome search(const std::vector<int64_t>& bars, const Limits& limits, int64_t steps, Layout& layout,
                   uint32_t variation = 0);
    // The same on at most `bars` bars of the stocks in order (one capacity).
    std::optional<Layout> search(int64_t bars, const Limits& limits, int64_t steps);
    // Whether searchWithin() applies: several capacities, and bars of one capacity cost alike.
    bool appliesWithin() const { return m_applies && m_classes.size() > 1 && m_unitCost > 0; }
    // A layout on any bars in stock that cost at most `cost` together: one search over every choice of bar counts
    // of at most that cost. Impossible proves that no plan costs that little.
    Outcome searchWithin(double cost, const Limits& limits, int64_t steps, Layout& layout, uint32_t variation = 0);

private:
    struct Group {
        int64_t width;
        std::vector<int32_t> items; // items of this width
        int64_t left = 0;
    };
    // Stock kinds of one capacity are one class: their bars are alike to the search.
    struct CapacityClass {
        int64_t capacity;
        std::vector<int32_t> kinds;
        int64_t left = 0;
        // What one bar costs beyond the pieces it holds when full, in widths: the stub's fraction of a width and,
        // with cost optimization, its cost.
        double extra = 0;
    };
    struct Bar {
        size_t capacityClass;
        size_t first;                                 // the group of its longest piece
        std::vector<std::pair<size_t, int64_t>> held; // pieces per group, by group
        int64_t count(size_t group) const;
    };
    // One bar being filled, begun by a piece of group `first`, in the class tried now.
    struct Opening {
        size_t first;
        size_t capacityClass;
        bool classTaken = false;
        std::ptrdiff_t previous; // the last bar begun by the same group, which this one may not exceed, or -1
        double wasteLeft;
        double barWaste = 0; // the waste left once this bar's class takes its extra
        size_t levels;       // the fill levels below this bar's
    };
    // One place of a bar's completion: the length at place `at` of the order, and how many of it the bar holds
    // while the places after it are filled.
    struct Level {
        size_t at = 0;
        int64_t taken = 0;
        bool counted = false; // the count at `at` is set (taken 0: all counts tried)
        bool closed = false;  // the bar was closed here and the bars after it were tried
        int64_t room;
        bool tight; // the bar equals the previous one so far
    };
    int64_t totalWidth() const;
    // Sets up a search: Impossible when the bars can't hold the pieces' widths.
    enum class Start { Go, Impossible };
    Start begin(const std::vector<int64_t>& bars, const Limits& limits, int64_t steps, uint32_t variation);
    // The room the bars may leave, with each bar's extra taken from it as the bar is opened.
    bool fillBars(double wasteLeft);
    // Pieces of a group taken (below 0) or put back.
    void change(size_t group, int64_t by);
    // The next place a level tries.
    size_t nextPlace(const Opening& opening, const Level& level) const;
    // A new bar begun by the longest piece left; false when no piece is left.
    bool open(double wasteLeft);
    // The opening's next class with a bar free, its first level set; false when none is left.
    bool nextClass(Opening& opening);
    void pushLevel(size_t at, int64_t room, bool tight);
    // The bar holds `taken` of the deepest level's length while the places after it are filled, or, with none,
    // the next length is tried.
    void tryCount(const Opening& opening);
    // The deepest level has nothing more to try: back to the one above, with one piece fewer of its length.
    void popLevel(const Opening& opening);
    // One move of the search at its deepest level; true when every piece has its bar.
    bool advance(const Opening& opening);
    bool closes(const Opening& opening, const Level& level) const;
    Bar barOf(const Opening& opening) const;
    bool outOfSteps();
    Layout layoutOf(const std::vector<int64_t>& bars) const;

    const ExactJob& m_job;
    bool m_applies = false;
    std::vector<Group> m_groups;          // longest first
    std::vector<CapacityClass> m_classes; // longest first
    double m_unitCost = 0;                // the cost of one width when bars cost alike within a class, else 0
    bool m_withExtras = false;            // the extras count (a search within a cost)
    double m_slack = 0;                   // rounding allowed in comparisons of room with the waste left
    std::vector<size_t> m_order;          // the groups in the order a bar is completed
    std::vector<size_t> m_placeOf;        // each group's place in that order
    LengthPlaces m_places;
    std::vector<Opening> m_openings; // the bars being filled, outermost first
    std::vector<Level> m_levels;     // the places of their completions
    std::vector<Bar> m_bars;         // the bars filled so far
    const Limits* m_limits = nullptr;
    int64_t m_steps = 0;
    bool m_stopped = false;
};

} // namespace exact
