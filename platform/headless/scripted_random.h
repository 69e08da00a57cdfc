#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/random_source.h"

namespace tosbel {

// Hands out the values a test lists, in order, then starts over; counts the
// reseeds so a test can see the shuffle asked for a fresh seed.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> values) : values_(std::move(values)) {}

    void seedFromClock() override { ++seeds; }
    float next() override {
        if (values_.empty()) return 0.0f;
        const float v = values_[position_ % values_.size()];
        ++position_;
        return v;
    }

    int seeds = 0;

private:
    std::vector<float> values_;
    std::size_t position_ = 0;
};

}  // namespace tosbel
