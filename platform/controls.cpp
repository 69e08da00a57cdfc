#include "platform/controls.h"

#include <algorithm>

#include "platform/box_text.h"
#include "platform/form.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

// A text box holds one line: line breaks and other control characters are
// left out of whatever is put into it.
std::string oneLine(std::string_view t) {
    std::string line;
    for (const char c : t)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) line += c;
    return line;
}

}  // namespace

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

}  // namespace tosbel
