#pragma once

#include <cstdint>
#include <random>

namespace tosbel {

// Uniform values in [0, 1). The shuffle reseeds it from the clock each time.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    virtual float next() = 0;
};

class ClockSeededRandom final : public RandomSource {
public:
    void seedFromClock() override;
    float next() override;

private:
    std::mt19937 engine_;
};

}  // namespace tosbel
