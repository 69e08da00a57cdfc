#include "platform/text_file.h"

#include <algorithm>

#include "platform/cp932.h"

namespace tosbel {

namespace {

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

// UTF-16 after its byte-order mark. A broken pair or a U+0000 means the bytes
// are not the text they claim to be, and nothing is better than half a list.
std::optional<std::string> utf16ToUtf8(std::string_view b, bool bigEndian) {
    if (b.size() % 2 != 0) return std::nullopt;
    const auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(b[i]);
        const auto second = static_cast<unsigned char>(b[i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::string out;
    out.reserve(b.size() * 3 / 2);
    for (std::size_t i = 0; i < b.size(); i += 2) {
        char32_t c = unit(i);
        if (c == 0 || (c >= 0xDC00 && c <= 0xDFFF)) return std::nullopt;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 2 >= b.size()) return std::nullopt;
            const char32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

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

std::optional<std::string> decodeListText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return utf16ToUtf8(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return utf16ToUtf8(bytes.substr(2), true);
    // A web-based school system writes UTF-8 without the mark. Japanese in
    // UTF-8 often reads as code page 932 too, but a list of code page 932
    // names is almost never well-formed UTF-8, so UTF-8 goes first here.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii && bytes.find('\0') == std::string_view::npos && isUtf8(bytes))
        return std::string(bytes);
    return decodeTextFile(bytes);
}

}  // namespace tosbel
