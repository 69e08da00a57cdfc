#include "results/result_save.h"

#include <algorithm>

#include "core/seat_grid.h"
#include "platform/file_io.h"

namespace tosbel {

namespace {

const char* const kDialogTitle = "せきがえ結果の保存";
const char* const kFilter = "結果ﾌｧｲﾙ(*.RLT)|*.RLT|旧結果ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*";

const Message kSaved{"Tosbel結果を保存しました。", "保存確認", MsgButtons::Ok,
                     MsgIcon::Information};
const char* const kSaveTitle = "保存確認";
const char* const kSeatTitle = "氏名確認";
const char* const kHistoryTitle = "過去ﾛｸﾞ確認";
const char* const kOtherName = "\r\r別の名前を付けて下さい。";

// How a message names what cannot be kept: the character itself where it
// can be seen.
std::string describe(const UnsavableText& what) {
    switch (what.why) {
        case Unsavable::Comma:
            return "「,」";
        case Unsavable::LeadingQuote:
            return "先頭の「\"」";
        case Unsavable::LeadingBlank:
            return "先頭の空白";
        case Unsavable::LineBreak:
            return "改行";
        case Unsavable::Unrepresentable:
            break;
    }
    if (static_cast<unsigned char>(what.character.front()) < 0x20) return "制御文字";
    return "「" + what.character + "」";
}

Message seatRefused(const UnsavableSeat& seat) {
    return {seatLabel(seat.seat) + "の席の" + describe(seat.what) + "は結果ﾌｧｲﾙに保存できません。",
            kSeatTitle, MsgButtons::Ok, MsgIcon::Exclamation};
}

Message pathRefused(const std::string& path, const UnsavableText& what) {
    return {"「" + path + "」の" + describe(what) + "は過去ﾛｸﾞに記録できません。" + kOtherName,
            kSaveTitle, MsgButtons::Ok, MsgIcon::Exclamation};
}

Message historyChosen(const std::string& path) {
    return {"「" + path + "」は過去ﾛｸﾞを記録するﾌｧｲﾙです。" + kOtherName, kSaveTitle,
            MsgButtons::Ok, MsgIcon::Exclamation};
}

Message cannotSave(const std::string& path, const std::string& kind = "結果ﾌｧｲﾙ") {
    return {kind + "「" + path +
                "」を保存できませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。",
            kSaveTitle, MsgButtons::Ok, MsgIcon::Critical};
}

Message historyNotWritten(const std::string& path, const std::string& history) {
    return {"結果ﾌｧｲﾙ「" + path + "」は保存しましたが、過去ﾛｸﾞ「" + history +
                "」に記録できませんでした。\r\r"
                "書き込みできるか、ディスクに空きがあるかを確認して下さい。",
            kSaveTitle, MsgButtons::Ok, MsgIcon::Exclamation};
}

Message historyRestarted(const std::string& history) {
    return {"過去ﾛｸﾞ「" + history + "」を読めなかったので、今回の結果から記録し直しました。",
            kHistoryTitle, MsgButtons::Ok, MsgIcon::Exclamation};
}

// Refuses, with its message, a save that would not read back as written;
// nothing has been written yet.
bool refused(const std::string& path, const SeatTexts& seats, Platform& platform) {
    if (isResultHistory(path, platform.programFolder())) {
        platform.messageBox(historyChosen(path));
        return true;
    }
    // The history is read with the same rule as the chart, and its entry must
    // name this very file again.
    if (const auto what = findUnsavable(path, true)) {
        platform.messageBox(pathRefused(path, *what));
        return true;
    }
    if (const auto seat = findUnsavableSeat(seats)) {
        platform.messageBox(seatRefused(*seat));
        return true;
    }
    return false;
}

}  // namespace

bool saveChartCopy(const std::string& title, const std::string& filter, const std::string& kind,
                   const std::string& bytes, Platform& platform) {
    const std::string path = platform.saveFileDialog({title, filter, platform.programFolder(), ""});
    if (path.empty()) return false;
    if (isResultHistory(path, platform.programFolder())) {
        platform.messageBox(historyChosen(path));
        return false;
    }
    if (!replaceFile(path, bytes)) {
        platform.messageBox(cannotSave(path, kind));
        return false;
    }
    return true;
}

bool saveResult(AppState& state, const SeatTexts& seats, Platform& platform) {
    const std::string folder = platform.programFolder();
    state.ResultPath = platform.saveFileDialog({kDialogTitle, kFilter, folder, ""});
    const std::string& path = state.ResultPath;
    if (path.empty()) return false;
    if (refused(path, seats, platform)) return false;

    // The chart first: a history that names a file never written would offer
    // a past log that does not open.
    if (!writeResultFile(path, seats)) {
        platform.messageBox(cannotSave(path));
        return false;
    }

    // A history that cannot be read must not cost the result just saved: it
    // starts again from this entry.
    const HistoryUpdate history = recordInResultHistory(folder, path);

    if (!history.written) {
        platform.messageBox(historyNotWritten(path, resultHistoryPath(folder)));
        return true;
    }
    if (history.file == HistoryFile::Unreadable)
        platform.messageBox(historyRestarted(resultHistoryPath(folder)));
    platform.messageBox(kSaved);
    return true;
}

}  // namespace tosbel
