#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace optimizer {

// The part kinds a pattern may use (those with pieces left), in ascending kind order, and the search for
// the first subset of them that fills a bar without waste. Subsets are examined in colexicographic order,
// at most 5001 per subset size; when the lengths are sorted longest first, whole runs of subsets that
// can't reach or would overshoot the bar are counted without being visited, and the last member is found
// by binary search. Both ways give the same subset.
struct Candidates {
    std::vector<int32_t> kind;
    // Filled by measure() for the exact fits only, in units of the fit rule; the random fill needs the kinds alone.
    std::vector<double> length;
    std::vector<double> prefix; // prefix[i] = sum of the first i lengths
    std::vector<int32_t> left;
    bool longestFirst = true;

    void clear() { kind.clear(); }
    void add(int32_t partKind) { kind.push_back(partKind); }
    template <typename Rule, typename Left> void measure(const Rule& rule, const Left& piecesLeft)
    {
        length.resize(kind.size());
        left.resize(kind.size());
        prefix.resize(kind.size() + 1);
        prefix[0] = 0;
        longestFirst = true;
        for (std::size_t i = 0; i < kind.size(); ++i) {
            length[i] = double(rule.part(kind[i]));
            left[i] = piecesLeft[std::size_t(kind[i])];
            prefix[i + 1] = prefix[i] + length[i];
            if (i > 0 && length[i] > length[i - 1])
                longestFirst = false;
        }
    }
    int32_t size() const { return int32_t(kind.size()); }
};

class ExactFit {
public:
    explicit ExactFit(const Candidates& candidates) : m_c(candidates) {}

    // `room` is the bar's usable length and `gaps` the blade widths between the pieces, in units of the fit
    // rule; a subset matches when its pieces and gaps fill the room exactly.
    // k kinds with c pieces each: c * (sum of lengths) + gaps == room.
    bool findEqual(int32_t k, int32_t c, long double room, long double gaps, int32_t* pos, bool quick = true);
    // k kinds, member r with a pieces and the others with b: a * length r + b * (other lengths) + gaps == room.
    bool findMixed(int32_t k, int32_t a, int32_t b, long double room, long double gaps, int32_t* pos, int32_t& r,
                   bool quick = true);

private:
    bool equalMatches(const int32_t* pos) const;
    bool mixedMatches(const int32_t* pos, int32_t r) const;
    template <typename BlockMayMatch, typename LeafFind>
    bool walk(int32_t t, int32_t n, int32_t* pos, BlockMayMatch& mayMatch, LeafFind& leafFind);
    double upperSum(const int32_t* pos, int32_t from) const;
    // Smallest and largest length sum of any subset completed below the members chosen so far.
    void sumRange(const int32_t* pos, int32_t t, int32_t j, double& least, double& most) const;
    int32_t firstAtMost(double value, int32_t last) const;

    const Candidates& m_c;
    int32_t m_k = 0;
    int32_t m_a = 0;
    int32_t m_b = 0;
    long double m_room = 0;
    long double m_gaps = 0;
    int64_t m_examined = 0;
};

} // namespace optimizer
