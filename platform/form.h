#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/box_text.h"
#include "platform/controls.h"
#include "platform/geometry.h"
#include "platform/menus.h"

namespace tosbel {

class Platform;

// A window is a form: controls declared as plain data, plus handlers bound to
// their events. The renderer (Qt, or the headless one in tests) builds the
// window from the declarations and sends the user's actions to the handlers;
// no window has windowing code of its own. Positions and sizes are twips.

// Why a window is closing, as its query-unload handler is told.
enum class UnloadMode {
    CloseBox,      // the close box, the system menu or Alt+F4
    Program,       // the program closes the window itself
    SystemEnding,  // the system is shutting down
    TaskManager,
};

enum class BorderStyle { None, FixedSingle, Sizable, FixedDialog };

// Drawing on a window's client area in twips, for its paint handler.
class Canvas {
public:
    virtual ~Canvas() = default;
    // The box with corners (x1, y1) and (x2, y2), both included, as a line
    // drawn "B F" would fill it.
    virtual void fillBox(float x1, float y1, float x2, float y2, Rgb colour) = 0;
};

// Declares a control, control array or menu item under its member's own name,
// so the name is written once: TOSBEL_DECLARE(Text1), or for a menu item
// TOSBEL_DECLARE(mnuFileOpen, "名簿を開く(&O)...", Shortcut::ctrlKey('O')).
#define TOSBEL_DECLARE(member, ...) declare(member, #member __VA_OPT__(, ) __VA_ARGS__)
// Binds a menu item's click to the handler named after it (mnuFileOpen_Click),
// or each element of a menu item array to it with the element's index.
#define TOSBEL_ON_CLICK(member) member.onClick = [this] { member##_Click(); }
#define TOSBEL_ON_CLICK_EACH(member)                   \
    for (std::size_t i_ = 0; i_ < member.size(); ++i_) \
    member[i_].onClick = [this, i_] { member##_Click(static_cast<int>(i_)); }

class Form {
public:
    explicit Form(Platform& platform) : platform_(platform) {}
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string name;  // "TOSBEL"
    std::string caption;
    // The outer size and place of the window, frame and title included.
    int left = 0, top = 0, width = 6000, height = 4500;
    std::optional<Rgb> backColor;
    BorderStyle borderStyle = BorderStyle::FixedSingle;
    bool minButton = true;
    bool maxButton = false;
    bool showInTaskbar = true;  // false: a passing window the task bar does not list
    bool tracksMouse = false;   // pointer moves reach Form_MouseMove
    // The button Escape presses, as in every dialog: its 取消, or its only 了解.
    Control* cancelButton = nullptr;
    std::string icon;  // the name of one of the program's own pictures

    std::vector<MenuItem*> menuBar;
    Toolbar* toolbar = nullptr;
    StatusBar* statusBar = nullptr;

    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    // Bumped whenever a menu array grows, so a renderer knows to rebuild menus.
    int menuRevision() const { return menuRevision_; }

    // The inside of the window under its menu bar, where controls sit and the
    // paint handler draws; the toolbar and status bar lie over it.
    int clientWidth() const;
    int clientHeight() const;

    // Events; the defaults do nothing.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    // Only draws: the renderer also calls it to learn whether the picture changed.
    virtual void Form_Paint(Canvas&) {}
    virtual void Form_DblClick() {}
    virtual void Form_MouseDown(const MouseDown&) {}
    // The pointer moved over the window's own background; only a window that
    // sets `tracksMouse` is told, so other windows cost nothing per move.
    virtual void Form_MouseMove() {}
    // A control's drag is over the window's own background, or dropped there.
    virtual void Form_DragOver(Control& /*source*/, DragState) {}
    virtual void Form_DragDrop(Control& /*source*/) {}
    // Answers false to keep the window open.
    virtual bool Form_QueryUnload(UnloadMode) { return true; }
    virtual void Form_Unload() {}

    // Loads the window (its load event runs once) and shows it. A modal show
    // returns when the window has closed.
    void show();
    void showModal();
    // Asks the window to close for the given reason; false when its
    // query-unload handler kept it open.
    bool close(UnloadMode mode = UnloadMode::Program);
    // Closed by the end of the program: no questions, no handlers.
    void discard();

    bool isLoaded() const { return loaded_; }
    bool isShown() const { return shown_; }
    bool isModal() const { return modal_; }

    Control* focused() const { return focused_; }
    void setFocus(Control& c);
    // Moves the focus on in tab order, as Tab does (Enter in a name box).
    void focusNext();
    // Where the focus lands after `from` in tab order; null when nothing takes it.
    Control* nextInTabOrder(const Control* from) const;
    // The renderer reports that the user moved the focus.
    void focusMovedTo(Control* c);
    // A key typed while `c` has the focus (none: the window itself) goes to
    // the control's handler, which may change the key or swallow it (0).
    // False when no handler saw it. The handler may release the form.
    bool keyPress(Control* c, KeyPress& press);
    // An Escape no handler swallowed presses the cancel button, as in every
    // dialog; false when the window has none the teacher could press.
    bool pressCancel();
    // A control's drag over `target` (none: the window's own background), and
    // its drop there.
    void dragOver(Control* target, Control& source, DragState state);
    void drop(Control* target, Control& source);

    Platform& platform() { return platform_; }
    Control* find(std::string_view controlName, int index = -1) const;
    MenuItem* findMenu(std::string_view menuName, int index = -1) const;

    // A timer of the window, started when it is shown.
    void declare(Timer& timer, std::string_view timerName, int interval);
    // Menu items; public so the pieces many windows share can declare theirs.
    void declare(MenuItem& item, std::string_view menuName, std::string_view menuCaption,
                 Shortcut shortcut = {}, int index = -1);
    template <std::size_t N>
    void declare(std::array<MenuItem, N>& items, std::string_view menuName,
                 const std::array<MenuEntry, N>& entries) {
        for (std::size_t i = 0; i < N; ++i)
            declare(items[i], menuName, entries[i].caption, entries[i].shortcut,
                    static_cast<int>(i));
    }
    // Puts element 0 of a menu array into `parent`'s items at the current end.
    void declare(MenuArray& array, MenuItem& parent);

protected:
    void declare(Control& c, std::string_view controlName, int index = -1);
    template <class C, std::size_t N>
    void declare(std::array<C, N>& array, std::string_view controlName, int firstIndex = 0) {
        for (std::size_t i = 0; i < N; ++i)
            declare(array[i], controlName, firstIndex + static_cast<int>(i));
    }

private:
    friend class MenuArray;

    Platform& platform_;
    std::vector<Control*> controls_;
    std::vector<MenuItem*> menus_;
    std::vector<MenuArray*> menuArrays_;
    std::vector<Timer*> timers_;
    int menuRevision_ = 0;
    Control* focused_ = nullptr;
    bool loaded_ = false;
    bool shown_ = false;
    bool modal_ = false;
};

}  // namespace tosbel
