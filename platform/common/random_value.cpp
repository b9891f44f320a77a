// Random whole numbers from the C library's generator, so that one srand()
// call at start-up decides the whole run.

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform_common.h"

namespace {

constexpr std::uint64_t RAND_SPAN = static_cast<std::uint64_t>(RAND_MAX) + 1u;

// A draw from 0 to RAND_SPAN^2 - 1, for ranges wider than one rand() covers.
std::uint64_t WideRand() {
    const auto high = static_cast<std::uint64_t>(std::rand());
    const auto low = static_cast<std::uint64_t>(std::rand());
    return high * RAND_SPAN + low;
}

}  // namespace

int RandomValueFromRand(int min, int max) {
    if (min > max) {
        std::swap(min, max);
    }
    // Computed in 64 bits: max - min + 1 overflows int for wide ranges.
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(max) - min) + 1u;
    const std::uint64_t draw =
        span <= RAND_SPAN ? static_cast<std::uint64_t>(std::rand()) : WideRand();
    return static_cast<int>(static_cast<std::int64_t>(min) +
                            static_cast<std::int64_t>(draw % span));
}
