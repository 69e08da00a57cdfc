#pragma once

#include <array>
#include <string>

#include "platform/form.h"

namespace tosbel {

struct AppState;
class Platform;

// FILESCOPY, "ファイルのコピー": asks where the file in RosterPath is copied to.
class FileCopyWindow final : public Form {
public:
    FileCopyWindow(AppState& state, Platform& platform);

    Label Label1;                           // the instruction
    Label Label2;                           // "コピー元"
    Label Label3;                           // the picked file's name
    Label Label4;                           // "コピー先"
    TextBox Text1;                          // the destination, as typed
    std::array<CommandButton, 3> Command1;  // 了解, 取消, ﾍﾙﾌﾟ

    void Command1_Click(int index);

private:
    AppState& state_;
};

// RENAME, "ファイル名の変更": asks for the new name of the file in RenamePath.
class RenameWindow final : public Form {
public:
    RenameWindow(AppState& state, Platform& platform);

    Label Label1;                           // the instruction
    Label Label3;                           // "元の名前"
    Label Label2;                           // the picked file's name
    Label Label4;                           // "新しい名前"
    TextBox Text1;                          // the new name, as typed
    std::array<CommandButton, 3> Command1;  // 了解, 取消, ﾍﾙﾌﾟ

    void Command1_Click(int index);

private:
    AppState& state_;
};

// The commands of "ﾃﾞｰﾀ管理(&M)". Each lets the teacher pick a file, then copies
// it, gives it a new name or deletes it; each returns once its windows and
// messages are done. Copy and delete leave RosterPath empty, rename RenamePath.
void copyDataFile(AppState& state, Platform& platform);
void renameDataFile(AppState& state, Platform& platform);
// A deleted file goes to the desktop's trash where there is one. The result
// history then loses every entry whose file is gone.
void deleteDataFile(AppState& state, Platform& platform);

}  // namespace tosbel
