#include "platform/form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/cp932.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

// The frame, title bar and menu bar of a window as the classic desktop drew
// them: the outer size minus these is the client area the controls are laid out
// in, whatever the frame of the desktop the program runs on.
constexpr int kFrameTwips = 60;
constexpr int kCaptionTwips = 300;
constexpr int kMenuBarTwips = 300;

// The length of one UTF-8 character from its lead byte.
std::size_t utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    return 2;
}

// A text box holds one line: line breaks and other control characters are
// left out of whatever is put into it.
std::string oneLine(std::string_view t) {
    std::string line;
    for (const char c : t)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) line += c;
    return line;
}

}  // namespace

std::string fitToByteLimit(std::string_view text, int byteLimit) {
    std::string out;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n =
            std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
        const std::string_view ch = text.substr(i, n);
        i += n;
        const auto len = cp932ByteLength(ch);
        if (!len) continue;
        if (byteLimit > 0 && bytes + *len > static_cast<std::size_t>(byteLimit)) break;
        bytes += *len;
        out += ch;
    }
    return out;
}

FittedEdit fitInsertion(std::string_view head, std::string_view inserted, std::string_view tail,
                        int byteLimit) {
    if (byteLimit <= 0)
        return {std::string(head) + std::string(inserted) + std::string(tail),
                utf8Count(head) + utf8Count(inserted)};
    const auto kept = cp932ByteLength(std::string(head) + std::string(tail));
    if (!kept || *kept > static_cast<std::size_t>(byteLimit)) {
        std::string whole = fitToByteLimit(
            std::string(head) + std::string(inserted) + std::string(tail), byteLimit);
        const std::size_t caret = utf8Count(whole);
        return {std::move(whole), caret};
    }
    const int room = byteLimit - static_cast<int>(*kept);
    // fitToByteLimit() reads a limit of 0 as none.
    const std::string fitted = room > 0 ? fitToByteLimit(inserted, room) : std::string();
    return {std::string(head) + fitted + std::string(tail), utf8Count(head) + utf8Count(fitted)};
}

std::size_t utf8Count(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::size_t utf8Offset(std::string_view text, std::size_t chars) {
    std::size_t i = 0;
    for (; i < text.size() && chars > 0; --chars)
        i += std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
    return i;
}

void Control::setText(std::string_view t) {
    std::string line;
    if (kind == ControlKind::TextBox) {
        line = oneLine(t);
        t = line;
    }
    text = byteLimit > 0 ? fitToByteLimit(t, byteLimit) : std::string(t);
    const int length = static_cast<int>(utf8Count(text));
    selStart = std::clamp(selStart, 0, length);
    selLength = std::clamp(selLength, 0, length - selStart);
}

void Control::userEdited(std::string_view t) {
    const std::string before = text;
    setText(t);
    if (text != before && onChange) onChange();
}

std::string Control::selectedText() const {
    const std::size_t from = utf8Offset(text, static_cast<std::size_t>(selStart));
    const std::size_t to = utf8Offset(text, static_cast<std::size_t>(selStart + selLength));
    return text.substr(from, to - from);
}

void Control::replaceSelection(std::string_view t) {
    const std::size_t from = utf8Offset(text, static_cast<std::size_t>(selStart));
    const std::size_t to = utf8Offset(text, static_cast<std::size_t>(selStart + selLength));
    // What goes in passes the same gate as typing: one line, code page 932 only.
    FittedEdit edit =
        fitInsertion(std::string_view(text).substr(0, from), fitToByteLimit(oneLine(t), 0),
                     std::string_view(text).substr(to), byteLimit);
    selStart = static_cast<int>(edit.caret);
    selLength = 0;
    userEdited(edit.text);
}

void Control::click() {
    switch (kind) {
        case ControlKind::CheckBox:
            return setValue(value == 1 ? 0 : 1);
        case ControlKind::OptionButton:
            // Its click is its turning on: a click on the option already on
            // says nothing.
            return setValue(1);
        default:
            if (onClick) onClick();
    }
}

void Control::dblClick() {
    if (onDblClick) onDblClick();
}

void Control::mouseDown(const MouseDown& m) {
    if (onMouseDown) onMouseDown(m);
}

void Control::setValue(int v) {
    if (kind == ControlKind::ScrollBar) v = std::clamp(v, std::min(min, max), std::max(min, max));
    if (v == value) return;
    switch (kind) {
        case ControlKind::CheckBox:
            value = v;
            break;
        case ControlKind::OptionButton:
            if (v == 0) {
                value = 0;
                return;
            }
            // One option is on in each frame.
            if (form) {
                for (Control* other : form->controls())
                    if (other->kind == ControlKind::OptionButton && other->container == container)
                        other->value = 0;
            }
            value = 1;
            break;
        case ControlKind::ScrollBar:
            value = v;
            if (onChange) onChange();
            return;
        default:
            value = v;
            return;
    }
    if (onClick) onClick();
    if (onChange) onChange();
}

bool Control::takesFocus() const {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::CommandButton:
        case ControlKind::ScrollBar:
            break;
        default:
            return false;
    }
    for (const Control* c = this; c; c = c->container)
        if (!c->visible || !c->enabled) return false;
    return tabStop;
}

void Control::setFocus() {
    if (form) form->setFocus(*this);
}

void Control::drag() {
    if (form) form->platform().beginDrag(*this);
}

std::string Shortcut::text() const {
    if (key == 0) return {};
    std::string out;
    if (ctrl) out += "Ctrl+";
    if (shift) out += "Shift+";
    if (key >= vk::F1 && key < vk::F1 + 12)
        out += "F" + std::to_string(key - vk::F1 + 1);
    else if (key == vk::Insert)
        out += "Ins";
    else if (key == vk::Delete)
        out += "Del";
    else
        out += static_cast<char>(key);
    return out;
}

MenuArray::MenuArray(std::string name, std::string caption0) : name_(std::move(name)) {
    MenuItem& first = items_.emplace_back();
    first.name = name_;
    first.index = 0;
    first.caption = std::move(caption0);
}

void MenuArray::attach(Form& form, MenuItem& parent) {
    form_ = &form;
    parent_ = &parent;
    MenuItem& first = items_.front();
    first.onClick = [this] {
        if (onClick) onClick(0);
    };
    parent.items.push_back(&first);
}

MenuItem& MenuArray::load() {
    const int index = static_cast<int>(items_.size());
    MenuItem& item = items_.emplace_back();
    item.name = name_;
    item.index = index;
    item.caption = items_.front().caption;
    item.visible = false;
    item.onClick = [this, index] {
        if (onClick) onClick(index);
    };
    if (parent_) {
        auto& siblings = parent_->items;
        const MenuItem* last = &items_[static_cast<std::size_t>(index - 1)];
        const auto at = std::find(siblings.begin(), siblings.end(), last);
        siblings.insert(at == siblings.end() ? at : at + 1, &item);
    }
    if (form_) ++form_->menuRevision_;
    return item;
}

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

void Toolbar::lay(int count, std::initializer_list<int> separators,
                  std::initializer_list<ToolEntry> entries) {
    buttons.assign(static_cast<std::size_t>(count), {});
    for (int i = 1; i <= count; ++i) button(i).index = i;
    for (const int i : separators) button(i).separator = true;
    for (const ToolEntry& e : entries) {
        ToolButton& b = button(e.index);
        b.toolTip = e.toolTip;
        b.image = e.image;
        b.command = e.command;
    }
}

void Toolbar::click(int index) {
    const ToolButton& b = button(index);
    if (b.command)
        b.command->click();
    else if (onButtonClick)
        onButtonClick(index);
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
