#include "tools/background_window.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/app_state.h"
#include "core/display.h"
#include "core/help_pages.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/file_io.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

namespace fs = std::filesystem;

constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 3945;
constexpr int kPictureChoice = 4;

// Two columns of previews, each with its option to the left; the picture
// choice takes the third row.
constexpr int kOptionLeft[] = {360, 2460};
constexpr int kPreviewLeft[] = {660, 2760};
constexpr int kRowTop[] = {720, 1500, 2280};
constexpr int kPreviewWidth = 1500, kPreviewHeight = 600;
constexpr int kOptionSide = 255;
constexpr int kButtonsLeft = 488, kButtonPitch = 1395, kButtonsTop = 3330;
constexpr int kButtonWidth = 915, kButtonHeight = 405;

// The bands a preview's gradient is drawn in, and how far the lettering's
// shadow stands off it, in twips.
constexpr int kPreviewBands = 6;
constexpr float kShadowOffset = 30;

constexpr const char* kPictureFilter =
    "ﾋﾞｯﾄﾏｯﾌﾟ形式(*.BMP)|*.BMP|JPG形式(*.JPG)|*.JPG|GIF形式(*.GIF)|*.GIF|すべてのﾌｧｲﾙ(*.*)|*.*";
constexpr const char* kPickTitle = "背景画像の選択";

const Message kUnsaved{"画面の背景は変更されています。 設定しないで終了しますか？", "終了確認",
                       MsgButtons::OkCancel, MsgIcon::Question};
const Message kNoPicture{
    "背景画像が選択されていません。\r\r"
    "「参照...」ボタンで画像を選んで下さい。背景は変更していません。",
    "背景画像の確認", MsgButtons::Ok, MsgIcon::Exclamation};

