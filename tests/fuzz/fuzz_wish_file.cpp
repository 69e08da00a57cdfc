// Seat wish files: reading any bytes, and writing back what was read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/seat_wishes.h"
#include "platform/cp932.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// A name the file can carry as it is: a comma, quote or line break would
// split or change it, a blank in front would be skipped on reading, and code
// page 932 must hold it exactly.
bool writable(const std::string& name) {
    if (name.empty() || name.front() == ' ' || name.front() == '\t') return false;
    if (name.find_first_of(std::string_view(",\"\r\n\0", 5)) != std::string::npos) return false;
    const auto encoded = tosbel::utf8ToCp932(name);
    if (!encoded) return false;
    const auto held = tosbel::cp932ToUtf8(*encoded);
    return held && *held == name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const WishRead read = parseWishFile(fuzz::bytesOf(data, size));
    if (!read.wishes) {
        FUZZ_REQUIRE(read.line >= 1);
        return 0;
    }
    FUZZ_REQUIRE(read.line == 0);
    const SeatWishes& wishes = *read.wishes;

    // Every name the file holds, in the order written.
    std::vector<std::string> names;
    for (const PupilWish& p : wishes.pupils) names.push_back(p.name);
    for (const PairWish& pair : wishes.pairs) {
        names.push_back(pair.first);
        names.push_back(pair.second);
    }
    for (const std::string& name : wishes.lastChart)
        if (!name.empty()) names.push_back(name);
    if (!wishes.lastSource.empty()) names.push_back(wishes.lastSource);

    // Saved unchanged and opened again, the wishes are the same; only a name
    // the file cannot carry (from a UTF-8 file, say) may refuse the saving.
    const std::optional<std::string> bytes = encodeWishFile(wishes);
    if (!bytes) {
        bool someUnwritable = false;
        for (const std::string& name : names) someUnwritable = someUnwritable || !writable(name);
        FUZZ_REQUIRE(someUnwritable);
        return 0;
    }
    const WishRead reread = parseWishFile(*bytes);
    FUZZ_REQUIRE(reread.wishes.has_value());
    FUZZ_REQUIRE(*reread.wishes == wishes);
    // What the program writes it writes the same way again.
    FUZZ_REQUIRE(encodeWishFile(*reread.wishes) == bytes);
    return 0;
}
