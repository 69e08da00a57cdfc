#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tosbel {

enum class FileError {
    None,
    CannotOpen,       // missing or unreadable
    NotText,          // bytes that are not code page 932 text
    TooManyNames,     // more than 100 names: not a roster
    Unrepresentable,  // a name code page 932 cannot hold, or one with a line break
    CannotWrite,      // the folder or disk refused the new file
    ReservedName,     // "-", which marks a seat kept empty and is never a name
};

struct RosterRead {
    FileError error = FileError::None;
    std::vector<std::string> names;  // member 1 first; empty unless error is None
    int member = 0;                  // with ReservedName: the 1-based number of that name
};

struct RosterWrite {
    FileError error = FileError::None;
    int member = 0;  // 1-based number of the name that could not be written
};

// A roster file (*.MEM, and the older *.DAT) is one name per line in code page
// 932, every line ending CR LF, read back value by value.
RosterRead readRoster(const std::string& path);
RosterRead parseRoster(std::string_view bytes);

// The exact bytes of the file, or the first name that cannot be written.
RosterWrite encodeRoster(const std::vector<std::string>& names, std::string& bytes);
RosterWrite writeRoster(const std::string& path, const std::vector<std::string>& names);

}  // namespace tosbel
