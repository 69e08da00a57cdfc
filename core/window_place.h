#pragma once

#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/settings.h"
#include "platform/form.h"
#include "platform/geometry.h"
#include "platform/settings_store.h"

namespace tosbel {

// A window's remembered place: two keys under Position and their in-memory
// copies in the shared state.
struct WindowPlace {
    std::string_view topKey, leftKey;
    float AppState::*top;
    float AppState::*left;
};
inline constexpr WindowPlace kMainWindowPlace{key::I_Top, key::I_Left, &AppState::I_Top,
                                              &AppState::I_Left};
inline constexpr WindowPlace kRosterEditorPlace{key::T_Top, key::T_Left, &AppState::T_Top,
                                                &AppState::T_Left};
inline constexpr WindowPlace kConditionsPlace{key::C_Top, key::C_Left, &AppState::C_Top,
                                              &AppState::C_Left};
inline constexpr WindowPlace kResultPlace{key::R_Top, key::R_Left, &AppState::R_Top,
                                          &AppState::R_Left};

// Centred on the screen when OptCent is "1", otherwise at the remembered place,
// unless that place would leave the window's title bar off every screen.
void placeWindow(Form& f, const AppState& s, const WindowPlace& p);
// Whether enough of the title bar of a window at this place lies on a screen
// for the teacher to take hold of it.
bool titleOnAScreen(int top, int left, int width, const std::vector<ScreenArea>& screens);
void centreWindow(Form& f, ScreenTwips screen);
// A settings window: a fixed frame without a minimise button, its outer size
// from the client area it needs (frame and title added), centred on the screen.
void centreDialog(Form& f, int clientWidth, int clientHeight);
// Where the window is now becomes its remembered place, in memory and in the
// store; or in the store only, for a window whose next opening in this run
// keeps the place it had.
enum class PlaceKept { InMemoryToo, StoreOnly };
void saveWindowPlace(Form& f, AppState& s, const WindowPlace& p,
                     PlaceKept kept = PlaceKept::InMemoryToo);

}  // namespace tosbel
