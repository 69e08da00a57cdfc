#include "core/window_place.h"

namespace tosbel {

void centreWindow(Form& f, ScreenTwips screen) {
    f.top = static_cast<int>((screen.height - static_cast<float>(f.height)) / 2);
    f.left = static_cast<int>((screen.width - static_cast<float>(f.width)) / 2);
}

void placeWindow(Form& f, const AppState& s, const WindowPlace& p, ScreenTwips screen) {
    if (s.OptCent == "1") {
        centreWindow(f, screen);
        return;
    }
    f.top = static_cast<int>(s.*p.top);
    f.left = static_cast<int>(s.*p.left);
}

void saveWindowPlace(const Form& f, AppState& s, SettingsStore& store, const WindowPlace& p) {
    s.*p.top = static_cast<float>(f.top);
    s.*p.left = static_cast<float>(f.left);
    store.save(section::Position, p.topKey, positionText(s.*p.top));
    store.save(section::Position, p.leftKey, positionText(s.*p.left));
}

}  // namespace tosbel
