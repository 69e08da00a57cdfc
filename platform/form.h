#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace tosbel {

class Form;
class Platform;

// A window is a form: controls declared as plain data, plus handlers bound to
// their events. The renderer (Qt, or the headless one in tests) builds the
// window from the declarations and sends the user's actions to the handlers;
// no window has windowing code of its own. Positions and sizes are twips.

enum class ControlKind {
    Label,
    TextBox,
    CheckBox,
    OptionButton,
    CommandButton,
    Frame,
    Image,
    Line,
    ScrollBar,
};

struct FontSpec {
    std::string name = "ＭＳ Ｐゴシック";
    float size = 9;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class Align { Left, Right, Center };

// The character of a key press. A handler sets it to 0 to swallow the key.
inline constexpr char32_t kKeyEnter = 13;
inline constexpr char32_t kKeyBackspace = 8;
inline constexpr char32_t kKeyEscape = 27;
struct KeyPress {
    char32_t key = 0;
};

enum class MouseButton { Left, Right, Middle };
struct MouseDown {
    MouseButton button = MouseButton::Left;
    bool shift = false;
    bool ctrl = false;
    float x = 0;  // twips from the control's top left
    float y = 0;
};

enum class DragState { Enter, Leave, Over };

struct Control {
    explicit Control(ControlKind k) : kind(k) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlKind kind;
    // Set when the form declares the control: the name the window's description
    // gives ("Text1") and the index in its array, -1 for a single control.
    std::string name;
    int index = -1;
    Form* form = nullptr;
    // A frame the control sits in; its position then counts from the frame's
    // top left.
    Control* container = nullptr;

    int left = 0, top = 0, width = 0, height = 0;
    // A line runs from (x1, y1) to (x2, y2) instead.
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    std::string caption;  // label, buttons, check and option boxes, frame
    std::string text;     // text box
    Rgb foreColor{0, 0, 0};
    std::optional<Rgb> backColor;    // none: the system's colour; for a label, see-through
    std::optional<Rgb> borderColor;  // a line's colour; a box with a border: its colour
    bool border = false;             // a label or image drawn with a single border
    int borderWidth = 1;             // a line's width in pixels
    FontSpec font;
    Align alignment = Align::Left;
    std::string toolTip;
    // What a screen reader calls the control where its caption does not say it
    // (a seat box by its seat, "A 1"); its tip serves where this is empty.
    std::string accessibleName;
    bool enabled = true;
    bool visible = true;
    int value = 0;  // check box 0/1/2 (2 greyed), option button 0/1, scroll bar position
    int min = 0, max = 32767, smallChange = 1, largeChange = 1;  // scroll bar
    bool vertical = false;                                       // scroll bar
    int byteLimit = 0;  // text box: most code page 932 bytes it holds, 0 for no limit
    // Text box: the selection, in characters; the caret when its length is 0.
    int selStart = 0, selLength = 0;
    bool locked = false;       // text box: read-only
    bool inputMethod = false;  // text box: the Japanese input method is switched on
    // Text box: a text wider than the box goes on in further lines while the
    // box is not being edited, so a long name is read whole.
    bool wrap = false;
    std::string picture;   // image: file path, empty for none
    bool stretch = false;  // image: the picture fills the control
    int tabIndex = 0;
    bool tabStop = true;
    // The pointer over the control: a link shows the hand.
    enum class Pointer { Default, Hand } pointer = Pointer::Default;
    std::string dragIcon;  // picture that follows the pointer while this control is dragged
    std::string tag;       // the program's own note on the control

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onChange;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    std::function<void(KeyPress&)> onKeyPress;
    std::function<void(const MouseDown&)> onMouseDown;
    // The pointer moved over the control; set before the window is shown.
    std::function<void()> onMouseMove;
    std::function<void(Control& source)> onDragDrop;
    std::function<void(Control& source, DragState)> onDragOver;

    Control& place(int l, int t, int w, int h) {
        left = l, top = t, width = w, height = h;
        return *this;
    }
    Control& limitBytes(int bytes) {
        byteLimit = bytes;
        return *this;
    }

    // What the user's actions do, the same whichever renderer or test sends
    // them. A click turns a check box over and an option button on, then runs
    // the click and change events; on other controls it runs the click event.
    void click();
    void dblClick();
    void mouseDown(const MouseDown& m);
    // The value set by the teacher or by the program: a check box that
    // changes, or an option button turned on (the others of its frame go
    // off), runs its click and change events; a scroll bar its change event.
    void setValue(int v);

