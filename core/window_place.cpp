#include "core/window_place.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/platform.h"

namespace tosbel {

namespace {

// Far beyond any desktop, and still far from the ends of int once a window's
// size is added.
constexpr float kFarthestTwips = 1.0e8f;

// The strip at a window's top by which the teacher drags it: this much of it
// must lie on some screen for the window to be reachable.
constexpr int kTitleHeight = 360;
constexpr int kTitleGrip = 1440;

std::optional<int> toTwips(float stored) {
    if (!std::isfinite(stored) || std::fabs(stored) > kFarthestTwips) return std::nullopt;
    return static_cast<int>(stored);
}

}  // namespace

bool titleOnAScreen(int top, int left, int width, const std::vector<ScreenArea>& screens) {
    const float grip = static_cast<float>(std::min(width, kTitleGrip));
    const float l = static_cast<float>(left);
    const float t = static_cast<float>(top);
    return std::any_of(screens.begin(), screens.end(), [&](const ScreenArea& s) {
        const float shared =
            std::min(l + static_cast<float>(width), s.left + s.width) - std::max(l, s.left);
        return t >= s.top && t + static_cast<float>(kTitleHeight) <= s.top + s.height &&
               shared >= grip;
    });
}

namespace {

struct Place {
    int top = 0, left = 0;
};

Place centred(const Form& f, ScreenTwips screen) {
    return {static_cast<int>((screen.height - static_cast<float>(f.height)) / 2),
            static_cast<int>((screen.width - static_cast<float>(f.width)) / 2)};
}

// The remembered place, when the window can be reached there.
std::optional<Place> reachablePlace(Form& f, const AppState& s, const WindowPlace& p) {
    const auto top = toTwips(s.*p.top);
    const auto left = toTwips(s.*p.left);
    if (!top || !left || !titleOnAScreen(*top, *left, f.width, f.platform().screens()))
        return std::nullopt;
    return Place{*top, *left};
}

}  // namespace

void centreWindow(Form& f, ScreenTwips screen) {
    const Place c = centred(f, screen);
    f.top = c.top;
    f.left = c.left;
}

void centreDialog(Form& f, int clientWidth, int clientHeight) {
    // The frame decides how much of the outer size the client area gets.
    f.borderStyle = BorderStyle::FixedDialog;
    f.minButton = false;
    f.width = clientWidth;
    f.height = clientHeight;
    f.width += clientWidth - f.clientWidth();
    f.height += clientHeight - f.clientHeight();
    centreWindow(f, f.platform().screen());
}

void placeWindow(Form& f, const AppState& s, const WindowPlace& p) {
    const auto stored = s.OptCent == "1" ? std::nullopt : reachablePlace(f, s, p);
    if (!stored) {
        centreWindow(f, f.platform().screen());
        return;
    }
    f.top = stored->top;
    f.left = stored->left;
}

void saveWindowPlace(Form& f, AppState& s, const WindowPlace& p, PlaceKept kept) {
    // A window centred because its remembered place was out of reach, and not
    // moved since, keeps that place stored: the screen it was on may return.
    if (!reachablePlace(f, s, p)) {
        const Place c = centred(f, f.platform().screen());
        if (f.top == c.top && f.left == c.left) return;
    }
    const auto top = static_cast<float>(f.top);
    const auto left = static_cast<float>(f.left);
    if (kept == PlaceKept::InMemoryToo) {
        s.*p.top = top;
        s.*p.left = left;
    }
    SettingsStore& store = f.platform().settings();
    store.save(section::Position, p.topKey, positionText(top));
    store.save(section::Position, p.leftKey, positionText(left));
}

}  // namespace tosbel
