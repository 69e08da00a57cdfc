// Putting right a printed PDF's glyph-to-text maps, whatever the printer's
// file holds, and reading a font's name table.

#include <cstring>
#include <string>

#include "platform/pdf_text_map.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const std::string_view bytes = fuzz::bytesOf(data, size);

    // The first byte says how many fixes the next bytes give, the rest is the file.
    FontCodeFixes fixes;
    const std::size_t count = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 8u;
    std::size_t at = bytes.empty() ? 0 : 1;
    for (std::size_t n = 0; n < count && at + 4 <= bytes.size(); ++n, at += 4) {
        const auto code = [&](std::size_t i) {
            return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                         static_cast<unsigned char>(bytes[i + 1]));
        };
        fixes[n % 2 == 0 ? "NotoSansCJKjp-Regular" : "F"][code(at)] = code(at + 2);
    }
    const std::string pdf(bytes.substr(at));
    const std::string fixed = correctTextMaps(pdf, fixes);
    // Nothing moves: only hex digits of codes change, so the file's
    // cross-references stay right.
    FUZZ_REQUIRE(fixed.size() == pdf.size());
    for (std::size_t i = 0; i < pdf.size(); ++i)
        if (fixed[i] != pdf[i]) FUZZ_REQUIRE(std::strchr("0123456789ABCDEFabcdef", pdf[i]));
    static_cast<void>(pdfLooksWhole(pdf));

    for (const char c : postScriptName(bytes)) FUZZ_REQUIRE(c > ' ' && c <= '~');
    return 0;
}
