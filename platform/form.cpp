#include "platform/form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/platform.h"

namespace tosbel {

namespace {

// The frame, title bar and menu bar of a window as the classic desktop drew
// them: the outer size minus these is the client area the controls are laid out
// in, whatever the frame of the desktop the program runs on.
constexpr int kFrameTwips = 60;
constexpr int kCaptionTwips = 300;
constexpr int kMenuBarTwips = 300;

}  // namespace

Form::~Form() {
    // A window released while still on screen must not leave the renderer
    // holding a dangling form.
    if (shown_) platform_.formClosed(*this);
}

int Form::clientWidth() const {
    return borderStyle == BorderStyle::None ? width : width - 2 * kFrameTwips;
}

int Form::clientHeight() const {
    int h = height;
    if (borderStyle != BorderStyle::None) h -= 2 * kFrameTwips + kCaptionTwips;
    if (!menuBar.empty()) h -= kMenuBarTwips;
    return h;
}

void Form::show() {
    if (shown_) return;
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
    shown_ = true;
    modal_ = false;
    platform_.showForm(*this, false);
}

void Form::showModal() {
    if (shown_) throw std::logic_error("a shown window cannot become modal: " + name);
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
    shown_ = true;
    modal_ = true;
    platform_.showForm(*this, true);
}

bool Form::close(UnloadMode mode) {
    if (!loaded_) return true;
    if (!Form_QueryUnload(mode)) return false;
    Form_Unload();
    discard();
    return true;
}

void Form::discard() {
    if (!loaded_) return;
    const bool wasShown = shown_;
    loaded_ = shown_ = false;
    focused_ = nullptr;
    if (wasShown) platform_.formClosed(*this);
}

void Form::setFocus(Control& c) {
    if (!c.takesFocus()) return;
    focusMovedTo(&c);
    if (shown_) platform_.focusChanged(*this, c);
}

void Form::focusMovedTo(Control* c) {
    if (c == focused_) return;
    Control* old = focused_;
    focused_ = c;
    if (old && old->onLostFocus) old->onLostFocus();
    if (c && c->onGotFocus) c->onGotFocus();
}

Control* Form::nextInTabOrder(const Control* from) const {
    std::vector<Control*> order;
    for (Control* c : controls_)
        if (c->takesFocus() || c == from) order.push_back(c);
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    if (order.empty()) return nullptr;
    auto at = std::find(order.begin(), order.end(), from);
    for (std::size_t step = 1; step <= order.size(); ++step) {
        const std::size_t start =
            at == order.end() ? order.size() - 1 : static_cast<std::size_t>(at - order.begin());
        Control* c = order[(start + step) % order.size()];
        if (c->takesFocus()) return c;
    }
    return nullptr;
}

void Form::focusNext() {
    if (Control* c = nextInTabOrder(focused_)) setFocus(*c);
}

bool Form::keyPress(Control* c, KeyPress& press) {
    if (!c || !c->onKeyPress) return false;
    c->onKeyPress(press);
    return true;
}

bool Form::pressCancel() {
    if (!loaded_ || !cancelButton || !cancelButton->enabled || !cancelButton->visible) return false;
    cancelButton->click();
    return true;
}

void Form::dragOver(Control* target, Control& source, DragState state) {
    if (!target)
        Form_DragOver(source, state);
    else if (target->onDragOver)
        target->onDragOver(source, state);
}

void Form::drop(Control* target, Control& source) {
    if (!target)
        Form_DragDrop(source);
    else if (target->onDragDrop)
        target->onDragDrop(source);
}

Control* Form::find(std::string_view controlName, int index) const {
    for (Control* c : controls_)
        if (c->name == controlName && c->index == index) return c;
    return nullptr;
}

MenuItem* Form::findMenu(std::string_view menuName, int index) const {
    for (MenuItem* m : menus_)
        if (m->name == menuName && m->index == index) return m;
    for (MenuArray* a : menuArrays_)
        if (a->name() == menuName && index >= 0 && index <= a->upperBound()) return &(*a)[index];
    return nullptr;
}

void Form::declare(Control& c, std::string_view controlName, int index) {
    c.name = controlName;
    c.index = index;
    c.form = this;
    c.tabIndex = static_cast<int>(controls_.size());
    controls_.push_back(&c);
}

void Form::declare(MenuItem& item, std::string_view menuName, std::string_view menuCaption,
                   Shortcut shortcut, int index) {
    item.name = menuName;
    item.caption = menuCaption;
    item.shortcut = shortcut;
    item.index = index;
    menus_.push_back(&item);
}

void Form::declare(MenuArray& array, MenuItem& parent) {
    array.attach(*this, parent);
    menuArrays_.push_back(&array);
}

void Form::declare(Timer& timer, std::string_view timerName, int interval) {
    timer.name = timerName;
    timer.interval = interval;
    timers_.push_back(&timer);
}

}  // namespace tosbel
