#include "core/display.h"

namespace tosbel {

namespace {

struct Theme {
    Rgb title;
    Rgb shadow;
    std::int16_t red, green, blue;
};

// Theme "3" asks for 300 where 255 is the most a component can show; the
// gradient caps it.
constexpr Theme kThemes[] = {
    {{0, 128, 128}, {0, 64, 0}, 10, 50, 110},
    {{255, 128, 0}, {128, 0, 0}, 200, 100, 150},
    {{0, 128, 128}, {0, 64, 0}, 50, 80, 130},
    {{192, 192, 0}, {128, 128, 0}, 300, 300, 200},
};

}  // namespace

void applyTheme(AppState& s) {
    if (s.OptMColor == "4") return;  // the picture Maing stands in for the colours
    // A hand-edited value outside "0" … "4" would leave black lettering on a
    // black background; it gets the first theme instead.
    int index = 0;
    if (s.OptMColor.size() == 1 && s.OptMColor[0] >= '0' && s.OptMColor[0] <= '3') {
        index = s.OptMColor[0] - '0';
    }
    const Theme& t = kThemes[index];
    s.TitleColor = t.title;
    s.ShadowColor = t.shadow;
    s.BackRed = t.red;
    s.BackGreen = t.green;
    s.BackBlue = t.blue;
}

void refreshDateTime(AppState& s, Clock& clock) {
    const LocalTime t = clock.now();
    s.TodayText = dateText(t);
    s.NowText = timeText(t, clock.amDesignator(), clock.pmDesignator());
}

}  // namespace tosbel
