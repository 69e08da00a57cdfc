// What the program writes it reads back: a chart through its result file,
// the past logs through the history.

#include <string>
#include <vector>

#include "results/result_file.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const std::string_view bytes = fuzz::bytesOf(data, size);

    // The input, split at the byte 0x01, gives the seat texts and the paths.
    std::vector<std::string> texts(1);
    for (const char c : bytes) {
        if (c == '\x01')
            texts.emplace_back();
        else
            texts.back() += c;
    }

    SeatTexts seats;
    for (std::size_t k = 0; k < seats.size() && k < texts.size(); ++k) seats[k] = texts[k];
    if (const auto file = resultFileBytes(seats)) {
        const auto read = parseResultFile(*file);
        FUZZ_REQUIRE(read && read->size() == seats.size());
        // A character code page 932 holds under another code comes back in its own form.
        for (std::size_t k = 0; k < seats.size(); ++k)
            if (!findUnsavable(seats[k], true)) FUZZ_REQUIRE((*read)[k] == seats[k]);
    } else {
        FUZZ_REQUIRE(findUnsavableSeat(seats).has_value());
    }

    // Every path the history can hold exactly comes back, in order.
    std::vector<std::string> kept;
    for (const std::string& path : texts)
        if (!path.empty() && !findUnsavable(path, true)) kept.push_back(path);
    std::vector<std::string> newest(
        kept.end() - static_cast<std::ptrdiff_t>(std::min(kept.size(), kResultHistoryLength)),
        kept.end());
    FUZZ_REQUIRE(parseResultHistory(resultHistoryBytes(texts)) == newest);
    return 0;
}
