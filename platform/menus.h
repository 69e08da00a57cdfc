#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tosbel {

class Form;

// A window's menus, toolbar, status bar and timers, declared as plain data
// like its controls.

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
    // `count` blank buttons with separators at the given places; a window's
    // command table puts its pictured ones on them.
    void lay(int count, std::initializer_list<int> separators);
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

// One element of a menu item array: its caption and shortcut.
struct MenuEntry {
    std::string_view caption;
    Shortcut shortcut{};
};

}  // namespace tosbel
