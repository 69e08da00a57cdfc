#include "core/seat_grid.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tosbel
