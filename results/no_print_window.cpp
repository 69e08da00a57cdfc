#include "results/no_print_window.h"

#include <cstddef>
#include <string>

#include "core/app_state.h"
#include "core/help_pages.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

constexpr int kFrameTop = 1140, kFrameWidth = 1875, kFrameHeight = 4025;
constexpr int kRowsFrameLeft = 470, kColumnsFrameLeft = 2330;
constexpr int kBoxLeft = 210, kBoxTop = 330, kBoxPitch = 360, kBoxWidth = 1515, kBoxHeight = 255;
// The choices of the whole page stand under both frames, across them; the
// buttons and the window's foot move down by the room they take.
constexpr int kChoicesTop = kFrameTop + kFrameHeight + 165;
constexpr int kChoicesWidth = kColumnsFrameLeft + kFrameWidth - kRowsFrameLeft;
constexpr int kChoicesRoom = 2 * kBoxPitch + 30;
constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 6300 + kChoicesRoom;
constexpr int kButtonsLeft = 488, kButtonPitch = 1395, kButtonsTop = 5470 + kChoicesRoom;
constexpr int kButtonWidth = 915, kButtonHeight = 405;

constexpr Rgb kWindowBack{0x80, 0x80, 0x80};
constexpr Rgb kYellow{0xFF, 0xFF, 0x00};
constexpr Rgb kPaleYellow{0xFF, 0xFF, 0x80};

const Message kUnsaved{"非印刷行・列は変更されています。 設定しないで終了しますか？", "終了確認",
                       MsgButtons::OkCancel, MsgIcon::Question};

// "A 1", "A10": the row letter and the column number kept three wide, so the
// captions of a column line up whether its number has one digit or two.
std::string seatName(char row, int column) {
    return row + std::string(column < 10 ? " " : "") + std::to_string(column);
}

std::string rowCaption(int row) {
    const char letter = static_cast<char>('A' + row);
    return seatName(letter, 1) + " ～ " + seatName(letter, 10);
}

std::string columnCaption(int column) {
    return seatName('A', column + 1) + " ～ " + seatName('J', column + 1);
}

void layChoice(CheckBox& box, int index, const char* caption, const char* tip) {
    box.caption = caption;
    box.toolTip = tip;
    box.place(kRowsFrameLeft, kChoicesTop + kBoxPitch * index, kChoicesWidth, kBoxHeight);
    box.foreColor = kPaleYellow;
    box.backColor = kWindowBack;
}

const char* flag(bool on) {
    return on ? "1" : "0";
}

void lay(Frame& frame, const char* caption, int left, std::array<CheckBox, 10>& boxes,
         std::string (*boxCaption)(int)) {
    frame.caption = caption;
    frame.place(left, kFrameTop, kFrameWidth, kFrameHeight);
    frame.foreColor = kPaleYellow;
    frame.backColor = kWindowBack;
    for (int k = 0; k < 10; ++k) {
        CheckBox& box = boxes[static_cast<std::size_t>(k)];
        box.container = &frame;
        box.caption = boxCaption(k);
        box.place(kBoxLeft, kBoxTop + kBoxPitch * k, kBoxWidth, kBoxHeight);
        box.foreColor = kPaleYellow;
        box.backColor = kWindowBack;
    }
}

}  // namespace

