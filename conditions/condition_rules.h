#pragma once

#include <array>
#include <string>

#include "core/app_state.h"
#include "platform/platform.h"

namespace tosbel {

// What the conditions window shows for seat box k = 0 … 99 (seat number k + 1):
// the name fixed there and whether the seat is kept empty.
struct ConditionSheet {
    std::array<std::string, kSeatCount> names;
    std::array<bool, kSeatCount> empty{};
};

// Fills a blank sheet from SeatConditions. A "-" seat is ticked but stays "-"
// in the table, so a shuffle started while the window is open still keeps it
// empty.
void loadConditions(const AppState& s, ConditionSheet& sheet);

// Checks the sheet and writes it into SeatConditions: the names must be
// attendees and appear once, and the ticked seats must be unnamed and no more
// than 100 − MemberCount. Shows one message for the names and one for the
// empty seats at most, or the confirmation; returns whether it was committed.
// A refused sheet leaves in the table what the checks wrote before they stopped.
bool commitConditions(AppState& s, const ConditionSheet& sheet, Platform& platform);

enum class DiscardOutcome { Close, Stay };

// Closing without committing: asks first when the sheet shows anything, and
// clears every condition once the teacher agrees.
DiscardOutcome discardConditions(AppState& s, const ConditionSheet& sheet, Platform& platform);

// Clears box `index` (0 … 99, the last seat box that had the focus) and its
// condition once the teacher agrees.
void deleteSeatCondition(AppState& s, ConditionSheet& sheet, int index, Platform& platform);

// Clears every box and condition once the teacher agrees; true when cleared, so
// the window also unticks its row and column boxes.
bool initialiseConditions(AppState& s, ConditionSheet& sheet, Platform& platform);

// Ticks every seat box; the table changes only on commit.
void markAllSeatsEmpty(ConditionSheet& sheet);

// "本日の出席者は 35人 , 欠席者は 3人 , 可能な空座席指定数は 65席 以内".
std::string conditionStatusLine(const AppState& s);

}  // namespace tosbel
