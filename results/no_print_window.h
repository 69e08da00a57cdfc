#pragma once

#include <array>

#include "platform/form.h"

namespace tosbel {

struct AppState;
class Platform;

// NOPRINT, "非印刷行・列": the rows and columns of the chart left off the
// printed page, and how the chart takes the paper. The boxes work on the
// copies NoLineWork and NoRowWork; only 了解 stores them.
class NoPrintWindow final : public Form {
public:
    NoPrintWindow(AppState& state, Platform& platform);

    Label Label1;                           // the instruction
    Frame Frame1;                           // "行"
    Frame Frame2;                           // "列"
    std::array<CheckBox, 10> Check1;        // row A … J
    std::array<CheckBox, 10> Check2;        // column 1 … 10
    CheckBox chkSameSize;                   // "画面と同じ大きさ": PrtScreen
    CheckBox chkBothViews;                  // both views, one page each: PrtBoth
    std::array<CommandButton, 3> Command1;  // 了解, 取消, ﾍﾙﾌﾟ

    void Form_Load() override;

    void Check1_Click(int index);
    void Check2_Click(int index);
    void Command1_Click(int index);

private:
    bool changed() const;
    void store();

    AppState& state_;
};

// Opens NOPRINT modally; returns once it has closed.
void showNoPrintWindow(AppState& state, Platform& platform);

}  // namespace tosbel