Message pictureUnreadable(const std::string& path) {
    return {"背景画像「" + path +
                "」を表示できませんでした。\r\r"
                "ﾌｧｲﾙがあるか、ﾋﾞｯﾄﾏｯﾌﾟ・JPG・GIF形式の画像かを確認して下さい。"
                "背景は変更していません。",
            "背景画像の確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

// The choice a stored OptMColor selects. A hand-edited value outside "0" …
// "4" is painted as the first gradient, so that is the choice it shows.
int choiceOf(const std::string& option) {
    if (option.size() == 1 && option[0] >= '0' && option[0] <= '4') return option[0] - '0';
    return 0;
}

std::uint8_t component(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

bool isPictureFile(Platform& platform, const std::string& path) {
    return !path.empty() && platform.pictureShows(path);
}

BackgroundWindow::BackgroundWindow(AppState& state, Platform& platform,
                                   std::function<void()> applied)
    : Form(platform), state_(state), applied_(std::move(applied)) {
    name = "GAMEN";
    caption = "背景";
    centreDialog(*this, kClientWidth, kClientHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Option1);
    TOSBEL_DECLARE(Image1);
    TOSBEL_DECLARE(Command2);
    TOSBEL_DECLARE(Command1);

    Label1[0].caption = "メイン画面の背景を設定して、了解ボタンを押して下さい。";
    Label1[0].place(120, 120, kClientWidth - 240, 480);
    Label1[0].alignment = Align::Center;

    for (int k = 0; k <= kPictureChoice; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const auto column = static_cast<std::size_t>(k < kPictureChoice ? k % 2 : 0);
        const int rowTop = kRowTop[k / 2];
        Option1[i].place(kOptionLeft[column], rowTop + (kPreviewHeight - kOptionSide) / 2,
                         kOptionSide, kOptionSide);
        Option1[i].onClick = [this, k] { Option1_Click(k); };
        // The choices show pictures, not words: a screen reader says which.
        Option1[i].accessibleName =
            k < kPictureChoice ? "グラデーション " + std::to_string(k + 1) : "その他の画像";
        Image1[i].place(kPreviewLeft[column], rowTop, kPreviewWidth, kPreviewHeight);
        Image1[i].border = true;
        Image1[i].onClick = [this, i] { Option1[i].setValue(1); };
    }
    Image1[kPictureChoice].stretch = true;

    const int pictureTop = kRowTop[2];
    Label1[1].caption = "その他";
    Label1[1].place(kOptionLeft[1], pictureTop + 30, 1800, 240);
    Label1[1].onClick = [this] { Option1[kPictureChoice].setValue(1); };

    Command2.caption = "参照...";
    Command2.place(kOptionLeft[1], pictureTop + kPreviewHeight - 360, 1320, 360);
    Command2.enabled = false;
    Command2.onClick = [this] { Command2_Click(); };

    layDialogButtons(Command1,
                     {kButtonsLeft, kButtonPitch, kButtonsTop, kButtonWidth, kButtonHeight},
                     [this](int k) { Command1_Click(k); });

    // The previews take their colours from the themes the main window paints
    // with, so the two cannot drift apart.
    AppState sample;
    for (std::size_t k = 0; k < previews_.size(); ++k) {
        sample.OptMColor = std::to_string(k);
        applyTheme(sample);
        previews_[k] = {
            {component(sample.BackRed), component(sample.BackGreen), component(sample.BackBlue)},
            sample.TitleColor,
            sample.ShadowColor};
    }
}

void BackgroundWindow::Form_Load() {
    maingAtOpening_ = state_.Maing;
    OptionButton& chosen = Option1[static_cast<std::size_t>(choiceOf(state_.OptMColor))];
    chosen.setValue(1);
    // The focus mark goes with the choice made, as in every group of options.
    chosen.setFocus();
    showPicture();
}

// Each preview is the main window in small: the gradient fading to no blue at
// the bottom, with a bar in the colours of the title lettering and its shadow.
void BackgroundWindow::Form_Paint(Canvas& canvas) {
    for (std::size_t k = 0; k < previews_.size(); ++k) {
        const Preview& p = previews_[k];
        const Image& im = Image1[k];
        const auto x1 = static_cast<float>(im.left);
        const auto x2 = static_cast<float>(im.left + im.width - 1);
        for (int band = 0; band < kPreviewBands; ++band) {
            const int y1 = im.top + im.height * band / kPreviewBands;
            const int y2 = im.top + im.height * (band + 1) / kPreviewBands - 1;
            const int blue = p.top.blue - p.top.blue * band / (kPreviewBands - 1);
            canvas.fillBox(x1, static_cast<float>(y1), x2, static_cast<float>(y2),
                           {p.top.red, p.top.green, component(blue)});
        }
        const auto barLeft = static_cast<float>(im.left + im.width / 5);
        const auto barRight = static_cast<float>(im.left + im.width * 4 / 5);
        const auto barTop = static_cast<float>(im.top + im.height / 3);
        const auto barBottom = static_cast<float>(im.top + im.height / 2);
        canvas.fillBox(barLeft + kShadowOffset, barTop + kShadowOffset, barRight + kShadowOffset,
                       barBottom + kShadowOffset, p.shadow);
        canvas.fillBox(barLeft, barTop, barRight, barBottom, p.title);
    }
}

void BackgroundWindow::showPicture() {
    Image1[kPictureChoice].picture = state_.Maing;
    Command2.toolTip = state_.Maing.empty() ? kPickTitle : state_.Maing;
}

void BackgroundWindow::Option1_Click(int index) {
    Gam = std::to_string(index);
    Command2.enabled = index == kPictureChoice;
}

void BackgroundWindow::Command2_Click() {
    const std::string chosen = platform().openFileDialog(
        {kPickTitle, kPictureFilter, platform().programFolder(), state_.Maing});
    if (chosen.empty()) return;
    state_.Maing = chosen;
    showPicture();
}

void BackgroundWindow::apply() {
    // A picture the main window could not show would leave it black, its
    // lettering with it: the background stays as it is, and so does Maing, so
    // the main window goes on showing what it shows when it is next opened.
    if (Gam == "4" && !isPictureFile(platform(), state_.Maing)) {
        const Message notice = state_.Maing.empty() ? kNoPicture : pictureUnreadable(state_.Maing);
        state_.Maing = maingAtOpening_;
        platform().messageBox(notice);
        close();
        return;
    }
    SettingsStore& store = platform().settings();
    state_.OptMColor = Gam;
    applyTheme(state_);
    if (Gam == "4") store.save(section::Config, key::Maing, state_.Maing);
    store.save(section::Config, key::OptMColor, state_.OptMColor);
    close();
    if (applied_) applied_();
}

void BackgroundWindow::Command1_Click(int index) {
    switch (index) {
        case 0:
            apply();
            return;
        case 1:
            if (Gam != std::to_string(choiceOf(state_.OptMColor)) &&
                platform().messageBox(kUnsaved) != MsgAnswer::Ok) {
                Command1[0].setFocus();
                return;
            }
            close();
            return;
        default:
            platform().showHelp({HelpCommand::Context, help_page::Background});
    }
}

void showBackgroundWindow(AppState& state, Platform& platform, std::function<void()> applied) {
    BackgroundWindow window(state, platform, std::move(applied));
    window.showModal();
}

}  // namespace tosbel
