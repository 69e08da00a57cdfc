// "大きく表示": the result window's chart on the classroom's large screen or
// projector, and the small window that asks which screen when there are
// several.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/settings.h"
#include "core/window_place.h"
#include "platform/classroom_chart.h"
#include "platform/form.h"
#include "platform/platform.h"
#include "results/result_window.h"

namespace tosbel {

namespace {

// The screen chosen last, "1" for the first; kept so a classroom's projector
// is offered again the next time.
constexpr std::string_view kScreenKey = "OptScreen";

// No classroom has more screens than this; others are not offered.
constexpr std::size_t kMostScreens = 6;

constexpr int kClientWidth = 4680;
constexpr int kOptionLeft = 840, kOptionsTop = 780, kOptionPitch = 390;
constexpr int kOptionWidth = 3240, kOptionHeight = 300;
constexpr int kButtonsLeft = 1185, kButtonPitch = 1395, kButtonWidth = 915, kButtonHeight = 405;

std::string screenCaption(int number, const ScreenSize& size) {
    return "画面" + std::to_string(number) + "（" + std::to_string(size.width) + "×" +
           std::to_string(size.height) + "）";
}

// The remembered screen when it is still there; otherwise the second, as
// the first is usually the teacher's own. A hand-edited value counts as none.
int proposedScreen(SettingsStore& store, int count) {
    const std::string stored = store.read(section::RltVal, kScreenKey);
    int number = 0;
    const char* end = stored.data() + stored.size();
    const auto [at, error] = std::from_chars(stored.data(), end, number);
    if (error == std::errc() && at == end && number >= 1 && number <= count) return number - 1;
    return 1;
}

// "大きく表示": one option per screen, 了解 and 取消.
class ScreenChoice final : public Form {
public:
    ScreenChoice(Platform& platform, const std::vector<ScreenSize>& screens) : Form(platform) {
        name = "BIGSCREEN";
        caption = "大きく表示";
        count_ = static_cast<int>(std::min(screens.size(), kMostScreens));
        const int buttonsTop = kOptionsTop + kOptionPitch * count_ + 240;
        centreDialog(*this, kClientWidth, buttonsTop + kButtonHeight + 240);

        TOSBEL_DECLARE(Label1);
        TOSBEL_DECLARE(Option1);
        TOSBEL_DECLARE(Command1);

        Label1.caption = "大きく表示する画面を選んで、了解ボタンを押して下さい。";
        Label1.place(60, 150, kClientWidth - 120, 480);
        Label1.alignment = Align::Center;

        for (int k = 0; k < static_cast<int>(kMostScreens); ++k) {
            OptionButton& option = Option1[static_cast<std::size_t>(k)];
            option.place(kOptionLeft, kOptionsTop + kOptionPitch * k, kOptionWidth, kOptionHeight);
            option.tabIndex = k;
            option.visible = k < count_;
            if (!option.visible) continue;
            option.caption = screenCaption(k + 1, screens[static_cast<std::size_t>(k)]);
            // Enter takes the screen chosen, as 了解 does.
            option.onKeyPress = [this](KeyPress& press) {
                if (press.key != kKeyEnter) return;
                press.key = 0;
                Command1_Click(0);
            };
        }

        const char* const captions[] = {"了解", "取消"};
        for (int k = 0; k < 2; ++k) {
            CommandButton& button = Command1[static_cast<std::size_t>(k)];
            button.caption = captions[k];
            button.place(kButtonsLeft + kButtonPitch * k, buttonsTop, kButtonWidth, kButtonHeight);
            button.tabIndex = static_cast<int>(kMostScreens) + k;
            button.onClick = [this, k] { Command1_Click(k); };
        }
        cancelButton = &Command1[1];
    }

    Label Label1;
    std::array<OptionButton, kMostScreens> Option1;
    std::array<CommandButton, 2> Command1;  // 了解, 取消

    // The screen taken with 了解; none when the teacher cancelled.
    std::optional<int> chosen;

    void Form_Load() override {
        OptionButton& proposed =
            Option1[static_cast<std::size_t>(proposedScreen(platform().settings(), count_))];
        proposed.setValue(1);
        proposed.setFocus();  // the focus mark goes with the choice
    }

    void Command1_Click(int index) {
        if (index == 0) {
            for (int k = 0; k < count_; ++k)
                if (Option1[static_cast<std::size_t>(k)].value == 1) chosen = k;
            if (chosen)
                platform().settings().save(section::RltVal, kScreenKey,
                                           std::to_string(*chosen + 1));
        }
        close();
    }

private:
    int count_ = 0;
};

}  // namespace

// The chart as the window shows it now, moves and drags included, in the
// window's own font, always as the pupils see it.
void ResultWindow::mnuClassroom_Click() {
    const std::vector<ScreenSize> screens = platform().screenSizes();
    int screen = 0;
    if (screens.size() > 1) {
        ScreenChoice choice(platform(), screens);
        choice.showModal();
        if (!choice.chosen) return;
        screen = *choice.chosen;
    }
    platform().showClassroom({seats(), Text1[0].font.name, screen});
}

}  // namespace tosbel
