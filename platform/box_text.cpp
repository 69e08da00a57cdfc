#include "platform/box_text.h"

#include <algorithm>

#include "platform/cp932.h"

namespace tosbel {

namespace {

// The length of one UTF-8 character from its lead byte.
std::size_t utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    return 2;
}

}  // namespace

std::string fitToByteLimit(std::string_view text, int byteLimit) {
    std::string out;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n =
            std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
        const std::string_view ch = text.substr(i, n);
        i += n;
        const auto len = cp932ByteLength(ch);
        if (!len) continue;
        if (byteLimit > 0 && bytes + *len > static_cast<std::size_t>(byteLimit)) break;
        bytes += *len;
        out += ch;
    }
    return out;
}

FittedEdit fitInsertion(std::string_view head, std::string_view inserted, std::string_view tail,
                        int byteLimit) {
    if (byteLimit <= 0)
        return {std::string(head) + std::string(inserted) + std::string(tail),
                utf8Count(head) + utf8Count(inserted)};
    const auto kept = cp932ByteLength(std::string(head) + std::string(tail));
    if (!kept || *kept > static_cast<std::size_t>(byteLimit)) {
        std::string whole = fitToByteLimit(
            std::string(head) + std::string(inserted) + std::string(tail), byteLimit);
        const std::size_t caret = utf8Count(whole);
        return {std::move(whole), caret};
    }
    const int room = byteLimit - static_cast<int>(*kept);
    // fitToByteLimit() reads a limit of 0 as none.
    const std::string fitted = room > 0 ? fitToByteLimit(inserted, room) : std::string();
    return {std::string(head) + fitted + std::string(tail), utf8Count(head) + utf8Count(fitted)};
}

std::size_t utf8Count(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::size_t utf8Offset(std::string_view text, std::size_t chars) {
    std::size_t i = 0;
    for (; i < text.size() && chars > 0; --chars)
        i += std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
    return i;
}

}  // namespace tosbel
