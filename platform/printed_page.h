#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/form.h"
#include "platform/geometry.h"

namespace tosbel {

// How one control shows on paper where it differs from the screen.
struct PaperLook {
    bool printed = true;
    std::optional<Rgb> foreColor;
    std::optional<Rgb> backColor;
};

// How the page uses the paper.
enum class PageFit : std::uint8_t {
    // The form's client area at its true size (a twip is 1/1440 inch) from
    // the top left of the printable area, as charts have always printed: the
    // toolbar's band stays blank, the status bar at the client area's foot.
    TrueSize,
    // The printed controls, kept in proportion, made as large as the
    // printable area takes and centred in it, under the heading; the status
    // bar at the foot of the paper at its true size.
    FillPaper,
};

// A page that shows a form's visible labels and text boxes as vector text,
// then its status bar when `statusBar` is set. The form itself is never
// changed, so the screen never shows what the paper does: a page that shows
// the form otherwise says so through `look` and `place`.
struct PrintedPage {
    const Form* form = nullptr;
    Rgb background{255, 255, 255};
    bool statusBar = true;
    // Empty: every control as on screen.
    std::function<PaperLook(const Control&)> look = {};
    PageFit fit = PageFit::TrueSize;
    // Where a control stands on paper, in the client area's twips, when not
    // where it stands on the form (the chart seen from the other side); none
    // or empty: its own place.
    std::function<std::optional<TwipRect>(const Control&)> place = {};
    // The client area's height on paper when not the form's own (a window
    // grown by a band the page leaves out); 0 for the form's. A true-size
    // page only.
    int clientHeight = 0;
    // A line across the top of a page that fills the paper; empty for none.
    std::string heading = {};

    PaperLook lookOf(const Control& c) const { return look ? look(c) : PaperLook{}; }
    TwipRect placeOf(const Control& c) const;
    int heightOnPaper() const {
        return clientHeight > 0 ? clientHeight : (form ? form->clientHeight() : 0);
    }
};

// The control's place in its form's client area, inside any frame it sits in.
inline TwipRect placeOnForm(const Control& c) {
    TwipRect own{c.left, c.top, c.width, c.height};
    for (const Control* frame = c.container; frame; frame = frame->container) {
        own.left += frame->left;
        own.top += frame->top;
    }
    return own;
}

inline TwipRect PrintedPage::placeOf(const Control& c) const {
    if (place)
        if (const std::optional<TwipRect> there = place(c)) return *there;
    return placeOnForm(c);
}

}  // namespace tosbel
