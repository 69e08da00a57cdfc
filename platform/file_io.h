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
// A file name's extension with its dot, in capitals ("a.mem" gives ".MEM"),
// as Windows compares them; empty for none.
std::string upperExtension(const std::string& path);

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

// Copies a file of any size the same way, whole or not at all, a piece at a
// time. It tells a source that cannot be read (missing, no ordinary file, a
// read error) from a target that cannot be written.
enum class CopyOutcome { Copied, SourceUnreadable, TargetFailed };
CopyOutcome copyFile(const std::string& from, const std::string& to);

// An empty file of our own temporary kind beside `path`, for a writer that
// makes its file itself (the printer's PDF); the caller moves or removes it.
// None when the folder takes no new file.
std::optional<std::string> makeTemporaryBeside(const std::string& path);

// A rename is only as lasting as the folder entry that records it: without
// this, a power cut just after a save or a rename can bring back the old name,
// or no file at all. Every writer here calls it after its move.
void flushFolder(const std::string& folder);

// How often the writers above have flushed a file's bytes and, after moving it
// into place, its folder to the disk, so a test can see that they do.
struct FileSyncCounts {
    unsigned long data = 0;
    unsigned long folders = 0;
};
FileSyncCounts fileSyncCounts();

}  // namespace tosbel
