#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tosbel {

// Text as a box of a form holds it: UTF-8 in memory, measured in the code page
// 932 bytes the files and the old byte limits count.

// The text that cuts a typed or filled-in text to a box's byte limit, at a
// character boundary; characters code page 932 cannot hold are dropped.
std::string fitToByteLimit(std::string_view text, int byteLimit);

// An insertion into a byte-limited box between `head` and `tail`: what of
// `inserted` fits in the room they leave, so typing at a full box changes
// nothing and a paste keeps what fits instead of losing the text after the
// caret. When head and tail alone are over the limit, the whole is cut.
struct FittedEdit {
    std::string text;
    std::size_t caret = 0;  // in characters, after what went in
};
FittedEdit fitInsertion(std::string_view head, std::string_view inserted, std::string_view tail,
                        int byteLimit);

// Characters of UTF-8 text, and the byte offset of a character position.
std::size_t utf8Count(std::string_view text);
std::size_t utf8Offset(std::string_view text, std::size_t chars);

}  // namespace tosbel
