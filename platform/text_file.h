#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tosbel {

// The byte-order mark a UTF-8 file may start with. Spreadsheets need it to
// take a CSV file as UTF-8 rather than the system's code page.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A character as UTF-8, after what `out` holds.
void appendUtf8(std::string& out, char32_t c);

// The text of a data file as UTF-8. Code page 932 is the files' own encoding
// and is tried first; bytes that begin with the UTF-8 byte-order mark, or that
// cannot be code page 932 but are well-formed UTF-8 (a class list saved by
// Notepad or a school system), are read as UTF-8. Anything else, and any text
// with a NUL byte, is nothing: a failed read rather than garbage names.
std::optional<std::string> decodeTextFile(std::string_view bytes);

// The text of a class list from another program: UTF-16 (little- or
// big-endian) when it starts with its byte-order mark, as Excel's "Unicode
// text" and Notepad write it; well-formed UTF-8 with characters beyond ASCII
// as UTF-8, mark or no mark; otherwise as decodeTextFile(). UTF-16 with an odd
// byte count, an unpaired surrogate or a U+0000 is nothing.
std::optional<std::string> decodeListText(std::string_view bytes);

}  // namespace tosbel
