#include "tools/file_management.h"

#include <optional>
#include <string>

#include "core/app_state.h"
#include "core/help_pages.h"
#include "core/seat_wishes.h"
#include "core/window_place.h"
#include "platform/file_io.h"
#include "platform/file_moves.h"
#include "platform/platform.h"
#include "tools/file_window_parts.h"

namespace tosbel {

namespace {

const char* const kRenameTitle = "変更確認";

const Message kNoNewName{"新しい名前が入力されていません。", "ﾌｧｲﾙ名入力確認", MsgButtons::Ok,
                         MsgIcon::Information};
const Message kRenamed{"ファイル名を変更しました。", kRenameTitle, MsgButtons::Ok,
                       MsgIcon::Information};

// The notice's words for a refused rename.
std::string whyNotRenamed(const MoveOutcome& outcome) {
    switch (outcome.refusal) {
        case MoveRefusal::SourceMissing:
            return kNotFound;
        case MoveRefusal::BadName:
            return kBadName;
        case MoveRefusal::TargetIsFolder:
            return kFolderTaken;
        case MoveRefusal::NameTaken:
            return kNameTaken;
        case MoveRefusal::SameFile:
            return "元のファイルと同じファイルです。別の名前を入力して下さい。";
        default:
            return reasonFor(outcome.error);
    }
}

// The roster's seat wishes take its new name too, never over another file: one
// that cannot keeps its old name, so no wish is lost. None when done or when
// there were none, else the notice.
std::optional<Message> renameWishes(const std::string& file, const std::string& target,
                                    const std::string& typed) {
    if (!isRosterFile(file)) return std::nullopt;
    const std::string from = wishFileOf(file);
    if (!fileThere(from)) return std::nullopt;
    const std::string to = wishFileOf(target);
    const MoveOutcome outcome = renameTo(pathOf(from), pathOf(to));
    // The same file: the new name's wish name reaches it already.
    if (outcome.done() || outcome.refusal == MoveRefusal::SameFile) return std::nullopt;
    // The roster has its new name already, so asking for another name would mislead.
    const bool taken =
        outcome.refusal == MoveRefusal::NameTaken || outcome.refusal == MoveRefusal::TargetIsFolder;
    return Message{
        "「" + bareName(file) + "」の名前を「" + typed +
            "」に変更しましたが、席の希望のファイル「" + bareName(from) +
            "」の名前は変更できませんでした。\r\r" +
            (taken ? "「" + bareName(to) + "」という名前のファイルかフォルダがすでにあります。"
                   : whyNotRenamed(outcome)) +
            "\r\r席の希望は「" + bareName(from) + "」のまま残っています。",
        kRenameTitle, MsgButtons::Ok, MsgIcon::Exclamation};
}

}  // namespace

RenameWindow::RenameWindow(AppState& state, Platform& platform) : Form(platform), state_(state) {
    name = "RENAME";
    caption = "ファイル名の変更";
    centreDialog(*this, kFileWindowWidth, kFileWindowHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Label3);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Label4);
    TOSBEL_DECLARE(Text1);
    TOSBEL_DECLARE(Command1);
    layFileWindow(Label1, "新しいファイルを名を入力して、了解ボタンを押して下さい。", Label3,
                  "元の名前", Label2, Label4, "新しい名前", Text1, Command1,
                  [this](int k) { Command1_Click(k); });
}

void RenameWindow::Command1_Click(int index) {
    switch (index) {
        case 0: {
            if (Text1.text.empty()) {
                platform().messageBox(kNoNewName);
                Text1.setFocus();
                return;
            }
            const std::string& file = state_.RenamePath;
            const std::string target = utf8Of(typedTarget(file, Text1.text));
            const MoveOutcome renamed = renameTo(pathOf(file), pathOf(target));
            if (!renamed.done()) {
                platform().messageBox(failed("「" + bareName(file) + "」の名前を「" + Text1.text +
                                                 "」に変更できませんでした。",
                                             whyNotRenamed(renamed), kRenameTitle));
                Text1.setFocus();
                return;
            }
            platform().messageBox(renameWishes(file, target, Text1.text).value_or(kRenamed));
            close();
            return;
        }
        case 1:
            close();
            return;
        default:
            platform().showHelp({HelpCommand::Context, help_page::FileRename});
    }
}

void renameDataFile(AppState& state, Platform& platform) {
    state.RenamePath = platform.openFileDialog(
        {"名前を変更するﾌｧｲﾙを選択", kRosterFilter, platform.programFolder(), ""});
    if (!state.RenamePath.empty()) {
        RenameWindow window(state, platform);
        window.Label2.caption = bareName(state.RenamePath);
        window.showModal();
    }
    state.RenamePath.clear();
}

}  // namespace tosbel
