#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/seat_wishes.h"
#include "platform/geometry.h"

namespace tosbel {

inline constexpr int kSeatCount = 100;
inline constexpr int kMaxMembers = 100;

// Member and seat arrays are numbered from 1: slots 1 … 100 are used, 0 and 101
// stay empty, so a loop that steps one past the last seat or member reads an
// empty entry instead of running off the array.
inline constexpr int kSlotCount = 102;
using Slots = std::array<std::string, kSlotCount>;

// The text of a seat condition that keeps the seat empty; any other non-empty
// text is the name of the attendee fixed there.
inline constexpr std::string_view kEmptySeatMark = "-";

// The one record every window reads and writes. Rosters, results and options
// are saved by their own files and keys; this record itself never is.
struct AppState {
    // The roster: every member after a roster is read or created, only today's
    // attendees once the roster editor has saved, in shuffled order after a
    // shuffle.
    Slots Members;
    std::int16_t MemberCount = 0;
    std::int16_t RegisteredCount = 0;

    // Per seat number: empty = free seat, "-" = kept empty, else a fixed name.
    Slots SeatConditions;
    Slots SeatResult;
    Slots InitialSeats;

    std::string RosterPath;

    // The seat wishes of the roster in hand, and that roster's file, which
    // the wish file sits beside; empty for a roster not yet saved.
    SeatWishes Wishes;
    std::string WishRosterPath;

    // Work-flow flags carried from one window to the next.
    std::int16_t ModifyFlag = 0;
    std::uint8_t OpenedFromFile = 0;
    std::uint8_t NoMembers = 0;
    std::uint8_t RosterChanged = 0;
    std::uint8_t ResultShown = 0;

    std::string ResultPath;
    std::string RenamePath;

    // Copies the settings windows edit before they commit.
    std::array<std::string, 10> KomaWork;
    std::array<std::string, 10> NoLineWork;
    std::array<std::string, 10> NoRowWork;

    // Set once by start-up.
    std::int16_t XpHeightExtra = 0;

    // What the main window paints with.
    std::string TodayText;
    std::string NowText;
    Rgb TitleColor;
    Rgb ShadowColor;
    std::int16_t BackRed = 0;  // above 255 counts as 255
    std::int16_t BackGreen = 0;
    std::int16_t BackBlue = 0;
    std::uint8_t ResultMenuCount = 0;
    std::uint8_t RecentMenuCount = 0;

    // In-memory copies of the stored options, each named like its key and
    // holding its stored text.
    std::string OptLogo;
    std::string OptDbl;
    std::string OptDbl2;
    std::string OptDbl3;
    std::string OptDbl4;
    std::string OptMColor;
    std::string Maing;
    std::string OptPsbar;
    std::string OptFgm;
    std::string OptCol;
    // The chart printed at the screen's size, and printed in both views.
    std::string PrtScreen;
    std::string PrtBoth;
    std::string OptWait;
    std::string WaitTime;
    std::string OptEdit;
    std::string OptEdit2;
    std::string OptCent;
    std::array<std::string, 10> Koma;
    std::array<std::string, 10> NoLine;
    std::array<std::string, 10> NoRow;
    std::array<std::string, 5> Rireki;
    std::array<std::string, 4> BackDT;

    // Window positions in twips, kept as numbers: they are computed with and
    // stored as the text of a single-precision value.
    float I_Left = 0, I_Top = 0;
    float T_Left = 0, T_Top = 0;
    float C_Left = 0, C_Top = 0;
    float R_Left = 0, R_Top = 0;
};

// The three clearings that opening or creating a roster, the shuffle and a past
// log rely on.
void clearRoster(AppState& s);
void clearConditions(AppState& s);
void clearResult(AppState& s);
void clearInitialSeats(AppState& s);

}  // namespace tosbel
