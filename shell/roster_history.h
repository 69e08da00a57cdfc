#pragma once

#include <array>
#include <string>

namespace tosbel {

using RosterHistory = std::array<std::string, 5>;

// A roster opened through the file dialog goes first in the history. Where the
// file system ignores letter case, entries are compared and kept upper-cased,
// so one file is never listed twice under two spellings; where case matters,
// an upper-cased path would name a file that does not exist, so paths are
// compared and kept exactly as chosen. An entry naming the same file moves up;
// otherwise the oldest drops out.
void recordOpenedRoster(RosterHistory& history, const std::string& path, bool caseSensitive);

// A recent-roster entry (1 … 5) that was opened moves to the front.
void moveRecentToFront(RosterHistory& history, int entry);

}  // namespace tosbel
