#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tosbel {

// The text of a data file as UTF-8. Code page 932 is the files' own encoding
// and is tried first; bytes that begin with the UTF-8 byte-order mark, or that
// cannot be code page 932 but are well-formed UTF-8 (a class list saved by
// Notepad or a school system), are read as UTF-8. Anything else, and any text
// with a NUL byte, is nothing: a failed read rather than garbage names.
std::optional<std::string> decodeTextFile(std::string_view bytes);

}  // namespace tosbel
