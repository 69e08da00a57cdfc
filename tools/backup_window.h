#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/form.h"

namespace tosbel {

struct AppState;
class Platform;

namespace key {
// Config: the folder the last backup went to, proposed the next time. Only
// where there is no floppy drive to back up to.
inline constexpr std::string_view BackupFolder = "BackupFolder";
}  // namespace key

// "A:\" on Windows when the machine has a drive A:, whether or not a disk is
// in it; none elsewhere, where the teacher picks a folder instead.
std::optional<std::string> floppyDrive();

// BACK_UP, "バックアップ": copies the ticked kinds of data files of the program
// folder to the floppy disk, or to a folder the teacher picks. The ticks are
// kept when 実行 is pressed and forgotten by 取消.
class BackupWindow final : public Form {
public:
    // `floppy`: the drive's root to copy to; none to ask for a folder.
    BackupWindow(AppState& state, Platform& platform,
                 std::optional<std::string> floppy = floppyDrive());

    std::array<Label, 5> Label1;  // 0 the instruction, 1 … 4 the patterns
    std::array<CheckBox, 4> Check1;  // 名簿, Tosbel結果, 結果履歴, ｶｳﾝﾄﾀﾞｳﾝ画像
    std::array<CommandButton, 3> Command1;  // 実行, 取消, ﾍﾙﾌﾟ

    void Form_Load() override;

    void Command1_Click(int index);

private:
    void run();
    void storeTicks();
    // The folder to copy to: the floppy's root, or the one the teacher picks
    // (empty when the dialog was cancelled).
    std::string chooseTarget();
    // None when every file was copied; else the file that could not be read,
    // or the empty text when the target took no file.
    using Failure = std::optional<std::string>;
    Failure copyKind(int kind, const std::string& target);

    AppState& state_;
    std::optional<std::string> floppy_;
};

// Opens BACK_UP modally; returns once it has closed.
void showBackupWindow(AppState& state, Platform& platform);

}  // namespace tosbel
