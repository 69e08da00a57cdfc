#pragma once

#include "platform/clock.h"

namespace tosbel {

// A clock that shows whatever time the test sets.
class FixedClock final : public Clock {
public:
    LocalTime time;
    std::string am = "午前";
    std::string pm = "午後";

    LocalTime now() override { return time; }
    std::string amDesignator() override { return am; }
    std::string pmDesignator() override { return pm; }
};

}  // namespace tosbel
