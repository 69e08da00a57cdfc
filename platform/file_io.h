#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tosbel {

// Paths are UTF-8 text. Both calls report failure to the caller, who owns the
// message the teacher sees.
std::optional<std::string> readFileBytes(const std::string& path);

// Writes the bytes to a new file in the target's folder and moves it over the
// target only once it is complete and on disk, so a failure at any point leaves
// the old file exactly as it was.
bool replaceFile(const std::string& path, std::string_view bytes);

}  // namespace tosbel
