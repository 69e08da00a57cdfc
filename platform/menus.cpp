#include "platform/menus.h"

#include <algorithm>
#include <string>

#include "platform/form.h"

namespace tosbel {

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

void Toolbar::lay(int count, std::initializer_list<int> separators) {
    buttons.assign(static_cast<std::size_t>(count), {});
    for (int i = 1; i <= count; ++i) button(i).index = i;
    for (const int i : separators) button(i).separator = true;
}

void Toolbar::click(int index) {
    const ToolButton& b = button(index);
    if (b.command)
        b.command->click();
    else if (onButtonClick)
        onButtonClick(index);
}

}  // namespace tosbel
