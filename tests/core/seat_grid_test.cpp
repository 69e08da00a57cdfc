#include "core/seat_grid.h"

#include <gtest/gtest.h>

#include "core/app_state.h"

namespace tosbel {
namespace {

TEST(SeatGrid, NumbersAndLabels) {
    EXPECT_EQ(seatLabel(1), "A 1");
    EXPECT_EQ(seatLabel(10), "A 10");
    EXPECT_EQ(seatLabel(11), "B 1");
    EXPECT_EQ(seatLabel(100), "J 10");
    EXPECT_EQ(seatNumber(0, 1), 1);
    EXPECT_EQ(seatNumber(9, 10), 100);
    for (int n = 1; n <= 100; ++n) {
        ASSERT_EQ(seatNumber(rowIndexOf(n), columnOf(n)), n) << n;
        ASSERT_EQ(rowLetterOf(n), "ABCDEFGHIJ"[rowIndexOf(n)]);
    }
}

TEST(AppStateClearing, EmptiesEverySlotOfItsOwnArrayOnly) {
    AppState s;
    for (int i = 0; i < kSlotCount; ++i) {
        s.Members[i] = s.SeatConditions[i] = s.SeatResult[i] = s.InitialSeats[i] = "x";
    }
    clearRoster(s);
    clearConditions(s);
    clearResult(s);
    for (int i = 0; i < kSlotCount; ++i) {
        EXPECT_TRUE(s.Members[i].empty() && s.SeatConditions[i].empty() && s.SeatResult[i].empty());
        EXPECT_EQ(s.InitialSeats[i], "x");
    }
    clearInitialSeats(s);
    EXPECT_EQ(s.InitialSeats, Slots{});
}

}  // namespace
}  // namespace tosbel
