#include "platform/commands.h"

#include "platform/form.h"

namespace tosbel {

void CommandTable::declare(Form& form, std::vector<Command> rows) {
    rows_ = std::move(rows);
    for (const Command& c : rows_) {
        if (c.list) {
            form.declare(*c.list, *c.menu);
            continue;
        }
        form.declare(*c.item, c.name, c.caption, c.shortcut, c.index);
        if (c.menu)
            c.menu->items.push_back(c.item);
        else
            form.menuBar.push_back(c.item);
        if (c.run)
            c.item->onClick = [item = c.item, run = c.run] {
                if (item->enabled) run();
            };
    }
    refresh();
}

void CommandTable::layToolbar(Toolbar& toolbar, int count,
                              std::initializer_list<int> separators) const {
    toolbar.lay(count, separators);
    for (const Command& c : rows_) {
        if (c.tool.index == 0) continue;
        ToolButton& b = toolbar.button(c.tool.index);
        b.toolTip = c.tool.toolTip;
        b.image = c.tool.image;
        b.command = c.item;
    }
}

void CommandTable::refresh() const {
    for (const Command& c : rows_) {
        if (!c.enabled) continue;
        const bool on = c.enabled();
        if (!c.list) {
            c.item->enabled = on;
            continue;
        }
        for (int i = 1; i <= c.list->upperBound(); ++i) (*c.list)[i].enabled = on;
    }
}

}  // namespace tosbel
