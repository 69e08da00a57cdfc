#pragma once

namespace tosbel {

// The help pages a window or command opens by number, as the help files have
// always numbered them; each is "<number>.html" among the help pages.
namespace help_page {
inline constexpr int Roster = 24;
inline constexpr int NewRoster = 26;
inline constexpr int FileCopy = 29;
inline constexpr int FileRename = 30;
inline constexpr int Backup = 31;
inline constexpr int Result = 34;
inline constexpr int Conditions = 36;
inline constexpr int Background = 39;
inline constexpr int SeatWishes = 40;
inline constexpr int ClassList = 41;
inline constexpr int NoPrint = 86;
inline constexpr int Countdown = 92;
inline constexpr int EditingSoftware = 93;
}  // namespace help_page

}  // namespace tosbel
