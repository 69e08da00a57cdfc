#include "platform/cp932.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>
#endif

namespace tosbel {
namespace {

TEST(Cp932, ConvertsJapaneseBothWays) {
    const std::string bytes = "\x8E\x52\x93\x63\x91\xBE\x98\x59";  // 山田太郎
    EXPECT_EQ(cp932ToUtf8(bytes), "山田太郎");
    EXPECT_EQ(utf8ToCp932("山田太郎"), bytes);
    // Half-width katakana are single bytes; ASCII passes through.
    EXPECT_EQ(utf8ToCp932("ﾀﾛｳ"), "\xC0\xDB\xB3");
    EXPECT_EQ(cp932ToUtf8("\xC0\xDB\xB3 Taro"), "ﾀﾛｳ Taro");
    EXPECT_EQ(utf8ToCp932(""), "");
}

TEST(Cp932, WaveDashFromEitherInputMethodBecomesTheOneByteSequence) {
    EXPECT_EQ(utf8ToCp932("\xE3\x80\x9C"), "\x81\x60");  // U+301C
    EXPECT_EQ(utf8ToCp932("\xEF\xBD\x9E"), "\x81\x60");  // U+FF5E
    EXPECT_EQ(cp932ToUtf8("\x81\x60"), "\xEF\xBD\x9E");
}

TEST(Cp932, RefusesWhatItCannotRepresentFaithfully) {
    EXPECT_EQ(utf8ToCp932("佐藤😀"), std::nullopt);
    EXPECT_EQ(utf8ToCp932("\xF0\xA0\xAE\xB7"), std::nullopt);  // 𠮷
    EXPECT_EQ(utf8ToCp932("\xFF\xFE"), std::nullopt);          // not UTF-8
    EXPECT_EQ(cp932ToUtf8("\x81"), std::nullopt);              // lead byte cut off
    EXPECT_EQ(cp932ToUtf8("ab\x80"), std::nullopt);
    EXPECT_EQ(cp932ToUtf8("\x81\x20"), std::nullopt);  // no such trail byte
    // Single bytes Windows would take for characters; iconv has none for them.
    for (const char* lone : {"\x80", "\xA0", "\xFD", "\xFE", "\xFF", "\xFC", "a\xE0"}) {
        EXPECT_EQ(cp932ToUtf8(lone), std::nullopt) << lone;
    }
    EXPECT_EQ(utf8ToCp932("\xC2\x80"), std::nullopt);      // U+0080
    EXPECT_EQ(utf8ToCp932("\xEF\xA3\xB0"), std::nullopt);  // U+F8F0
    EXPECT_EQ(utf8ToCp932("\xC2\xA6"), std::nullopt);      // broken bar: no look-alike
}

TEST(Cp932, TakesTheLookAlikesIconvTakes) {
    EXPECT_EQ(utf8ToCp932("\xC2\xA5"), "\\");            // yen sign
    EXPECT_EQ(utf8ToCp932("\xE2\x80\xBE"), "~");         // overline
    EXPECT_EQ(utf8ToCp932("\xE2\x80\x94"), "\x81\x5C");  // em dash
    // Of two sequences for one kanji, the one under 0xFA is written back.
    EXPECT_EQ(cp932ToUtf8("\xED\x40"), "\xE7\xBA\x8A");  // U+7E8A
    EXPECT_EQ(utf8ToCp932("\xE7\xBA\x8A"), "\xFA\x5C");
}

TEST(Cp932, ByteLengthCountsFullWidthAsTwo) {
    EXPECT_EQ(cp932ByteLength("山田太郎"), 8u);
    EXPECT_EQ(cp932ByteLength("山田a"), 5u);
    EXPECT_EQ(cp932ByteLength("ﾔﾏﾀﾞﾀﾛｳ"), 7u);
    EXPECT_EQ(cp932ByteLength(""), 0u);
    EXPECT_EQ(cp932ByteLength("😀"), std::nullopt);
}

#ifdef _WIN32

// Windows converts with its own tables; these hold it to iconv, sequence by
// sequence and character by character, through the table
// scripts/cp932-table.py takes from iconv on Linux.
constexpr std::uint16_t kRefused = 0xFFFF;

std::string utf8(std::uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

std::string sequence(std::uint16_t seq) {
    if (seq < 0x100) return std::string(1, static_cast<char>(seq));
    return {static_cast<char>(seq >> 8), static_cast<char>(seq & 0xFF)};
}

bool isLead(int b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

struct IconvTable {
    std::uint16_t single[256];
    std::map<int, std::vector<std::uint16_t>> byLead;  // lead byte → 256 trails
    std::map<std::uint16_t, std::uint16_t> encodedAs;  // character → its sequence

    IconvTable() {
        std::ifstream in(TEST_DATA_DIR "/cp932_table.bin", std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
        std::size_t at = 0;
        const auto next = [&] {
            const auto v = static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
            at += 2;
            return v;
        };
        for (auto& cp : single) cp = next();
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(lead)) continue;
            auto& trails = byLead[lead];
            for (int t = 0; t < 256; ++t) trails.push_back(next());
        }
        // The lowest sequence of a character is its encoding, but for kanji
        // repeated in rows 0xED and 0xEE, and for the listed exceptions.
        for (int b = 0; b < 256; ++b) {
            if (single[b] != kRefused) encodedAs.emplace(single[b], static_cast<std::uint16_t>(b));
        }
        const auto lowestFirst = [&](bool repeatedRows) {
            for (const auto& [lead, trails] : byLead) {
                if ((lead == 0xED || lead == 0xEE) != repeatedRows) continue;
                for (int t = 0; t < 256; ++t) {
                    const std::uint16_t cp = trail(lead, t);
                    if (cp != kRefused)
                        encodedAs.emplace(cp, static_cast<std::uint16_t>(lead << 8 | t));
                }
            }
        };
        lowestFirst(false);
        lowestFirst(true);
        while (at < bytes.size()) {
            const std::uint16_t cp = next();
            encodedAs[cp] = next();
        }
    }

    std::uint16_t trail(int lead, int t) const {
        return byLead.at(lead)[static_cast<std::size_t>(t)];
    }

    std::optional<std::string> decoded(int b) const {
        if (single[b] == kRefused) return std::nullopt;
        return utf8(single[b]);
    }
};

TEST(Cp932, WindowsDecodesEverySequenceAsIconvDoes) {
    const IconvTable table;
    ASSERT_EQ(table.byLead.size(), 60u) << "tests/data/cp932_table.bin missing or cut short";
    std::vector<std::string> wrong;
    const auto check = [&](const std::string& bytes, const std::optional<std::string>& expected) {
        if (cp932ToUtf8(bytes) != expected) wrong.push_back(bytes);
    };
    for (int b = 0; b < 256; ++b) check(sequence(static_cast<std::uint16_t>(b)), table.decoded(b));
    for (int lead = 0x80; lead < 256; ++lead) {
        for (int t = 0; t < 256; ++t) {
            const std::string bytes = sequence(static_cast<std::uint16_t>(lead << 8 | t));
            if (isLead(lead)) {
                const std::uint16_t cp = table.trail(lead, t);
                check(bytes, cp == kRefused ? std::nullopt : std::optional(utf8(cp)));
            } else {
                // Not a lead byte: two characters, when both are.
                const auto first = table.decoded(lead), second = table.decoded(t);
                check(bytes, first && second ? std::optional(*first + *second) : std::nullopt);
            }
        }
    }
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " sequences differ, first 0x" << std::hex
                               << (static_cast<unsigned char>(wrong.front()[0]) << 8 |
                                   static_cast<unsigned char>(wrong.front().back()));
}

TEST(Cp932, WindowsEncodesEveryCharacterAsIconvDoes) {
    const IconvTable table;
    ASSERT_FALSE(table.encodedAs.empty());
    std::vector<std::uint32_t> wrong;
    for (std::uint32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const auto it = table.encodedAs.find(static_cast<std::uint16_t>(cp));
        const auto expected = it == table.encodedAs.end() || it->second == kRefused
                                  ? std::nullopt
                                  : std::optional(sequence(it->second));
        if (utf8ToCp932(utf8(cp)) != expected) wrong.push_back(cp);
    }
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " characters differ, first U+" << std::hex
                               << wrong.front();
    // Beyond the Basic Multilingual Plane code page 932 has nothing.
    EXPECT_EQ(utf8ToCp932("\xF0\x9F\x98\x80"), std::nullopt);
}

#endif

}  // namespace
}  // namespace tosbel
