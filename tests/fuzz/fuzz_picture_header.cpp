// The header checks every picture passes before anything decodes it.

#include "platform/picture_header.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const auto header = readPictureHeader(fuzz::bytesOf(data, size));
    if (!header) return 0;
    // A size the decoder can be asked for: both sides there, none negative.
    FUZZ_REQUIRE(header->width > 0 && header->height > 0);
    if (pictureSizeAllowed(*header))
        FUZZ_REQUIRE(header->width * header->height <= kPicturePixelLimit);
    return 0;
}
