#pragma once

#include <array>
#include <string>

namespace tosbel {

// A screen of the desktop as the teacher knows it: its size in the screen's
// own pixels ("1920×1080").
struct ScreenSize {
    int width = 0;
    int height = 0;
    bool operator==(const ScreenSize&) const = default;
};

// A seating chart shown large on a classroom's screen or projector, as the
// pupils see it: seat k is row k / 10 (row A nearest the board), column
// k % 10 + 1; an empty text is an empty seat.
struct ClassroomChart {
    std::array<std::string, 100> seats;
    std::string fontName;  // the chart's font, "ＭＳ Ｐゴシック" or "ＭＳ Ｐ明朝"
    int screen = 0;        // which of Platform::screenSizes()
    bool operator==(const ClassroomChart&) const = default;
};

}  // namespace tosbel
