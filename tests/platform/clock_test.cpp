#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tosbel {
namespace {

TEST(DateText, PadsMonthAndDay) {
    EXPECT_EQ(dateText({2004, 3, 7, 9, 0, 0}), "2004/03/07");
    EXPECT_EQ(dateText({2026, 12, 24, 9, 0, 0}), "2026/12/24");
}

TEST(TimeText, TwelveHourClockWithDesignator) {
    const auto at = [](int h, int m) { return timeText({2004, 3, 7, h, m, 0}, "午前", "午後"); };
    EXPECT_EQ(at(0, 5), "午前 12:05");
    EXPECT_EQ(at(9, 30), "午前 09:30");
    EXPECT_EQ(at(12, 0), "午後 12:00");
    EXPECT_EQ(at(13, 7), "午後 01:07");
    EXPECT_EQ(at(23, 59), "午後 11:59");
}

// The status bars speak Japanese on a system set to another language too.
TEST(SystemClock, TheDesignatorsAreJapaneseWhateverTheSystemsLanguage) {
#ifndef _WIN32
    setenv("LC_ALL", "C", 1);
#endif
    SystemClock clock;
    EXPECT_EQ(clock.amDesignator(), "午前");
    EXPECT_EQ(clock.pmDesignator(), "午後");
}

}  // namespace
}  // namespace tosbel
