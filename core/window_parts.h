#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "platform/commands.h"
#include "platform/form.h"

namespace tosbel {

// Pieces every chart window has, declared with one call each.

// The date and time panels of a window's status bar (`datePanel` and the one
// after it) and "Timer1", which refreshes them every 33 seconds from the clock.
class StatusClock {
public:
    StatusClock(Form& form, StatusBar& bar, int datePanel, AppState& state);
    StatusClock(const StatusClock&) = delete;
    StatusClock& operator=(const StatusClock&) = delete;

    // Shows the texts the shared state holds now.
    void show();

    Timer Timer1;

private:
    Form& form_;
    StatusBar& bar_;
    int datePanel_;
    AppState& state_;
};

// A menu item that turns a "1"/"0" option on and off: its tick, the shared
// state's copy and the stored value move together.
void bindOptionToggle(Form& form, MenuItem& item, std::string AppState::*option, AppState& state,
                      std::string_view section, std::string_view key);

// The row of three buttons a settings window ends with, from `left` every
// `pitch` twips: "了解" (or the window's own first), "取消", "ﾍﾙﾌﾟ"; a press
// runs `onClick` with the button's index, and Escape presses "取消". The
// buttons are declared first.
struct ButtonRow {
    int left, pitch, top, width, height;
};
void layDialogButtons(std::array<CommandButton, 3>& buttons, ButtonRow row,
                      const std::function<void(int)>& onClick, const char* first = "了解");

// The help menu a chart window ends its menu bar with: the topic search (F1),
// this window's own help page, a rule and the version window, which stays off
// while the program has none. They are rows of the window's command table;
// `versionButton` and `helpButton` are the toolbar places of the version and
// of the window's own page.
struct HelpMenu {
    MenuItem& mnuHelp;
    std::array<MenuItem, 2>& mnuHelpContext_KeyWord;
    MenuItem& rule;
    std::string_view ruleName;
    MenuItem& mnuVersion;
    int versionButton = 0;
    int helpButton = 0;
};
std::vector<Command> helpMenuRows(Form& form, const HelpMenu& menu, std::function<int()> context,
                                  std::function<void()> version);

}  // namespace tosbel
