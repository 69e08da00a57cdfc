#pragma once

#include <cstdint>
#include <string_view>

#include "platform/form.h"

namespace tosbel {

struct AppState;
class Platform;

// WAIT, the countdown before the shuffle deals the seats: one picture a
// second from the chosen number down to 1, then it closes itself.
class CountdownWindow final : public Form {
public:
    CountdownWindow(const AppState& state, Platform& platform);

    Image Image1;
    Timer Timer1;  // off until the shuffle starts the count
    // The step: 11 − seconds at the start, one up a tick, 0 once the picture
    // for 1 has had its second; a tick at 0 closes the window.
    std::int16_t Counter = 0;

    void Form_Load() override;
    void Timer1_Timer();

private:
    const AppState& state_;
};

// The seconds a stored WaitTime counts down, 0 … 10. A hand-edited value takes
// its leading whole number (blanks, a sign and digits; nothing readable is 0),
// held to 0 … 10 so the count never lasts more than 11 seconds.
int countdownSeconds(std::string_view waitTime);

// Shows the countdown modally and returns once it has closed.
void showCountdown(const AppState& state, Platform& platform);

}  // namespace tosbel
