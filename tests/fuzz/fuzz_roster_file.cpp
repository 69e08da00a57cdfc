// Roster files: reading, and writing back what was read.

#include <algorithm>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "platform/cp932.h"
#include "roster/roster_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// A name the file format can carry as it is: a comma or line break would split
// it, and a leading quote or blank would be read differently.
bool plainName(const std::string& name) {
    return name.find_first_of(",\r\n") == std::string::npos &&
           (name.empty() || (name.front() != '"' && name.front() != ' ' && name.front() != '\t'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const RosterRead read = parseRoster(fuzz::bytesOf(data, size));
    if (read.error != FileError::None) {
        FUZZ_REQUIRE(read.names.empty());
        return 0;
    }
    FUZZ_REQUIRE(read.names.size() <= static_cast<std::size_t>(kMaxMembers));

    // Saving the roster unchanged and opening it again gives the same class,
    // each name as code page 932 holds it (a UTF-8 file's 〜 comes back as ～).
    // A name it cannot hold at all is refused on saving, which is the
    // editor's business, not a fault.
    if (!std::all_of(read.names.begin(), read.names.end(), plainName)) return 0;
    std::string bytes;
    if (encodeRoster(read.names, bytes).error != FileError::None) return 0;
    std::vector<std::string> saved;
    for (const std::string& name : read.names) {
        const auto encoded = utf8ToCp932(name);
        FUZZ_REQUIRE(encoded.has_value());
        const auto held = cp932ToUtf8(*encoded);
        FUZZ_REQUIRE(held.has_value());
        saved.push_back(*held);
    }
    const RosterRead reread = parseRoster(bytes);
    FUZZ_REQUIRE(reread.error == FileError::None);
    FUZZ_REQUIRE(reread.names == saved);
    return 0;
}
