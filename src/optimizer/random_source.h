#pragma once

#include <cstdint>
#include <random>

namespace optimizer {

// The single pseudo-random source of the optimizer. The program seeds it from the clock; tests seed it
// with a fixed number and get the same plan every time.
class RandomSource {
public:
    explicit RandomSource(uint32_t seed) : m_engine(seed) {}
    virtual ~RandomSource() = default;

    // A uniform integer in [0, n); 0 when n is 0 or below.
    virtual int32_t random(int32_t n);

private:
    std::mt19937 m_engine;
};

} // namespace optimizer
