// The search for the standard paint program along a hand-set PATH.

#include <filesystem>
#include <string>

#include "platform/file_io.h"
#include "tests/fuzz/fuzz_check.h"
#include "tools/editing_software.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const std::string found = findPaintProgram(fuzz::bytesOf(data, size));
    // Nothing, or a program file by its full path: never a bare name the
    // system would look up again.
    if (!found.empty()) {
        std::error_code ec;
        FUZZ_REQUIRE(pathOf(found).is_absolute());
        FUZZ_REQUIRE(std::filesystem::is_regular_file(pathOf(found), ec));
    }
    return 0;
}
