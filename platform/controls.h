#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace tosbel {

class Form;

// The controls a form declares as plain data, and what the user's actions on
// them do, the same for every renderer. Positions and sizes are twips.

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
    bool strikeout = false;
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

}  // namespace tosbel
