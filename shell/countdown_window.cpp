#include "shell/countdown_window.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <system_error>

#include "core/app_state.h"
#include "core/window_place.h"
#include "platform/file_io.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

constexpr int kSide = 6000;
constexpr int kMostSeconds = 10;
constexpr int kLastStep = 10;

}  // namespace

int countdownSeconds(std::string_view waitTime) {
    std::size_t i = 0;
    while (i < waitTime.size() && (waitTime[i] == ' ' || waitTime[i] == '\t')) ++i;
    bool negative = false;
    if (i < waitTime.size() && (waitTime[i] == '+' || waitTime[i] == '-'))
        negative = waitTime[i++] == '-';
    // Past 10 the digits no longer matter, so a long run of them cannot overflow.
    int seconds = 0;
    for (; i < waitTime.size() && waitTime[i] >= '0' && waitTime[i] <= '9'; ++i)
        seconds = std::min(seconds * 10 + (waitTime[i] - '0'), kMostSeconds + 1);
    return negative ? 0 : std::min(seconds, kMostSeconds);
}

CountdownWindow::CountdownWindow(const AppState& state, Platform& platform)
    : Form(platform), state_(state) {
    name = "WAIT";
    borderStyle = BorderStyle::None;
    showInTaskbar = false;
    width = kSide;
    height = kSide;
    centreWindow(*this, platform.screen());

    TOSBEL_DECLARE(Image1);
    // A little past every edge, so no strip of the window shows around the picture.
    Image1.place(-30, -30, kSide + 60, kSide + 60);
    Image1.stretch = true;

    declare(Timer1, "Timer1", 1000);
    Timer1.enabled = false;
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

void CountdownWindow::Form_Load() {
    Timer1.interval = 1000;
    const int seconds = countdownSeconds(state_.WaitTime);
    Counter = static_cast<std::int16_t>(seconds == 0 ? 0 : kLastStep + 1 - seconds);
}

void CountdownWindow::Timer1_Timer() {
    if (Counter < 1 || Counter > kLastStep) {
        close();
        return;
    }
    // Step c shows the picture for the number 11 − c. A picture that is not
    // there leaves the last one up for its second; the count goes on.
    const std::string& picture = state_.Koma[static_cast<std::size_t>(kLastStep - Counter)];
    std::error_code ec;
    if (std::filesystem::is_regular_file(pathOf(picture), ec)) Image1.picture = picture;
    Counter = static_cast<std::int16_t>(Counter == kLastStep ? 0 : Counter + 1);
}

void showCountdown(const AppState& state, Platform& platform) {
    CountdownWindow window(state, platform);
    window.Timer1.enabled = true;
    window.showModal();
}

}  // namespace tosbel
