#include "tools/file_management.h"

#include <string>

#include "core/app_state.h"
#include "core/help_pages.h"
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
            const MoveOutcome copied = copyOver(pathOf(source), typedTarget(source, Text1.text));
            if (!copied.done()) {
                platform().messageBox(failed("「" + bareName(source) + "」を「" + Text1.text +
                                                 "」にコピーできませんでした。",
                                             whyNotCopied(copied), kCopyTitle));
                Text1.setFocus();
                return;
            }
            platform().messageBox(kCopied);
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
