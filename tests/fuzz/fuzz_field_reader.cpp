// The value-by-value reader every data file shares.

#include <string>

#include "platform/field_reader.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = tosbel::fuzz::bytesOf(data, size);
    tosbel::FieldReader reader(text);
    // Each value takes at least its separator, so there are never more values
    // than bytes plus one: a reader that stops consuming trips this instead of
    // hanging the program on a bad file.
    std::size_t values = 0, valueBytes = 0;
    while (!reader.atEnd()) {
        const std::string value = reader.next();
        ++values;
        valueBytes += value.size();
        FUZZ_REQUIRE(values <= size + 1);
    }
    // Values are pieces of the text, never more of it than there is.
    FUZZ_REQUIRE(valueBytes <= size);
    return 0;
}