    // The program fills a box: the text is cut to the box's byte limit. A text
    // box holds one line: line breaks and other control characters never enter.
    void setText(std::string_view t);
    // The user typed or pasted: the same cut, then the change event.
    void userEdited(std::string_view t);
    std::string selectedText() const;
    // The user's paste or cut: the selection gives way to `t`, of which only
    // what fits in the room the rest of the text leaves goes in; the caret
    // then stands after it.
    void replaceSelection(std::string_view t);
    bool takesFocus() const;
    void setFocus();
    // A manual drag of this control; the drop lands on another control's
    // onDragDrop with this one as the source.
    void drag();
};

struct Label : Control {
    Label() : Control(ControlKind::Label) {}
};
struct TextBox : Control {
    TextBox() : Control(ControlKind::TextBox) {}
};
struct CheckBox : Control {
    CheckBox() : Control(ControlKind::CheckBox) {}
};
struct OptionButton : Control {
    OptionButton() : Control(ControlKind::OptionButton) {}
};
struct CommandButton : Control {
    CommandButton() : Control(ControlKind::CommandButton) {}
};
struct Frame : Control {
    Frame() : Control(ControlKind::Frame) {}
};
struct Image : Control {
    Image() : Control(ControlKind::Image) {}
};
struct Line : Control {
    Line() : Control(ControlKind::Line) {}
};
struct ScrollBar : Control {
    ScrollBar() : Control(ControlKind::ScrollBar) {}
};

// The text that cuts a typed or filled-in text to a box's byte limit, at a
// character boundary; characters code page 932 cannot hold are dropped.
std::string fitToByteLimit(std::string_view text, int byteLimit);

// An insertion into a byte-limited box between `head` and `tail`: what of
// `inserted` fits in the room they leave, so typing at a full box changes
// nothing and a paste keeps what fits instead of losing the text after the
// caret. When head and tail alone are over the limit, the whole is cut.
struct FittedEdit {
    std::string text;
    std::size_t caret = 0;  // in characters, after what went in
};
FittedEdit fitInsertion(std::string_view head, std::string_view inserted, std::string_view tail,
                        int byteLimit);

// Characters of UTF-8 text, and the byte offset of a character position.
std::size_t utf8Count(std::string_view text);
std::size_t utf8Offset(std::string_view text, std::size_t chars);

// Windows virtual-key codes, the unit of menu shortcuts.
namespace vk {
inline constexpr int F1 = 0x70;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
}  // namespace vk

struct Shortcut {
    int key = 0;  // 'A' … 'Z', '0' … '9' or a vk:: code; 0 for none
    bool ctrl = false;
    bool shift = false;
    static Shortcut ctrlKey(char c) { return {c, true, false}; }
    // "Ctrl+N", "F1", "Shift+Del": the portable text of the key sequence.
    std::string text() const;
    bool operator==(const Shortcut&) const = default;
};

struct MenuItem {
    std::string name;
    int index = -1;
    std::string caption;  // "&" marks the access key; "-" is a separator
    Shortcut shortcut;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    std::vector<MenuItem*> items;  // a submenu
    std::function<void()> onClick;

    bool isSeparator() const { return caption == "-"; }
    void click() const {
        if (onClick) onClick();
    }
};

// A menu control array: element 0 is declared with the window, more are loaded
// at run time and sit after the last one in the same menu.
class MenuArray {
public:
    MenuArray(std::string name, std::string caption0);
    MenuArray(const MenuArray&) = delete;
    MenuArray& operator=(const MenuArray&) = delete;

    const std::string& name() const { return name_; }
    int upperBound() const { return static_cast<int>(items_.size()) - 1; }
    MenuItem& operator[](int index) { return items_.at(static_cast<std::size_t>(index)); }
    const MenuItem& operator[](int index) const {
        return items_.at(static_cast<std::size_t>(index));
    }
    // Adds element upperBound() + 1, hidden, with element 0's caption.
    MenuItem& load();

    std::function<void(int index)> onClick;

private:
    friend class Form;
    void attach(Form& form, MenuItem& parent);

    std::string name_;
    std::deque<MenuItem> items_;  // a deque keeps every element where it is
    Form* form_ = nullptr;
    MenuItem* parent_ = nullptr;
};

struct ToolButton {
    int index = 0;  // 1-based, as the window's description counts them
    std::string toolTip;
    std::string image;  // name of a toolbar picture; empty for a blank button
    bool separator = false;
    bool enabled = true;
    bool visible = true;
    // The menu command the button stands for: it is on when the command is,
    // and runs it.
    MenuItem* command = nullptr;

    bool isEnabled() const { return command ? command->enabled : enabled; }
};

// A pictured button as a window declares it.
struct ToolEntry {
    int index;
    std::string_view toolTip;
    std::string_view image;
    MenuItem* command = nullptr;
};

struct Toolbar {
    std::string name = "Toolbar1";
    std::vector<ToolButton> buttons;
    int height = 420;  // twips
    bool visible = true;
    std::function<void(int index)> onButtonClick;
    std::function<void()> onDblClick;

    ToolButton& button(int index) { return buttons.at(static_cast<std::size_t>(index - 1)); }
    // A press on button `index`: its command, or the toolbar's own handler.
    void click(int index);
    // `count` blank buttons, separators at the given places, then the pictured ones.
    void lay(int count, std::initializer_list<int> separators,
             std::initializer_list<ToolEntry> entries);
};

enum class PanelStyle { Text, Date, Time, CapsLock, Insert };

struct StatusPanel {
    PanelStyle style = PanelStyle::Text;
    std::string text;
    std::string toolTip;
    int width = 1440;     // twips; the least width of a spring panel
    bool spring = false;  // takes the width the other panels leave
};

struct StatusBar {
    std::string name = "StatusBar1";
    std::vector<StatusPanel> panels;
    int height = 300;  // twips
    bool visible = true;
    std::function<void()> onDblClick;

    StatusPanel& panel(int index) { return panels.at(static_cast<std::size_t>(index - 1)); }
};

struct Timer {
    std::string name;
    int interval = 0;  // milliseconds
    bool enabled = true;
    std::function<void()> onTimer;
};

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

// One element of a menu item array: its caption and shortcut.
struct MenuEntry {
    std::string_view caption;
    Shortcut shortcut{};
};

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
