#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/app_state.h"
#include "platform/random_source.h"

namespace tosbel {

// The windows the shuffle passes through: the countdown shown before any seat
// is computed (only when OptWait is "1"), and the result window that takes the
// outcome. Either may be left empty. With seat wishes that no chart can meet,
// neither is shown: `noChart` gets the notice that names the wishes in conflict.
struct ShuffleWindows {
    std::function<void()> countdown;
    std::function<void()> showResult;
    std::function<void(const std::string& notice)> noChart;
};

// Seats today's attendees (Members 1 … MemberCount) at random, honouring the
// fixed and empty seats of SeatConditions and the seat wishes that apply
// today; the outcome goes to SeatResult and InitialSeats. Without wishes the
// attendees stay in their drawn order.
void runShuffle(AppState& s, RandomSource& random, const ShuffleWindows& windows);

// The random key of one attendee: a whole number 1 … 999 drawn from r in [0, 1),
// computed in single precision as the chart has always been drawn.
float sortKey(float r);

// Draws a key for every attendee and orders them largest key first by exchange;
// equal keys keep their order. Returns the keys in their final order (slot i
// belongs to Members(i)).
std::array<float, kMaxMembers + 1> orderAttendees(AppState& s, RandomSource& random);

// Walks the seats in order and deals the ordered attendees onto the free ones,
// stepping over attendees who are fixed elsewhere.
void dealSeats(AppState& s);

}  // namespace tosbel
