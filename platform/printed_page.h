#pragma once

#include <functional>
#include <optional>

#include "platform/form.h"

namespace tosbel {

// How one control shows on paper where it differs from the screen.
struct PaperLook {
    bool printed = true;
    std::optional<Rgb> foreColor;
    std::optional<Rgb> backColor;
};

// A page that shows a form's client area at its true size (a twip is 1/1440
// inch) from the top left of the printable area: its visible labels and text
// boxes as vector text, then its status bar when `statusBar` is set. The
// toolbar's band stays blank. The form itself is never changed, so the screen
// never shows what the paper does.
struct PrintedPage {
    const Form* form = nullptr;
    Rgb background{255, 255, 255};
    bool statusBar = true;
    // Empty: every control as on screen.
    std::function<PaperLook(const Control&)> look;

    PaperLook lookOf(const Control& c) const { return look ? look(c) : PaperLook{}; }
};

}  // namespace tosbel
