#pragma once

#include <string>

namespace tosbel {

struct LocalTime {
    int year = 2000;
    int month = 1;  // 1 … 12
    int day = 1;    // 1 … 31
    int hour = 0;   // 0 … 23
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
    // The system's designators for the morning and the afternoon ("午前", "午後"
    // on a Japanese system).
    virtual std::string amDesignator() = 0;
    virtual std::string pmDesignator() = 0;
};

// "2004/03/07"
std::string dateText(const LocalTime& t);
// "午後 01:05": designator, a blank, the hour of the 12-hour clock, minutes.
std::string timeText(const LocalTime& t, const std::string& am, const std::string& pm);

// The machine's clock and the user's locale.
class SystemClock final : public Clock {
public:
    LocalTime now() override;
    std::string amDesignator() override;
    std::string pmDesignator() override;
};

}  // namespace tosbel
