#pragma once

#include <functional>

namespace tosbel {

class Clock;
class DragSession;
class FormWindow;

// What a form's window needs from the platform that made it. The window calls
// only this; the platform calls the window's own public functions.
class WindowHost {
public:
    // Runs a handler the user's action triggered, then brings every window up
    // to date from its form.
    virtual void handle(const std::function<void()>& handler) = 0;
    virtual Clock& clock() = 0;
    // The drag under way, shared by every window it may cross.
    virtual DragSession& dragSession() = 0;
    // The window became the active one.
    virtual void windowActivated(FormWindow& w) = 0;

protected:
    ~WindowHost() = default;
};

// What the parts of a window (a control's widget, the menus and bars) need
// from the window they sit in.
class PartHost {
public:
    // Runs the handler of a user's action; nothing once the form has closed.
    virtual void run(const std::function<void()>& handler) = 0;
    // Whether a widget's signal is the user's doing: the form is open and the
    // window is not writing the form into its widgets.
    virtual bool listening() const = 0;

protected:
    ~PartHost() = default;
};

}  // namespace tosbel
