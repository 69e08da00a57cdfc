#include "platform/text_file.h"

#include "platform/cp932.h"

namespace tosbel {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Well-formed UTF-8: no stray continuation bytes, no over-long forms, no
// surrogates, nothing past U+10FFFF.
bool isUtf8(std::string_view b) {
    for (std::size_t i = 0; i < b.size();) {
        const auto c = static_cast<unsigned char>(b[i]);
        std::size_t len = 0;
        unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + len > b.size()) return false;
        const auto second = static_cast<unsigned char>(b[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < len; ++k) {
            if ((static_cast<unsigned char>(b[i + k]) & 0xC0) != 0x80) return false;
        }
        i += len;
    }
    return true;
}

}  // namespace

std::optional<std::string> decodeTextFile(std::string_view bytes) {
    // NUL never stands in a text file; it marks UTF-16 or a binary file.
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
        if (isUtf8(bytes)) return std::string(bytes);
        return std::nullopt;
    }
    // The format's own encoding wins: many code page 932 names are also valid
    // UTF-8 byte for byte (莉子 is E4 BB 8E 71), so UTF-8 is only the reading of
    // bytes that cannot be code page 932 at all.
    if (auto text = cp932ToUtf8(bytes)) return text;
    if (isUtf8(bytes)) return std::string(bytes);
    return std::nullopt;
}

}  // namespace tosbel
