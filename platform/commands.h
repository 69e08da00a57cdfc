#pragma once

#include <functional>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/menus.h"

namespace tosbel {

class Form;

// Where a command's button sits on the toolbar, counted from 1; 0 for none.
struct ToolPlace {
    int index = 0;
    std::string_view toolTip{};
    std::string_view image{};
};

// One command of a window, declared once: the menu it sits in, how it reads,
// its toolbar button, the help page of what it opens, when it is on and what
// it runs. The menus, the toolbar and the enablement are made from a window's
// table of these, so a new command is one more row.
struct Command {
    MenuItem* item = nullptr;  // the window's member; null for a list row
    std::string_view name{};
    MenuItem* menu = nullptr;    // the menu it sits in; null: the menu bar
    std::string_view caption{};  // "-" for a rule
    Shortcut shortcut{};
    ToolPlace tool{};
    int help = 0;                     // the help page of the window it opens; 0 for none
    std::function<bool()> enabled{};  // none: always on
    std::function<void()> run{};      // none: a menu, or bound by the window itself
    int index = -1;                   // the element of a menu item array
    // A list the program fills at run time (recent rosters, past logs): it
    // sits at this place in `menu`, and each loaded entry is on when
    // `enabled` holds.
    MenuArray* list = nullptr;
};

// The start of a row for the member `item`, under its own name:
// {TOSBEL_COMMAND(mnuFileOpen), .menu = &mnuFile, .caption = "名簿を開く(&O)...", …}.
#define TOSBEL_COMMAND(member) .item = &member, .name = #member

// A row for a list the program fills, at this place in `menu`.
inline Command listRow(MenuArray& list, MenuItem& menu, std::function<bool()> enabled = {}) {
    Command c;
    c.menu = &menu;
    c.enabled = std::move(enabled);
    c.list = &list;
    return c;
}

class CommandTable {
public:
    // Declares every row's item in `form` in order, puts it in its menu (the
    // menu bar for a top-level one) and binds it to what it runs; a command
    // runs only while it is on, however it was reached. Each command with a
    // condition starts on or off as it holds now.
    void declare(Form& form, std::vector<Command> rows);
    // `count` blank buttons with separators at the given places, then each
    // command's button where its row puts one.
    void layToolbar(Toolbar& toolbar, int count, std::initializer_list<int> separators) const;
    // Each command with a condition is on when it holds now.
    void refresh() const;

    const std::vector<Command>& rows() const { return rows_; }

private:
    std::vector<Command> rows_;
};

}  // namespace tosbel
