#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "platform/form.h"
#include "platform/platform.h"

namespace tosbel {

// What the copy and rename windows and the delete command share.

// The client size of FILESCOPY and RENAME.
inline constexpr int kFileWindowWidth = 5400;
inline constexpr int kFileWindowHeight = 2520;

inline constexpr const char* kRosterFilter =
    "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*";

// The reasons a notice gives for more than one command.
inline constexpr const char* kNotFound = "ファイルが見つかりません。";
inline constexpr const char* kBadName = "名前が正しくありません。";
inline constexpr const char* kNameTaken =
    "同じ名前のファイルがすでにあります。別の名前を入力して下さい。";
inline constexpr const char* kFolderTaken =
    "同じ名前のフォルダがあります。別の名前を入力して下さい。";

// Why the system refused a file operation, in the words of the notice.
std::string reasonFor(const std::error_code& ec);

// The notice of a failed operation: what was tried, a blank line, why.
Message failed(const std::string& what, const std::string& why, const char* title);

std::string bareName(const std::string& path);

// A roster file (*.MEM, or the older *.DAT, in any letter case), the only kind
// whose seat wish file goes along when it is copied, renamed or deleted: a
// layout or result of the same name has none.
bool isRosterFile(const std::string& path);

// Something, even a broken link, is under the name.
bool fileThere(const std::string& path);

// Into the trash where the desktop has one, so a file deleted by mistake can
// be got back; else removed. None when done, else why not, in the words of the
// notice.
std::optional<std::string> removeFile(Platform& platform, const std::string& path);

// The name as typed; one without a folder lies beside the picked file, where
// the file dialog has always left the working folder.
std::filesystem::path typedTarget(const std::string& picked, const std::string& typed);

// The parts FILESCOPY and RENAME share: the instruction, the picked file's name
// on dark grey, the box for the new name and the three buttons.
void layFileWindow(Label& instruction, const char* text, Label& fromCaption, const char* from,
                   Label& fromName, Label& toCaption, const char* to, TextBox& box,
                   std::array<CommandButton, 3>& buttons, const std::function<void(int)>& onClick);

}  // namespace tosbel
