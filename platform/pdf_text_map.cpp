#include "platform/pdf_text_map.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tosbel {

namespace {

constexpr auto npos = std::string_view::npos;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isDelimiter(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '/' || c == '>' || c == '<' ||
           c == '[' || c == ']' || c == '(' || c == ')';
}

// The name after `key` in a dictionary, without the "ABCDEF+" that marks a
// font as a subset.
std::optional<std::string> nameAfter(std::string_view dict, std::string_view key) {
    const std::size_t at = dict.find(key);
    if (at == npos) return std::nullopt;
    std::size_t end = at + key.size();
    while (end < dict.size() && !isDelimiter(dict[end])) ++end;
    std::string_view name = dict.substr(at + key.size(), end - at - key.size());
    if (name.size() > 7 && name[6] == '+' &&
        std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= 'A' && c <= 'Z'; }))
        name.remove_prefix(7);
    if (name.empty()) return std::nullopt;
    return std::string(name);
}

// The object number of a reference "N 0 R" after `key`.
std::optional<std::size_t> referenceAfter(std::string_view dict, std::string_view key) {
    const std::size_t at = dict.find(key);
    if (at == npos) return std::nullopt;
    std::size_t i = at + key.size(), number = 0;
    const std::size_t digits = i;
    while (i < dict.size() && dict[i] >= '0' && dict[i] <= '9' && i - digits < 9)
        number = number * 10 + static_cast<std::size_t>(dict[i++] - '0');
    if (i == digits || dict.substr(i, 4) != " 0 R") return std::nullopt;
    return number;
}

// The "<XXXX>" codes of one line of a character map, by where their digits start.
std::vector<std::pair<std::size_t, char16_t>> codesOf(std::string_view pdf, std::size_t from,
                                                      std::size_t to) {
    std::vector<std::pair<std::size_t, char16_t>> codes;
    for (std::size_t i = from; i + 5 < to; ++i) {
        if (pdf[i] != '<' || pdf[i + 5] != '>') continue;
        int value = 0;
        for (std::size_t k = 1; k <= 4 && value >= 0; ++k) {
            const int d = hexDigit(pdf[i + k]);
            value = d < 0 ? -1 : value * 16 + d;
        }
        if (value >= 0) codes.emplace_back(i + 1, static_cast<char16_t>(value));
    }
    return codes;
}

void putCode(std::string& pdf, std::size_t at, char16_t code) {
    constexpr char kHex[] = "0123456789ABCDEF";
    for (int k = 3; k >= 0; --k) {
        pdf[at + static_cast<std::size_t>(k)] = kHex[code & 0xF];
        code = static_cast<char16_t>(code >> 4);
    }
}

// One character map, between "begincmap" and "endcmap". One line per run of
// glyphs: "<first> <last> <code>" names the run from one code on, "<first>
// <last> [<code> …]" each glyph's own.
void correctMap(std::string& pdf, std::size_t from, std::size_t to, const CodeFixes& fixes) {
    for (std::size_t line = from; line < to;) {
        const std::size_t lineEnd = pdf.find('\n', line);
        const std::size_t next = lineEnd == npos || lineEnd >= to ? to : lineEnd + 1;
        const auto codes = codesOf(pdf, line, next);
        const bool list = std::find(pdf.begin() + static_cast<std::ptrdiff_t>(line),
                                    pdf.begin() + static_cast<std::ptrdiff_t>(next),
                                    '[') != pdf.begin() + static_cast<std::ptrdiff_t>(next);
        const bool single = codes.size() == 3 && codes[0].second == codes[1].second;
        for (std::size_t i = 2; i < codes.size() && (list || single); ++i) {
            const auto fix = fixes.find(codes[i].second);
            if (fix != fixes.end()) putCode(pdf, codes[i].first, fix->second);
        }
        line = next;
    }
}

// The character map in object `number`, if that object holds one.
void correctObject(std::string& pdf, std::size_t number, const CodeFixes& fixes) {
    const std::string head = std::to_string(number) + " 0 obj";
    std::size_t at = 0;
    for (at = pdf.find(head); at != npos; at = pdf.find(head, at + 1))
        if (at == 0 || pdf[at - 1] == '\n' || pdf[at - 1] == '\r') break;
    if (at == npos) return;
    const std::size_t end = pdf.find("endobj", at);
    const std::size_t start = pdf.find("begincmap\n", at);
    if (end == npos || start == npos || start > end) return;
    const std::size_t stop = pdf.find("endcmap\n", start);
    if (stop == npos || stop > end) return;
    correctMap(pdf, start, stop, fixes);
}

}  // namespace

std::string correctTextMaps(std::string pdf, const FontCodeFixes& fixes) {
    if (fixes.empty()) return pdf;
    constexpr std::string_view kType0 = "/Subtype /Type0";
    for (std::size_t at = pdf.find(kType0); at != npos; at = pdf.find(kType0, at + 1)) {
        const std::size_t end = pdf.find(">>", at);
        if (end == npos) break;
        const std::string_view dict(pdf.data() + at, end - at);
        const auto name = nameAfter(dict, "/BaseFont /");
        const auto map = referenceAfter(dict, "/ToUnicode ");
        if (!name || !map) continue;
        if (const auto font = fixes.find(*name); font != fixes.end())
            correctObject(pdf, *map, font->second);
    }
    return pdf;
}

std::string postScriptName(std::string_view table) {
    const auto u16 = [&](std::size_t at) -> std::uint32_t {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(table[at])) << 8 |
               static_cast<unsigned char>(table[at + 1]);
    };
    if (table.size() < 6) return {};
    const std::uint32_t count = u16(2), strings = u16(4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t record = 6 + 12 * static_cast<std::size_t>(i);
        if (record + 12 > table.size()) break;
        const std::uint32_t platform = u16(record), nameId = u16(record + 6);
        const std::size_t length = u16(record + 8), offset = strings + u16(record + 10);
        if (nameId != 6 || offset + length > table.size()) continue;
        // Windows names are UTF-16 big-endian, Macintosh ones single bytes; a
        // PostScript name is plain ASCII either way.
        const bool wide = platform == 0 || platform == 3;
        std::string name;
        for (std::size_t k = wide ? 1 : 0; k < length; k += wide ? 2 : 1) {
            const char c = table[offset + k];
            if (c <= ' ' || c > '~' || (wide && table[offset + k - 1] != '\0')) {
                name.clear();
                break;
            }
            name += c;
        }
        if (!name.empty()) return name;
    }
    return {};
}

bool pdfLooksWhole(std::string_view pdf) {
    while (!pdf.empty() && (pdf.back() == '\n' || pdf.back() == '\r' || pdf.back() == ' '))
        pdf.remove_suffix(1);
    return pdf.starts_with("%PDF-") && pdf.ends_with("%%EOF");
}

}  // namespace tosbel
