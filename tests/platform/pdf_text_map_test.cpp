#include "platform/pdf_text_map.h"

#include <gtest/gtest.h>

#include <string>

namespace tosbel {
namespace {

// Two fonts as Qt's PDF writer lays them out: each Type0 font names its
// glyph-to-text map by object number, and both maps name the glyph of 山 by
// the radical U+2F2D.
std::string twoFontPdf() {
    const auto map = [](int object, const std::string& runs) {
        return std::to_string(object) +
               " 0 obj\n<< /Length 99 >>\nstream\nbegincmap\n2 beginbfrange\n"
               "<0000> <0000> <0000>\n" +
               runs + "endbfrange\nendcmap\nendstream\nendobj\n";
    };
    const auto font = [](int object, const std::string& name, int toUnicode) {
        return std::to_string(object) + " 0 obj\n<< /Type /Font\n/Subtype /Type0\n/BaseFont /" +
               name + "\n/Encoding /Identity-H\n/DescendantFonts [15 0 R]\n/ToUnicode " +
               std::to_string(toUnicode) + " 0 R>>\nendobj\n";
    };
    return "%PDF-1.4\n" + map(16, "<0001> <0003> [<2F2D> <2003> <0041> ]\n") +
           font(7, "NotoSansCJKjp-Regular", 16) + map(116, "<0005> <0005> <2F2D>\n") +
           font(8, "QTAAAA+NotoSerifCJKjp-Regular", 116) + "trailer\n%%EOF\n";
}

TEST(PdfTextMap, EachFontsMapTakesOnlyItsOwnFixesAndNothingMoves) {
    const std::string pdf = twoFontPdf();
    const FontCodeFixes fixes{{"NotoSansCJKjp-Regular", {{0x2F2D, 0x5C71}, {0x2003, 0x3000}}}};
    const std::string fixed = correctTextMaps(pdf, fixes);
    ASSERT_EQ(fixed.size(), pdf.size());
    EXPECT_NE(fixed.find("[<5C71> <3000> <0041> ]"), std::string::npos);
    // The serif font's map is another object: its radical stays.
    EXPECT_NE(fixed.find("<0005> <0005> <2F2D>"), std::string::npos);

    // Its own fixes reach it through its subset name.
    const std::string both =
        correctTextMaps(pdf, {{"NotoSerifCJKjp-Regular", {{0x2F2D, 0x5C71}}}, *fixes.begin()});
    EXPECT_NE(both.find("<0005> <0005> <5C71>"), std::string::npos);
    // A run of several glyphs names codes counted from its first: untouched.
    const std::string run = "<0002> <0004> <2F2D>";
    std::string ranged = pdf;
    ranged.replace(ranged.find("<0005> <0005> <2F2D>"), run.size(), run);
    EXPECT_NE(correctTextMaps(ranged, {{"NotoSerifCJKjp-Regular", {{0x2F2D, 0x5C71}}}}).find(run),
              std::string::npos);
}

TEST(PdfTextMap, AFileLaidOutOtherwiseIsLeftAsItIs) {
    const FontCodeFixes fixes{{"NotoSansCJKjp-Regular", {{0x2F2D, 0x5C71}}}};
    std::string pdf = twoFontPdf();
    for (const char* breaking : {"/ToUnicode 16 0 R", "16 0 obj", "endcmap", "/BaseFont /"}) {
        std::string broken = pdf;
        broken.replace(broken.find(breaking), 3, "xyz");
        EXPECT_EQ(correctTextMaps(broken, fixes), broken) << breaking;
    }
    EXPECT_EQ(correctTextMaps("", fixes), "");
}

TEST(PdfTextMap, AWholeFileEndsWithItsEndMark) {
    EXPECT_TRUE(pdfLooksWhole(twoFontPdf()));
    EXPECT_TRUE(pdfLooksWhole("%PDF-1.4\n%%EOF"));
    const std::string pdf = twoFontPdf();
    EXPECT_FALSE(pdfLooksWhole(pdf.substr(0, pdf.size() - 3)));
    EXPECT_FALSE(pdfLooksWhole(""));
    EXPECT_FALSE(pdfLooksWhole("%%EOF"));
}

TEST(PdfTextMap, ThePostScriptNameComesFromTheFontsNameTable) {
    // A "name" table: format, count, where the strings start, then records of
    // platform, encoding, language, name number, length and offset.
    const auto u16 = [](unsigned v) {
        return std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
    };
    const std::string wide = std::string("\0I\0P\0A\0G\0o\0t\0h\0i\0c", 18);
    const std::string table = u16(0) + u16(2) + u16(6 + 24) +                            //
                              u16(3) + u16(1) + u16(0x409) + u16(1) + u16(4) + u16(0) +  //
                              u16(3) + u16(1) + u16(0x409) + u16(6) + u16(18) + u16(4) + "abcd" +
                              wide;
    EXPECT_EQ(postScriptName(table), "IPAGothic");
    EXPECT_EQ(postScriptName(table.substr(0, table.size() - 1)), "");
    EXPECT_EQ(postScriptName(""), "");
}

}  // namespace
}  // namespace tosbel
