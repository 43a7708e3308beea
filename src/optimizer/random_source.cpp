#include "random_source.h"

namespace optimizer {

int32_t RandomSource::random(int32_t n)
{
    if (n <= 0)
        return 0;
    // Lemire's multiply-and-reject: unbiased and independent of the standard library's distributions,
    // so a seed gives the same draws with every compiler.
    const uint64_t range = uint64_t(n);
    uint64_t product = uint64_t(m_engine()) * range;
    auto low = uint32_t(product);
    if (low < range) {
        const uint32_t threshold = uint32_t(-uint32_t(range)) % uint32_t(range);
        while (low < threshold) {
            product = uint64_t(m_engine()) * range;
            low = uint32_t(product);
        }
    }
    return int32_t(product >> 32);
}

} // namespace optimizer
