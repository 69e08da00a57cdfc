#pragma once

#include <array>
#include <string>

#include "platform/form.h"

namespace tosbel {

struct AppState;
class Platform;

// CNTVAL, "詳細": whether the countdown runs before a shuffle, how many
// seconds it counts and the picture for each second. It works on copies; only
// 了解 stores them.
class CountdownSettings final : public Form {
public:
    CountdownSettings(AppState& state, Platform& platform);

    CheckBox Check1;                         // "表示する"
    ScrollBar VScroll1;                      // seconds, 1 … 10
    std::array<Label, 2> Label1;             // 0 the instruction, 1 the seconds chosen
    Frame Frame1;                            // "コマ画面"
    std::array<CommandButton, 10> Command2;  // k: the picture for k + 1 seconds
    std::array<Label, 10> Label2;            // "･･･１秒" … "･･･10秒"
    std::array<CommandButton, 3> Command1;   // 了解, 取消, ﾍﾙﾌﾟ

    // The tick box as it stands, and WaitTime as it was at opening, for 取消
    // to tell whether anything changed.
    std::string OptWait2;
    std::string WaitTM;

    void Form_Load() override;

    void Check1_Click();
    void VScroll1_Change();
    void Command2_Click(int index);
    void Command1_Click(int index);

private:
    void enableCountdownParts(bool on);
    void showPicture(int index);

    AppState& state_;
};

// Opens CNTVAL modally; returns once it has closed.
void showCountdownSettings(AppState& state, Platform& platform);

}  // namespace tosbel
