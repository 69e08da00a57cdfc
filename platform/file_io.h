#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tosbel {

// A roster or a result file of 100 names is a few kilobytes: anything past this
// is not one of the program's files, and is refused before it fills memory.
inline constexpr std::size_t kDataFileLimit = 1024 * 1024;

// Every path the program keeps is UTF-8 text. A narrow string handed straight
// to std::filesystem::path is read in the system's code page on Windows, so
// text crosses into and out of a path only through these two.
std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& p);

// Paths are UTF-8 text. Both calls report failure to the caller, who owns the
// message the teacher sees.
//
// Only an ordinary file of at most `limit` bytes is read. A named pipe or a
// device is refused without waiting on it (one would never end, or never start).
std::optional<std::string> readFileBytes(const std::string& path,
                                         std::size_t limit = kDataFileLimit);

// Writes the bytes to a new file in the target's folder and moves it over the
// target only once it is complete and on disk, so a failure at any point leaves
// the old file exactly as it was. Temporary files that a killed run left in that
// folder are removed on the way.
bool replaceFile(const std::string& path, std::string_view bytes);

}  // namespace tosbel
