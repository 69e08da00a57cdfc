#include "shell/countdown_settings.h"

#include <algorithm>
#include <cstddef>

#include "core/app_state.h"
#include "core/help_pages.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/platform.h"
#include "shell/countdown_window.h"

namespace tosbel {

namespace {

constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 5445;
constexpr int kFewestSeconds = 1;
constexpr int kMostSeconds = 10;

// The picture buttons stand in two columns of five inside the frame, each
// with its number of seconds to its right.
constexpr int kFrameLeft = 240, kFrameTop = 1380, kFrameWidth = 4200, kFrameHeight = 3240;
constexpr int kPictureLeft = 150, kColumnPitch = 2010, kPictureTop = 330, kRowPitch = 560;
constexpr int kButtonWidth = 1200, kButtonHeight = 420;
constexpr int kSecondsWidth = 720, kSecondsHeight = 300;
constexpr int kButtonsTop = 4800;

constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kDarkGrey{64, 64, 64};

constexpr const char* kPictureFilter =
    "ﾋﾞｯﾄﾏｯﾌﾟ形式(*.BMP)|*.BMP|JPG形式(*.JPG)|*.JPG|GIF形式(*.GIF)|*.GIF|すべてのﾌｧｲﾙ(*.*)|*.*";
constexpr const char* kSecondsCaptions[] = {"･･･１秒", "･･･２秒", "･･･３秒", "･･･４秒", "･･･５秒",
                                            "･･･６秒", "･･･７秒", "･･･８秒", "･･･９秒", "･･･10秒"};

const Message kUnsaved{"プロパティ値は変更されています。 設定しないで終了しますか？", "終了確認",
                       MsgButtons::OkCancel, MsgIcon::Question};

// The name of a picture without its folder, short enough for its button;
// a path chosen on either kind of system counts.
std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* flag(bool on) {
    return on ? "1" : "0";
}

}  // namespace

CountdownSettings::CountdownSettings(AppState& state, Platform& platform)
    : Form(platform), state_(state) {
    name = "CNTVAL";
    caption = "詳細";
    centreDialog(*this, kClientWidth, kClientHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Check1);
    TOSBEL_DECLARE(VScroll1);
    TOSBEL_DECLARE(Frame1);
    TOSBEL_DECLARE(Command2);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Command1);

    Label1[0].caption = "各プロパティを設定して、了解ボタンを押して下さい。";
    // Across the whole window: the sentence just fits on one line.
    Label1[0].place(60, 150, kClientWidth - 120, 480);
    Label1[0].alignment = Align::Center;

    Check1.caption = "表示する";
    Check1.place(kFrameLeft, 840, 1500, 300);
    Check1.onClick = [this] { Check1_Click(); };

    Label1[1].place(kFrameLeft + kFrameWidth - 255 - 840, 720, 840, 540);
    Label1[1].font = {"ＭＳ Ｐゴシック", 14, true, false, false};
    Label1[1].foreColor = kYellow;
    Label1[1].backColor = kDarkGrey;
    Label1[1].alignment = Align::Center;

    // The top runs to 10, so the up arrow adds a second.
    VScroll1.vertical = true;
    VScroll1.accessibleName = "秒数";
    VScroll1.min = kMostSeconds;
    VScroll1.max = kFewestSeconds;
    VScroll1.value = kFewestSeconds;
    VScroll1.place(kFrameLeft + kFrameWidth - 255, 720, 255, 540);
    VScroll1.onChange = [this] { VScroll1_Change(); };

    Frame1.caption = "コマ画面";
    Frame1.place(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
    for (int k = 0; k < 10; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int x = kPictureLeft + kColumnPitch * (k / 5);
        const int y = kPictureTop + kRowPitch * (k % 5);
        Command2[i].container = &Frame1;
        Command2[i].place(x, y, kButtonWidth, kButtonHeight);
        Command2[i].onClick = [this, k] { Command2_Click(k); };
        Label2[i].container = &Frame1;
        Label2[i].caption = kSecondsCaptions[k];
        Label2[i].place(x + kButtonWidth + 60, y + (kButtonHeight - kSecondsHeight) / 2,
                        kSecondsWidth, kSecondsHeight);
    }

    layDialogButtons(Command1, {300, 1440, kButtonsTop, kButtonWidth, kButtonHeight},
                     [this](int k) { Command1_Click(k); });
}

void CountdownSettings::Form_Load() {
    const bool on = state_.OptWait == "1";
    if (on) Check1.setValue(1);
    // A hand-edited WaitTime the bar cannot show is shown as its nearest end.
    VScroll1.setValue(std::clamp(countdownSeconds(state_.WaitTime), kFewestSeconds, kMostSeconds));
    Label1[1].caption = std::to_string(VScroll1.value);
    OptWait2 = state_.OptWait;
    WaitTM = state_.WaitTime;
    state_.KomaWork = state_.Koma;
    for (int k = 0; k < 10; ++k) showPicture(k);
    enableCountdownParts(on);
}

void CountdownSettings::enableCountdownParts(bool on) {
    VScroll1.enabled = on;
    for (CommandButton& b : Command2) b.enabled = on;
}

void CountdownSettings::showPicture(int index) {
    CommandButton& b = Command2[static_cast<std::size_t>(index)];
    const std::string& picture = state_.KomaWork[static_cast<std::size_t>(index)];
    b.caption = fileNameOf(picture);
    b.toolTip = picture;
}

void CountdownSettings::Check1_Click() {
    const bool on = Check1.value == 1;
    OptWait2 = flag(on);
    enableCountdownParts(on);
}

void CountdownSettings::VScroll1_Change() {
    Label1[1].caption = std::to_string(VScroll1.value);
}

void CountdownSettings::Command2_Click(int index) {
    std::string& picture = state_.KomaWork[static_cast<std::size_t>(index)];
    const std::string chosen = platform().openFileDialog(
        {"コマ画面の選択", kPictureFilter, platform().programFolder(), picture});
    if (chosen.empty()) return;
    picture = chosen;
    showPicture(index);
}

void CountdownSettings::Command1_Click(int index) {
    switch (index) {
        case 0: {
            state_.OptWait = flag(Check1.value == 1);
            state_.WaitTime = Label1[1].caption;
            state_.Koma = state_.KomaWork;
            SettingsStore& store = platform().settings();
            store.save(section::CountDown, key::OptWait, state_.OptWait);
            store.save(section::CountDown, key::WaitTime, state_.WaitTime);
            for (int k = 0; k < 10; ++k)
                store.save(section::CountDown, indexedKey(key::Koma, k),
                           state_.Koma[static_cast<std::size_t>(k)]);
            close();
            return;
        }
        case 1: {
            const bool changed = OptWait2 != state_.OptWait || WaitTM != Label1[1].caption ||
                                 state_.KomaWork != state_.Koma;
            if (changed && platform().messageBox(kUnsaved) != MsgAnswer::Ok) {
                Command1[0].setFocus();
                return;
            }
            close();
            return;
        }
        default:
            platform().showHelp({HelpCommand::Context, help_page::Countdown});
    }
}

void showCountdownSettings(AppState& state, Platform& platform) {
    CountdownSettings window(state, platform);
    window.showModal();
}

}  // namespace tosbel
