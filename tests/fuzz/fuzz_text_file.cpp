// Decoding a data file, and code page 932 both ways.

#include <iconv.h>

#include <string>

#include "platform/cp932.h"
#include "platform/text_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Well-formed UTF-8 by glibc's own decoder, a judge independent of the
// program's.
bool wellFormedUtf8(std::string_view text) {
    static const iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) __builtin_trap();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(text.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(text.data());
    std::size_t srcLeft = text.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    return iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1) &&
           srcLeft == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const std::string_view bytes = fuzz::bytesOf(data, size);

    // Whatever a file holds, what the program takes from it is text it can
    // show and compare: well-formed UTF-8 without NUL.
    if (const auto text = decodeTextFile(bytes)) {
        FUZZ_REQUIRE(wellFormedUtf8(*text));
        FUZZ_REQUIRE(text->find('\0') == std::string::npos);
    }

    // Every name read from a file can be saved again, and saving keeps it.
    if (const auto text = cp932ToUtf8(bytes)) {
        const auto saved = utf8ToCp932(*text);
        FUZZ_REQUIRE(saved.has_value());
        FUZZ_REQUIRE(cp932ToUtf8(*saved) == text);
    }

    // The same input as typed text: what the program writes it reads back, and
    // a second save writes the same bytes.
    if (const auto saved = utf8ToCp932(bytes)) {
        const auto reread = cp932ToUtf8(*saved);
        FUZZ_REQUIRE(reread.has_value());
        FUZZ_REQUIRE(utf8ToCp932(*reread) == saved);
    }
    return 0;
}
