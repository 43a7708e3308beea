#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace exact {

// The lengths of pieces left, each at its place in the order a bar is completed: which place from some place on
// holds the first piece that fits a room, and how much width is left from a place on. Both take a few steps on jobs
// of a thousand lengths, where walking the places would take a thousand.
class LengthPlaces {
public:
    // Each place's width, its pieces left all zero.
    void reset(const std::vector<int64_t>& widths);
    // The pieces left at a place, from `before` to `after`.
    void change(size_t place, int64_t before, int64_t after);
    // The widths of the pieces left from a place on.
    int64_t widthsFrom(size_t place) const;
    // The first place from `place` on with a piece left no wider than `room`, or the number of places.
    size_t fitting(size_t place, int64_t room) const;
    // The width of the narrowest piece left, or the largest number when none is left.
    int64_t narrowest() const { return m_narrowest[1]; }

private:
    std::vector<int64_t> m_widths;
    size_t m_leaves = 0;
    std::vector<int64_t> m_narrowest; // a tree of the least width left over spans of places
    std::vector<int64_t> m_before;    // the widths left before each place, as a Fenwick tree
    int64_t m_total = 0;
};

} // namespace exact
