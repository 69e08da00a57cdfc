#include "platform/field_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace tosbel {
namespace {

std::vector<std::string> fields(std::string_view text) {
    FieldReader reader(text);
    std::vector<std::string> out;
    while (!reader.atEnd()) out.push_back(reader.next());
    return out;
}

using V = std::vector<std::string>;

TEST(FieldReader, LinesAndCommas) {
    EXPECT_EQ(fields(""), V{});
    EXPECT_EQ(fields("山田\r\n"), V{"山田"});
    EXPECT_EQ(fields("山田\r\n佐藤"), (V{"山田", "佐藤"}));
    EXPECT_EQ(fields("山田,太郎\r\n"), (V{"山田", "太郎"}));
    // Bare LF and bare CR end lines too; CR LF is one line end.
    EXPECT_EQ(fields("a\nb\rc\r\n"), (V{"a", "b", "c"}));
}

TEST(FieldReader, EmptyLinesAreEmptyValues) {
    EXPECT_EQ(fields("\r\n"), V{""});
    EXPECT_EQ(fields("a\r\n\r\nb\r\n\r\n"), (V{"a", "", "b", ""}));
    EXPECT_EQ(fields("a,\r\n"), (V{"a", ""}));
}

TEST(FieldReader, BlanksAreSkippedOnlyBeforeAValue) {
    EXPECT_EQ(fields("  \t山田\r\n"), V{"山田"});
    EXPECT_EQ(fields("山田 \r\n"), V{"山田 "});
    EXPECT_EQ(fields("山 田\r\n"), V{"山 田"});
    // A full-width blank is part of the name.
    EXPECT_EQ(fields("\xE3\x80\x80山田\r\n"), V{"\xE3\x80\x80山田"});
}

TEST(FieldReader, QuotedValues) {
    EXPECT_EQ(fields("\"山田\",\"佐藤\"\r\n"), (V{"山田", "佐藤"}));
    EXPECT_EQ(fields("\"山田, 太郎\"\r\nb\r\n"), (V{"山田, 太郎", "b"}));
    EXPECT_EQ(fields("  \" a \"\r\n"), V{" a "});
    // Whatever stands between the closing quote and the separator is dropped.
    EXPECT_EQ(fields("\"a\"xyz,b\r\n"), (V{"a", "b"}));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ(fields("\"a,b\r\nc"), V{"a,b\r\nc"});
    // A quote inside a value is kept.
    EXPECT_EQ(fields("a\"b\r\n"), V{"a\"b"});
}

}  // namespace
}  // namespace tosbel
