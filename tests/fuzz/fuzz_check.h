#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

// A property that must hold for every input. A broken one stops the run like a
// crash, so libFuzzer keeps the input that broke it.
#define FUZZ_REQUIRE(condition)                                                                 \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: does not hold: %s\n", __FILE__, __LINE__, #condition); \
            __builtin_trap();                                                                   \
        }                                                                                       \
    } while (false)

namespace tosbel::fuzz {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tosbel::fuzz
