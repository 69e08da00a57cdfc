#include "core/window_parts.h"

#include "core/display.h"
#include "platform/platform.h"

namespace tosbel {

StatusClock::StatusClock(Form& form, StatusBar& bar, int datePanel, AppState& state)
    : form_(form), bar_(bar), datePanel_(datePanel), state_(state) {
    form.declare(Timer1, "Timer1", 33000);
    Timer1.onTimer = [this] {
        refreshDateTime(state_, form_.platform().clock());
        show();
    };
}

void StatusClock::show() {
    bar_.panel(datePanel_).text = state_.TodayText;
    bar_.panel(datePanel_ + 1).text = state_.NowText;
}

void bindOptionToggle(Form& form, MenuItem& item, std::string AppState::*option, AppState& state,
                      std::string_view section, std::string_view key) {
    item.checked = state.*option == "1";
    item.onClick = [&form, &item, option, &state, section, key] {
        item.checked = !item.checked;
        state.*option = item.checked ? "1" : "0";
        form.platform().settings().save(section, key, state.*option);
    };
}

void layDialogButtons(std::array<CommandButton, 3>& buttons, ButtonRow row,
                      const std::function<void(int)>& onClick, const char* first) {
    const char* const captions[] = {first, "取消", "ﾍﾙﾌﾟ"};
    for (int k = 0; k < 3; ++k) {
        CommandButton& b = buttons[static_cast<std::size_t>(k)];
        b.caption = captions[k];
        b.place(row.left + row.pitch * k, row.top, row.width, row.height);
        b.onClick = [onClick, k] { onClick(k); };
    }
    // Escape does what 取消 does, as in every dialog.
    if (buttons[1].form) buttons[1].form->cancelButton = &buttons[1];
}

std::vector<Command> helpMenuRows(Form& form, const HelpMenu& menu, std::function<int()> context,
                                  std::function<void()> version) {
    std::vector<Command> rows = {
        {.item = &menu.mnuHelp, .name = "mnuHelp", .caption = "ﾍﾙﾌﾟ(&H)"},
        {.item = &menu.mnuHelpContext_KeyWord[0],
         .name = "mnuHelpContext_KeyWord",
         .menu = &menu.mnuHelp,
         .caption = "ﾄﾋﾟｯｸの検索(&H)",
         .shortcut = Shortcut{vk::F1},
         .run =
             [&form] {
                 form.platform().showHelp({HelpCommand::PartialKey, 0});
             },
         .index = 0},
        {.item = &menu.mnuHelpContext_KeyWord[1],
         .name = "mnuHelpContext_KeyWord",
         .menu = &menu.mnuHelp,
         .caption = "当該ﾍﾙﾌﾟ(&C)",
         .tool = {menu.helpButton, " 当該ﾍﾙﾌﾟ ", "help"},
         .run =
             [&form, context = std::move(context)] {
                 form.platform().showHelp({HelpCommand::Context, context()});
             },
         .index = 1},
        {.item = &menu.rule, .name = menu.ruleName, .menu = &menu.mnuHelp, .caption = "-"},
        {.item = &menu.mnuVersion,
         .name = "mnuVersion",
         .menu = &menu.mnuHelp,
         .caption = "ﾊﾞｰｼﾞｮﾝ情報(&A)...",
         .tool = {menu.versionButton, " ﾊﾞｰｼﾞｮﾝ情報 ", "version"},
         .enabled = [there = static_cast<bool>(version)] { return there; },
         .run = std::move(version)},
    };
    return rows;
}

}  // namespace tosbel
