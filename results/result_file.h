#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tosbel {

// A result file (*.RLT) is the chart as the teacher left it: one line per seat
// position 1 … 100, a name or nothing, code page 932, CR LF.
// The seat texts in file order, or nothing when the file is missing, is not
// code page 932 text, or holds more than 100 values.
std::optional<std::vector<std::string>> readResultFile(const std::string& path);

// The result history lies in the program folder as "Tosbel.ini"; the save
// command has always spelled it "Tosbel.INI". Where file names are
// case-sensitive, whichever spelling is there is the history.
std::string resultHistoryPath(const std::string& programFolder);

// The saved result files, oldest first; empty when the history is missing or
// unreadable.
std::vector<std::string> readResultHistory(const std::string& programFolder);

}  // namespace tosbel
