#pragma once

#include <cstdint>

namespace tosbel {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Lengths on screen and on paper are twips: 1/1440 inch, 15 to a pixel at 96 dpi.
inline constexpr int kTwipsPerInch = 1440;

struct ScreenTwips {
    float width = 0;
    float height = 0;
};

// A place on a form or a page, in twips.
struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipRect&) const = default;
};

// A screen's usable area on the desktop, the primary screen's top left at (0, 0).
struct ScreenArea {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

}  // namespace tosbel
