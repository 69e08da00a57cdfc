#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"

namespace tosbel {

// The texts of the result window's seat boxes: box k - 1 is seat position k.
using SeatTexts = std::array<std::string, static_cast<std::size_t>(kSeatCount)>;

// Why a text would not read back from a data file as it was written: the
// reader splits values at commas and line ends, skips blanks before a value and
// takes a value that starts with a double quote as quoted; the file holds only
// what code page 932 holds, and no NUL.
enum class Unsavable { Comma, LeadingQuote, LeadingBlank, LineBreak, Unrepresentable };

struct UnsavableText {
    Unsavable why = Unsavable::Comma;
    std::string character;  // the first offending character
};

// Nothing when the text reads back as written. A character code page 932 holds
// under another code (the wave dash typed as U+301C) is fine: it reads back in
// code page 932's own form, as it does from a roster. With `exact` it is not, as
// a file name must come back as the very same name.
std::optional<UnsavableText> findUnsavable(std::string_view text, bool exact = false);

struct UnsavableSeat {
    int seat = 0;  // seat position 1 … 100
    UnsavableText what;
};

// The first seat, in seat order, whose text a result file would change.
std::optional<UnsavableSeat> findUnsavableSeat(const SeatTexts& seats);

// A result file (*.RLT) is the chart as the teacher left it: one line per seat
// position 1 … 100, a name or nothing, code page 932, CR LF.
// The seat texts in file order, or nothing when the file is missing, is not
// code page 932 text, or holds more than 100 values.
std::optional<std::vector<std::string>> readResultFile(const std::string& path);
std::optional<std::vector<std::string>> parseResultFile(std::string_view bytes);

// Exactly 100 lines, or nothing when findUnsavableSeat() names a seat.
std::optional<std::string> resultFileBytes(const SeatTexts& seats);
// False when a seat is unsavable or the file could not be written; either way
// a file already there is left exactly as it was.
bool writeResultFile(const std::string& path, const SeatTexts& seats);

// The result history lies in the program folder as "Tosbel.ini"; the save
// command has always spelled it "Tosbel.INI". Where file names are
// case-sensitive, whichever spelling is there is the history.
std::string resultHistoryPath(const std::string& programFolder);
// Whether the path names the history itself, in any letter case: a result
// saved there would be overwritten by the history it is recorded in.
bool isResultHistory(const std::string& path, const std::string& programFolder);

// The history never holds more than this many entries, and the past-log menu
// never shows more.
inline constexpr std::size_t kResultHistoryLength = 15;

// The saved result files, oldest first; empty when the history is missing or
// unreadable. A hand-edited history with more entries gives its last (newest)
// ones.
std::vector<std::string> readResultHistory(const std::string& programFolder);
std::vector<std::string> parseResultHistory(std::string_view bytes);

// The save tells a history that is not there yet (it starts one) from one it
// cannot read (a folder, a file too large or not text), which it replaces.
enum class HistoryFile { Read, Missing, Unreadable };
struct HistoryRead {
    HistoryFile file = HistoryFile::Missing;
    std::vector<std::string> entries;  // oldest first
};
// `keep` is how many of the newest entries are kept: the menu's fifteen, or
// every one where nothing may be dropped.
HistoryRead loadResultHistory(const std::string& programFolder,
                              std::size_t keep = kResultHistoryLength);

// Adds the newest entry last and drops the oldest beyond kResultHistoryLength.
// The same path may stand more than once: each save is one entry.
void appendResultHistory(std::vector<std::string>& entries, std::string path);

// One path per line, code page 932, CR LF. An entry the file could not give
// back (a hand-edited one code page 932 cannot hold) is left out, so one bad
// entry never stops every later save from being recorded.
std::string resultHistoryBytes(const std::vector<std::string>& entries);
// Rewrites the history under the spelling already there; false when it could
// not be written, with the old history left exactly as it was.
bool writeResultHistory(const std::string& programFolder, const std::vector<std::string>& entries);

// A save's whole turn at the history: read it, add the path, write it back,
// while no other copy of the program in the folder changes it meanwhile.
struct HistoryUpdate {
    HistoryFile file = HistoryFile::Missing;  // as it was found
    std::vector<std::string> entries;         // as written, oldest first
    bool written = false;
};
HistoryUpdate recordInResultHistory(const std::string& programFolder, const std::string& path);

}  // namespace tosbel
