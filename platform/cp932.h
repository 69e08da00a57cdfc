#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tosbel {

// Code page 932 (Shift-JIS as Japanese Windows writes it) is the encoding of
// every file the program reads and writes; in memory all text is UTF-8. Each
// function answers nothing when its input is not valid in the encoding it reads,
// or holds a character code page 932 cannot represent: never a lossy guess.
std::optional<std::string> cp932ToUtf8(std::string_view bytes);
std::optional<std::string> utf8ToCp932(std::string_view text);

// How many bytes the text takes in code page 932 (the unit of the name boxes'
// limits).
std::optional<std::size_t> cp932ByteLength(std::string_view text);

}  // namespace tosbel
