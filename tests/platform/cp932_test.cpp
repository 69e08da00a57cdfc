#include "platform/cp932.h"

#include <gtest/gtest.h>

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
}

TEST(Cp932, ByteLengthCountsFullWidthAsTwo) {
    EXPECT_EQ(cp932ByteLength("山田太郎"), 8u);
    EXPECT_EQ(cp932ByteLength("山田a"), 5u);
    EXPECT_EQ(cp932ByteLength("ﾔﾏﾀﾞﾀﾛｳ"), 7u);
    EXPECT_EQ(cp932ByteLength(""), 0u);
    EXPECT_EQ(cp932ByteLength("😀"), std::nullopt);
}

}  // namespace
}  // namespace tosbel
