#pragma once

#include "optimizer/random_source.h"

#include <cstdint>

// Counts the genetic search's random draws: its work, whatever the machine's speed.
class CountedRandom : public optimizer::RandomSource {
public:
    explicit CountedRandom(uint32_t seed = 1) : RandomSource(seed) {}
    int32_t random(int32_t n) override
    {
        ++draws;
        return RandomSource::random(n);
    }
    int64_t draws = 0;
};
