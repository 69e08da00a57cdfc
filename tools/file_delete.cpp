#include "tools/file_management.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/app_state.h"
#include "core/seat_wishes.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/platform.h"
#include "results/result_file.h"
#include "tools/file_window_parts.h"

namespace tosbel {

namespace fs = std::filesystem;

namespace {

const char* const kDeleteTitle = "削除確認";
const char* const kHistoryTitle = "過去ﾛｸﾞ確認";

const Message kDeleteQuestion{"指定されたﾌｧｲﾙを削除します。 よろしいですか？", kDeleteTitle,
                              MsgButtons::OkCancel, MsgIcon::Question};
const Message kDeleted{"指定されたﾌｧｲﾙを削除しました。", "削除情報", MsgButtons::Ok,
                       MsgIcon::Information};

// A roster's seat wishes name its pupils: they go the way the roster went. None
// when done or when there were none, else the notice.
std::optional<Message> deleteWishes(Platform& platform, const std::string& roster) {
    if (!isRosterFile(roster)) return std::nullopt;
    const std::string wishes = wishFileOf(roster);
    if (!fileThere(wishes)) return std::nullopt;
    const std::optional<std::string> why = removeFile(platform, wishes);
    if (!why) return std::nullopt;
    return Message{"「" + bareName(roster) + "」を削除しましたが、席の希望のファイル「" +
                       bareName(wishes) + "」は削除できませんでした。\r\r" + *why,
                   kDeleteTitle, MsgButtons::Ok, MsgIcon::Exclamation};
}

// An entry names a result file still there; a relative one counts from the
// program folder, as the past-log menu opens it from there.
bool stillThere(const std::string& entry, const std::string& programFolder) {
    fs::path p = pathOf(entry);
    if (p.is_relative()) p = pathOf(programFolder) / p;
    std::error_code ec;
    const fs::file_type type = fs::status(p, ec).type();
    // One that cannot be looked at (a folder the teacher may not read) is kept.
    return type != fs::file_type::not_found && type != fs::file_type::directory;
}

// The history keeps only entries whose files are still there, whatever was
// deleted; nothing else is dropped, however long a hand-made history is.
void pruneResultHistory(Platform& platform) {
    const std::string folder = platform.programFolder();
    const FolderLock lock(folder);
    const HistoryRead history = loadResultHistory(folder, SIZE_MAX);
    const std::string path = resultHistoryPath(folder);
    if (history.file == HistoryFile::Missing) return;
    if (history.file == HistoryFile::Unreadable) {
        platform.messageBox({"過去ﾛｸﾞ「" + path + "」を読めなかったので、整理しませんでした。",
                             kHistoryTitle, MsgButtons::Ok, MsgIcon::Exclamation});
        return;
    }
    std::vector<std::string> kept;
    for (const std::string& entry : history.entries)
        if (stillThere(entry, folder)) kept.push_back(entry);

    // Nothing to drop: a history the teacher made read-only is no failure then.
    if (kept.size() == history.entries.size()) return;
    if (!writeResultHistory(folder, kept))
        platform.messageBox({"過去ﾛｸﾞ「" + path +
                                 "」を整理できませんでした。\r\r"
                                 "書き込みできるか、ディスクに空きがあるかを確認して下さい。",
                             kHistoryTitle, MsgButtons::Ok, MsgIcon::Exclamation});
}

}  // namespace

void deleteDataFile(AppState& state, Platform& platform) {
    state.RosterPath = platform.openFileDialog(
        {"削除するﾌｧｲﾙを選択", kRosterFilter, platform.programFolder(), ""});
    const std::string& path = state.RosterPath;
    if (!path.empty() && platform.messageBox(kDeleteQuestion) == MsgAnswer::Ok) {
        if (const std::optional<std::string> why = removeFile(platform, path)) {
            platform.messageBox(
                failed("「" + bareName(path) + "」を削除できませんでした。", *why, kDeleteTitle));
        } else {
            platform.messageBox(deleteWishes(platform, path).value_or(kDeleted));
            pruneResultHistory(platform);
        }
    }
    state.RosterPath.clear();
}

}  // namespace tosbel
