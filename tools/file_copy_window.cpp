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

const char* const kCopyFilter = "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|ﾚｲｱｳﾄ(*.LAY)|*.LAY|すべてのﾌｧｲﾙ(*.*)|*.*";
const char* const kCopyTitle = "複写確認";

const Message kNoDestination{"コピー先が入力されていません。", "入力確認", MsgButtons::Ok,
                             MsgIcon::Information};
const Message kCopied{"ファイルをコピーしました。", kCopyTitle, MsgButtons::Ok,
                      MsgIcon::Information};

// The notice's words for a refused copy.
std::string whyNotCopied(const MoveOutcome& outcome) {
    switch (outcome.refusal) {
        case MoveRefusal::SourceMissing:
            return kNotFound;
        case MoveRefusal::SourceNotAFile:
            return "コピー元はファイルではありません。";
        case MoveRefusal::SourceUnreadable:
            return "コピー元のファイルを読み込めませんでした。";
        case MoveRefusal::BadName:
            return kBadName;
        case MoveRefusal::NoTargetFolder:
            return "コピー先のフォルダが見つかりません。";
        case MoveRefusal::SameFile:
            return "コピー元と同じファイルです。別の名前を入力して下さい。";
        case MoveRefusal::TargetIsFolder:
            return kFolderTaken;
        case MoveRefusal::TargetNotAFile:
            return "コピー先はファイルではありません。";
        case MoveRefusal::TargetReadOnly:
            return "コピー先のファイルは書き込みが禁止されています。";
        case MoveRefusal::TargetUnwritable:
            return "書き込みできるか、ディスクに空きがあるかを確認して下さい。";
        default:
            return reasonFor(outcome.error);
    }
}

// The roster's seat wishes go to the copy's wish file, so the copy seats its
// class as the original does. A roster without wishes leaves the copy without
// any: wishes already under the copy's wish name belonged to the roster it
// replaced, or to one gone, and named other pupils, so they go to the trash as
// a deleted roster's do. None when all went well, else the notice.
std::optional<Message> copyWishes(Platform& platform, const std::string& source,
                                  const std::string& target, const std::string& typed) {
    if (!isRosterFile(source)) return std::nullopt;
    const std::string from = wishFileOf(source), to = wishFileOf(target);
    const std::string copied =
        "「" + bareName(source) + "」を「" + typed + "」にコピーしましたが、";
    const std::string stale = "コピーした名簿には、前からあった席の希望のファイル「" +
                              bareName(to) + "」の希望が使われます。";
    if (!fileThere(from)) {
        if (!fileThere(to)) return std::nullopt;
        const std::optional<std::string> why = removeFile(platform, to);
        if (!why) return std::nullopt;
        return Message{copied + "前からあった席の希望のファイル「" + bareName(to) +
                           "」を削除できませんでした。\r\r" + *why + "\r\r" + stale,
                       kCopyTitle, MsgButtons::Ok, MsgIcon::Exclamation};
    }
    const MoveOutcome outcome = copyOver(pathOf(from), pathOf(to));
    // The same file: both rosters' wish names reach it already.
    if (outcome.done() || outcome.refusal == MoveRefusal::SameFile) return std::nullopt;
    std::string text = copied + "席の希望のファイル「" + bareName(from) +
                       "」はコピーできませんでした。\r\r" + whyNotCopied(outcome);
    if (fileThere(to)) text += "\r\r" + stale;
    return Message{text, kCopyTitle, MsgButtons::Ok, MsgIcon::Exclamation};
}

}  // namespace

FileCopyWindow::FileCopyWindow(AppState& state, Platform& platform)
    : Form(platform), state_(state) {
    name = "FILESCOPY";
    caption = "ファイルのコピー";
    centreDialog(*this, kFileWindowWidth, kFileWindowHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Label3);
    TOSBEL_DECLARE(Label4);
    TOSBEL_DECLARE(Text1);
    TOSBEL_DECLARE(Command1);
    layFileWindow(Label1, "コピー先のﾌｧｲﾙ名を入力して、了解ボタンを押して下さい。", Label2,
                  "コピー元", Label3, Label4, "コピー先", Text1, Command1,
                  [this](int k) { Command1_Click(k); });
}

void FileCopyWindow::Command1_Click(int index) {
    switch (index) {
        case 0: {
            if (Text1.text.empty()) {
                platform().messageBox(kNoDestination);
                return;
            }
            const std::string& source = state_.RosterPath;
            const std::string target = utf8Of(typedTarget(source, Text1.text));
            const MoveOutcome copied = copyOver(pathOf(source), pathOf(target));
            if (!copied.done()) {
                platform().messageBox(failed("「" + bareName(source) + "」を「" + Text1.text +
                                                 "」にコピーできませんでした。",
                                             whyNotCopied(copied), kCopyTitle));
                Text1.setFocus();
                return;
            }
            platform().messageBox(
                copyWishes(platform(), source, target, Text1.text).value_or(kCopied));
            close();
            return;
        }
        case 1:
            close();
            return;
        default:
            platform().showHelp({HelpCommand::Context, help_page::FileCopy});
    }
}

void copyDataFile(AppState& state, Platform& platform) {
    state.RosterPath = platform.openFileDialog(
        {"コピーするﾌｧｲﾙを選択", kCopyFilter, platform.programFolder(), ""});
    if (!state.RosterPath.empty()) {
        FileCopyWindow window(state, platform);
        window.Label3.caption = bareName(state.RosterPath);
        window.showModal();
    }
    state.RosterPath.clear();
}

}  // namespace tosbel