NoPrintWindow::NoPrintWindow(AppState& state, Platform& platform) : Form(platform), state_(state) {
    name = "NOPRINT";
    caption = "非印刷行・列";
    backColor = kWindowBack;
    centreDialog(*this, kClientWidth, kClientHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Frame1);
    TOSBEL_DECLARE(Check1);
    TOSBEL_DECLARE(Frame2);
    TOSBEL_DECLARE(Check2);
    TOSBEL_DECLARE(chkSameSize);
    TOSBEL_DECLARE(chkBothViews);
    TOSBEL_DECLARE(Command1);

    Label1.caption = "非印刷行・列を設定して､了解ボタンを押して下さい。";
    Label1.place(480, 360, 3855, 645);
    Label1.foreColor = kYellow;

    lay(Frame1, "行", kRowsFrameLeft, Check1, rowCaption);
    lay(Frame2, "列", kColumnsFrameLeft, Check2, columnCaption);
    for (int k = 0; k < 10; ++k) {
        Check1[static_cast<std::size_t>(k)].onClick = [this, k] { Check1_Click(k); };
        Check2[static_cast<std::size_t>(k)].onClick = [this, k] { Check2_Click(k); };
    }
    layChoice(chkSameSize, 0, "画面と同じ大きさ",
              "用紙いっぱいに広げずに、画面と同じ大きさで用紙の左上から印刷します");
    layChoice(chkBothViews, 1, "両方の向きで印刷",
              "生徒から見た図と教卓から見た図を、1枚ずつ続けて印刷します");

    layDialogButtons(Command1,
                     {kButtonsLeft, kButtonPitch, kButtonsTop, kButtonWidth, kButtonHeight},
                     [this](int k) { Command1_Click(k); });
}

void NoPrintWindow::Form_Load() {
    // Ticking runs the click handlers, which overwrite the copies: tick first,
    // then take the copies, so an untouched hand-edited value stays as it is.
    for (std::size_t k = 0; k < 10; ++k) {
        Check1[k].setValue(tickedValue(state_.NoLine[k]) ? 1 : 0);
        Check2[k].setValue(tickedValue(state_.NoRow[k]) ? 1 : 0);
    }
    state_.NoLineWork = state_.NoLine;
    state_.NoRowWork = state_.NoRow;
    chkSameSize.setValue(tickedValue(state_.PrtScreen) ? 1 : 0);
    chkBothViews.setValue(tickedValue(state_.PrtBoth) ? 1 : 0);
}

void NoPrintWindow::Check1_Click(int index) {
    const auto i = static_cast<std::size_t>(index);
    state_.NoLineWork[i] = flag(Check1[i].value == 1);
}

void NoPrintWindow::Check2_Click(int index) {
    const auto i = static_cast<std::size_t>(index);
    state_.NoRowWork[i] = flag(Check2[i].value == 1);
}

// A change is one the boxes show: a hand-edited "01" ticked off and on again
// reads "1" but marks the same row, so there is nothing to lose by leaving.
bool NoPrintWindow::changed() const {
    for (std::size_t k = 0; k < 10; ++k) {
        if (tickedValue(state_.NoLineWork[k]) != tickedValue(state_.NoLine[k])) return true;
        if (tickedValue(state_.NoRowWork[k]) != tickedValue(state_.NoRow[k])) return true;
    }
    return (chkSameSize.value == 1) != tickedValue(state_.PrtScreen) ||
           (chkBothViews.value == 1) != tickedValue(state_.PrtBoth);
}

void NoPrintWindow::store() {
    SettingsStore& settings = platform().settings();
    for (int k = 0; k < 10; ++k) {
        const auto i = static_cast<std::size_t>(k);
        state_.NoLine[i] = flag(Check1[i].value == 1);
        settings.save(section::RltVal, indexedKey(key::NoLine, k), state_.NoLine[i]);
    }
    for (int k = 0; k < 10; ++k) {
        const auto i = static_cast<std::size_t>(k);
        state_.NoRow[i] = flag(Check2[i].value == 1);
        settings.save(section::RltVal, indexedKey(key::NoRow, k), state_.NoRow[i]);
    }
    state_.PrtScreen = flag(chkSameSize.value == 1);
    settings.save(section::RltVal, key::PrtScreen, state_.PrtScreen);
    state_.PrtBoth = flag(chkBothViews.value == 1);
    settings.save(section::RltVal, key::PrtBoth, state_.PrtBoth);
}

void NoPrintWindow::Command1_Click(int index) {
    switch (index) {
        case 0:
            store();
            close();
            return;
        case 1:
            if (changed() && platform().messageBox(kUnsaved) != MsgAnswer::Ok) {
                Command1[0].setFocus();
                return;
            }
            close();
            return;
        default:
            platform().showHelp({HelpCommand::Context, help_page::NoPrint});
    }
}

void showNoPrintWindow(AppState& state, Platform& platform) {
    NoPrintWindow window(state, platform);
    window.showModal();
}

}  // namespace tosbel
