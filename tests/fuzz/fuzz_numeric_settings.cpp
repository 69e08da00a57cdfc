// Hand-edited numbers in the settings: the countdown's seconds, window places
// and the ticks of the options.

#include <cmath>

#include "core/settings.h"
#include "shell/countdown_window.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const std::string_view text = fuzz::bytesOf(data, size);

    // The countdown shows one picture a second and has ten of them.
    const int seconds = countdownSeconds(text);
    FUZZ_REQUIRE(seconds >= 0 && seconds <= 10);

    const float twips = positionFromText(text);
    FUZZ_REQUIRE(std::isfinite(twips));
    FUZZ_REQUIRE(positionFromText(positionText(twips)) == twips);

    static_cast<void>(tickedValue(text));
    return 0;
}
