#pragma once

#include "core/app_state.h"
#include "platform/clock.h"

namespace tosbel {

// Sets the title lettering and background gradient colours of the main window
// from OptMColor ("0" … "3" colours, "4" a picture).
void applyTheme(AppState& s);

// TodayText "2004/03/07" and NowText "午後 01:05" from the clock.
void refreshDateTime(AppState& s, Clock& clock);

}  // namespace tosbel
