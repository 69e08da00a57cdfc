#pragma once

#include <array>
#include <string>

namespace tosbel {

// The chart as a table for spreadsheets: UTF-8 with a byte-order mark (so a
// spreadsheet takes it as Japanese), CR LF lines, rows A … down and columns
// 1 … across as in the room, row A nearest the board. A heading row numbers
// the columns and each row starts with its letter; rows and columns past the
// last seat that holds a name are left off. Fields are quoted only where a
// comma, a quote or a blank at an end needs it.
std::string chartTable(const std::array<std::string, 100>& seats);

}  // namespace tosbel
