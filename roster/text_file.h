#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tosbel {

// The text of a data file as UTF-8, or nothing when the bytes are not code page
// 932 text: invalid sequences, NUL bytes, or a file some editor saved as UTF-8
// (which would otherwise come out as plausible-looking garbage names).
std::optional<std::string> decodeTextFile(std::string_view bytes);

}  // namespace tosbel
