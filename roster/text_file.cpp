#include "roster/text_file.h"

#include "platform/cp932.h"

namespace tosbel {

namespace {

// True when the bytes are well-formed UTF-8 with at least one character of
// three or more bytes, as every Japanese letter is in UTF-8. Real code page 932
// text practically never passes: its kana and most kanji start with a byte that
// UTF-8 only allows inside a character.
bool looksLikeUtf8(std::string_view b) {
    bool wide = false;
    for (std::size_t i = 0; i < b.size();) {
        const auto c = static_cast<unsigned char>(b[i]);
        std::size_t len = 1;
        if (c < 0x80) {
            len = 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
        } else {
            return false;
        }
        if (i + len > b.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(b[i + k]) & 0xC0) != 0x80) return false;
        }
        wide = wide || len >= 3;
        i += len;
    }
    return wide;
}

}  // namespace

std::optional<std::string> decodeTextFile(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    if (looksLikeUtf8(bytes)) return std::nullopt;
    return cp932ToUtf8(bytes);
}

}  // namespace tosbel
