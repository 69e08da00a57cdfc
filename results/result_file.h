#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tosbel {

// A result file (*.RLT) is the chart as the teacher left it: one line per seat
// position 1 … 100, a name or nothing, code page 932, CR LF.
// The seat texts in file order, or nothing when the file is missing, is not
// code page 932 text, or holds more than 100 values.
std::optional<std::vector<std::string>> readResultFile(const std::string& path);
std::optional<std::vector<std::string>> parseResultFile(std::string_view bytes);

// The result history lies in the program folder as "Tosbel.ini"; the save
// command has always spelled it "Tosbel.INI". Where file names are
// case-sensitive, whichever spelling is there is the history.
std::string resultHistoryPath(const std::string& programFolder);

// The history never holds more than this many entries, and the past-log menu
// never shows more.
inline constexpr std::size_t kResultHistoryLength = 15;

// The saved result files, oldest first; empty when the history is missing or
// unreadable. A hand-edited history with more entries gives its last (newest)
// ones.
std::vector<std::string> readResultHistory(const std::string& programFolder);
std::vector<std::string> parseResultHistory(std::string_view bytes);

}  // namespace tosbel
