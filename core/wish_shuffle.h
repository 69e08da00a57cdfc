#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/seat_wishes.h"
#include "platform/random_source.h"

namespace tosbel {

// How hard the shuffle with wishes tries. The defaults keep a teacher waiting
// well under a second even when no chart exists.
struct WishSearchLimits {
    // Plain random charts drawn and kept if every wish holds, before the
    // search: while the wishes are light this finds a chart quickly, and a
    // chart found this way is exactly as likely as any other.
    int draws = 400;
    // Seats tried by the search, over all its fresh starts, before it gives
    // up.
    long steps = 200000;
    // Random exchanges that keep every wish, made on the chart the search
    // found, so the order it filled seats in does not decide who sits where;
    // so many for each pupil the search seats.
    int mixingSwaps = 50;
};

struct WishChart {
    // Seat n at n − 1, "" for an empty seat; none when no chart exists.
    std::optional<std::array<std::string, 100>> chart;
    // When none exists: the wishes that cannot hold together, in the
    // teacher's words, or the counts that already rule a chart out.
    std::vector<std::string> conflicts;
};

// True when some wish names a pupil present today (Members 1 … MemberCount)
// or applies to the whole class; otherwise the shuffle is the plain one.
bool wishesApply(const AppState& s, const SeatWishes& wishes);

// Seats today's attendees on the same seats the plain shuffle fills (fixed
// pupils on their seats, empty seats empty), honouring every wish that
// applies today.
WishChart seatWithWishes(const AppState& s, const SeatWishes& wishes, RandomSource& random,
                         const WishSearchLimits& limits = {});

// The notice shown when no chart can meet the wishes.
std::string noChartNotice(const std::vector<std::string>& conflicts);

}  // namespace tosbel
