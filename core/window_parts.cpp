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

}  // namespace tosbel
