// Result files and the result history.

#include <string>

#include "core/app_state.h"
#include "results/result_file.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const std::string_view bytes = fuzz::bytesOf(data, size);

    // One value per seat at most: the result window indexes seats by them.
    if (const auto seats = parseResultFile(bytes)) {
        FUZZ_REQUIRE(seats->size() <= static_cast<std::size_t>(kSeatCount));
    }

    // The past-log menu has room for so many files, and each entry names one.
    const auto history = parseResultHistory(bytes);
    FUZZ_REQUIRE(history.size() <= kResultHistoryLength);
    for (const std::string& entry : history) FUZZ_REQUIRE(!entry.empty());
    return 0;
}
