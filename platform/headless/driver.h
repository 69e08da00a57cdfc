#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/form.h"

namespace tosbel {

class HeadlessPlatform;

// What the window would not let the teacher do: act on a control, menu item or
// toolbar button that is disabled or hidden, or on a window that is not shown.
class RefusedAction : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Acts on a form as the teacher would, through the same events the Qt window
// sends, finding what to act on by its object name: "Text1_3" (element 3 of
// Text1), "mnuFileOpen", "mnuFileArray_2", "Toolbar1_8" (button 8).
class Driver {
public:
    Driver(HeadlessPlatform& platform, Form& form) : platform_(platform), form_(form) {}

    // A press and release: the press focuses what takes the focus.
    void click(std::string_view name);
    // An empty name is the window's own background; "Toolbar1" and
    // "StatusBar1" are the bars.
    void dblClick(std::string_view name);
    // A check box turned over or an option button turned on.
    void tick(std::string_view name);
    // The box takes the focus, then each character is a key press: handlers
    // may change or swallow it; Enter never types; what is typed goes in at
    // the caret as far as the box's byte limit allows.
    void type(std::string_view name, std::string_view text);
    // A key pressed where the focus is (the window itself when no control
    // has it).
    void key(char32_t key);
    void menu(std::string_view name);
    // The pointer moved over a control, or over the window's background (an
    // empty name), as a teacher's mouse passes by.
    void hover(std::string_view name);
    void toolbar(std::string_view name);
    // A press on `from` whose handler starts a drag, then the drag over `to`
    // and the drop there; an empty `to` is the window's own background.
    void drag(std::string_view from, std::string_view to);

    // Found by object name; throws when there is no such thing.
    Control& control(std::string_view name) const;
    MenuItem& menuItem(std::string_view name) const;

private:
    Control& usable(std::string_view name) const;
    void insertTyped(Control& box, char32_t key);

    HeadlessPlatform& platform_;
    Form& form_;
};

}  // namespace tosbel
