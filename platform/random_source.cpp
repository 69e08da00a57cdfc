#include "platform/random_source.h"

#include <chrono>

namespace tosbel {

void ClockSeededRandom::seedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto t = static_cast<std::uint64_t>(ticks);
    std::seed_seq seq{static_cast<std::uint32_t>(t), static_cast<std::uint32_t>(t >> 32)};
    engine_.seed(seq);
}

float ClockSeededRandom::next() {
    // 24 random bits scaled by 2^-24: every value is exact in single precision
    // and the largest is just below 1, which generate_canonical does not promise.
    return static_cast<float>(engine_() >> 8) * 0x1p-24f;
}

}  // namespace tosbel
