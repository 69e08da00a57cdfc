#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/form.h"

namespace tosbel {

struct AppState;
class Platform;

// The standard paint program's name as the settings keep it (OptEdit2 with
// OptEdit "0").
inline constexpr std::string_view kStandardPaint = "MSPAINT.EXE";

// Where there is no system paint program at a fixed place, the standard one
// is the first of these found on the PATH: simple painters first, since the
// pictures to draw are small.
inline constexpr std::array<std::string_view, 4> kPaintPrograms = {"kolourpaint", "pinta",
                                                                   "mtpaint", "gimp"};

// Where Windows keeps its paint program: the drive of `winDir` ("C:\"), the
// folder of the Windows version named `osName`, then `program`. None for a
// version with no known folder.
std::optional<std::string> windowsPaintPath(std::string_view winDir, std::string_view osName,
                                            std::string_view program);

// The first of kPaintPrograms installed in a folder of `pathVariable` (folders
// separated by ':'); empty when none is. Only absolute folders count, so a
// program in whatever folder the program happens to run from is never taken.
std::string findPaintProgram(std::string_view pathVariable);

// RUN_SOFT, "編集ｿﾌﾄ": which picture editor "編集ｿﾌﾄの起動(&E)" starts, the
// standard paint program or one the teacher chose. It works on copies; only
// 了解, or a confirmed 取消 (back to the standard program), stores.
class EditingSoftware final : public Form {
public:
    EditingSoftware(AppState& state, Platform& platform);

    std::array<Label, 1> Label1;            // the instruction
    std::array<OptionButton, 2> Option1;    // "標準（ﾍﾟｲﾝﾄ）", "その他"
    CommandButton Command2;                 // choose the program; only with "その他"
    std::array<CommandButton, 3> Command1;  // 了解, 取消, ﾍﾙﾌﾟ

    // The option chosen (0 or 1), the program it stands for, and the last
    // name the file dialog gave.
    int C1_Index = 0;
    std::string OptEdit3;
    std::string FileR;

    void Form_Load() override;

    void Option1_Click(int index);
    void Command2_Click();
    void Command1_Click(int index);

private:
    void store(const std::string& option, const std::string& program);
    void showChosen();

    AppState& state_;
};

// Opens RUN_SOFT modally; returns once it has closed.
void showEditingSoftware(AppState& state, Platform& platform);

// "編集ｿﾌﾄの起動(&E)": starts the chosen program, or the standard paint
// program (on Windows the one of `osName`, "Windows XP" and the like), with
// no arguments and without waiting; says so when the file is not there.
void runEditingSoftware(AppState& state, Platform& platform, const std::string& osName);

}  // namespace tosbel
