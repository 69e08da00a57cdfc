#include "tools/file_management.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/platform.h"
#include "results/result_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#endif

namespace tosbel {

namespace fs = std::filesystem;

namespace {

constexpr int kClientWidth = 5400;
constexpr int kClientHeight = 2520;
constexpr int kHelpCopy = 29;
constexpr int kHelpRename = 30;

constexpr int kMargin = 240;
constexpr int kCaptionWidth = 1020, kCaptionHeight = 300;
constexpr int kBoxLeft = 1320, kBoxWidth = kClientWidth - kBoxLeft - kMargin, kBoxHeight = 360;
constexpr int kFromTop = 630, kToTop = 1110;
constexpr int kButtonsLeft = 420, kButtonPitch = 1680, kButtonsTop = 1800;
constexpr int kButtonWidth = 1200, kButtonHeight = 420;

constexpr Rgb kDarkGrey{0x40, 0x40, 0x40};
constexpr Rgb kPaleYellow{0xFF, 0xFF, 0x80};
constexpr Rgb kYellow{0xFF, 0xFF, 0x00};

const char* const kRosterFilter =
    "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*";
const char* const kCopyFilter = "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|ﾚｲｱｳﾄ(*.LAY)|*.LAY|すべてのﾌｧｲﾙ(*.*)|*.*";

const char* const kCopyTitle = "複写確認";
const char* const kRenameTitle = "変更確認";
const char* const kDeleteTitle = "削除確認";
const char* const kHistoryTitle = "過去ﾛｸﾞ確認";

const Message kNoDestination{"コピー先が入力されていません。", "入力確認", MsgButtons::Ok,
                             MsgIcon::Information};
const Message kCopied{"ファイルをコピーしました。", kCopyTitle, MsgButtons::Ok,
                      MsgIcon::Information};
const Message kNoNewName{"新しい名前が入力されていません。", "ﾌｧｲﾙ名入力確認", MsgButtons::Ok,
                         MsgIcon::Information};
const Message kRenamed{"ファイル名を変更しました。", kRenameTitle, MsgButtons::Ok,
                       MsgIcon::Information};
const Message kDeleteQuestion{"指定されたﾌｧｲﾙを削除します。 よろしいですか？", kDeleteTitle,
                              MsgButtons::OkCancel, MsgIcon::Question};
const Message kDeleted{"指定されたﾌｧｲﾙを削除しました。", "削除情報", MsgButtons::Ok,
                       MsgIcon::Information};

// Why a file operation failed, in the words of the notice.
using Refusal = std::optional<std::string>;

const char* const kNotFound = "ファイルが見つかりません。";
const char* const kBadName = "名前が正しくありません。";
const char* const kNameTaken = "同じ名前のファイルがすでにあります。別の名前を入力して下さい。";
const char* const kFolderTaken = "同じ名前のフォルダがあります。別の名前を入力して下さい。";
const char* const kSameFile = "元のファイルと同じファイルです。別の名前を入力して下さい。";

std::string reasonFor(const std::error_code& ec) {
    using std::errc;
    if (ec == errc::no_such_file_or_directory || ec == errc::not_a_directory) return kNotFound;
    if (ec == errc::permission_denied || ec == errc::operation_not_permitted)
        return "ファイルへのアクセスが許可されていません。";
    if (ec == errc::read_only_file_system) return "書き込みが禁止されたドライブです。";
    if (ec == errc::file_exists || ec == errc::directory_not_empty) return kNameTaken;
    if (ec == errc::is_a_directory) return kFolderTaken;
    if (ec == errc::no_space_on_device) return "ディスクに空きがありません。";
    if (ec == errc::filename_too_long) return "名前が長すぎます。";
    if (ec == errc::invalid_argument) return kBadName;
    if (ec == errc::cross_device_link) return "別のドライブへは移せません。";
    if (ec == errc::device_or_resource_busy || ec == errc::text_file_busy)
        return "ファイルが使用中です。";
    return "ファイルを操作できませんでした。";
}

Message failed(const std::string& what, const std::string& why, const char* title) {
    return {what + "\r\r" + why, title, MsgButtons::Ok, MsgIcon::Critical};
}

std::string bareName(const std::string& path) {
    return utf8Of(pathOf(path).filename());
}

// The name as typed; one without a folder lies beside the picked file, where
// the file dialog has always left the working folder.
fs::path typedTarget(const std::string& picked, const std::string& typed) {
    const fs::path name = pathOf(typed);
    if (name.is_absolute()) return name;
    return pathOf(picked).parent_path() / name;
}

fs::path folderOf(const fs::path& p) {
    return p.parent_path().empty() ? fs::path(".") : p.parent_path();
}

// A name every file the program makes can carry to a USB stick or a Windows
// PC: not blanks alone, and none of the characters those cannot hold.
bool namesAFile(const fs::path& p) {
    const std::string name = utf8Of(p.filename());
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) return false;
    std::string_view rest = name;
    for (;;) {
        if (rest.starts_with(' ') || rest.starts_with('\t'))
            rest.remove_prefix(1);
        else if (rest.starts_with("\u3000"))
            rest.remove_prefix(std::string_view("\u3000").size());
        else
            break;
    }
    return !rest.empty();
}

// Whole or not at all: the copy is written beside the destination and moved
// over it once complete, so a failure leaves a file already there as it was.
Refusal copyOver(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const fs::file_status source = fs::status(from, ec);
    if (source.type() == fs::file_type::not_found) return kNotFound;
    if (ec) return reasonFor(ec);
    if (!fs::is_regular_file(source)) return "コピー元はファイルではありません。";

    if (!namesAFile(to)) return kBadName;
    if (!fs::is_directory(folderOf(to), ec)) return "コピー先のフォルダが見つかりません。";
    const fs::file_status target = fs::status(to, ec);
    if (fs::exists(target)) {
        if (fs::equivalent(from, to, ec))
            return "コピー元と同じファイルです。別の名前を入力して下さい。";
        if (fs::is_directory(target)) return kFolderTaken;
        if (!fs::is_regular_file(target)) return "コピー先はファイルではありません。";
        if ((target.permissions() & fs::perms::owner_write) == fs::perms::none)
            return "コピー先のファイルは書き込みが禁止されています。";
    }

    switch (copyFile(utf8Of(from), utf8Of(to))) {
        case CopyOutcome::Copied:
            return std::nullopt;
        case CopyOutcome::SourceUnreadable:
            return "コピー元のファイルを読み込めませんでした。";
        case CopyOutcome::TargetFailed:
            break;
    }
    return "書き込みできるか、ディスクに空きがあるかを確認して下さい。";
}

// A plain rename would silently replace a file already under the new name;
// this one fails instead, checked by the system itself where it can.
std::error_code moveWithoutReplacing(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED)) return {};
    return {static_cast<int>(GetLastError()), std::system_category()};
#else
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    // Some file systems do not know the flag; the check below does instead.
    if (errno != EINVAL && errno != ENOSYS) return {errno, std::generic_category()};
#endif
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) return std::make_error_code(std::errc::file_exists);
    fs::rename(from, to, ec);
    return ec;
#endif
}

// `to` reaches the folder entry of `from` only because the system ignores
// letter case: the folder lists one of the two spellings, not both, and they
// differ. Two names listed are two links to one file.
bool sameEntryRespelled(const fs::path& from, const fs::path& to) {
    const std::string fromName = utf8Of(from.filename()), toName = utf8Of(to.filename());
    std::error_code ec;
    if (fromName == toName || !fs::equivalent(folderOf(from), folderOf(to), ec)) return false;
    int listed = 0;
    for (fs::directory_iterator it(folderOf(from), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = utf8Of(it->path().filename());
        if (name == fromName || name == toName) ++listed;
    }
    return !ec && listed == 1;
}

Refusal renameTo(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::symlink_status(from, ec).type() == fs::file_type::not_found) return kNotFound;
    if (!namesAFile(to)) return kBadName;
    const fs::file_status target = fs::symlink_status(to, ec);
    if (fs::exists(target)) {
        if (fs::is_directory(target)) return kFolderTaken;
        if (fs::is_symlink(target) || !fs::equivalent(from, to, ec)) return kNameTaken;
        // The very file under a second name (a link, or the same name again):
        // the system would "rename" it by changing nothing.
        if (!sameEntryRespelled(from, to)) return kSameFile;
        // The file itself under another spelling, as letter case is where the
        // system ignores it: that is a rename.
        fs::rename(from, to, ec);
    } else {
        ec = moveWithoutReplacing(from, to);
    }
    if (ec) return reasonFor(ec);
    flushFolder(utf8Of(folderOf(to)));
    if (!fs::equivalent(folderOf(from), folderOf(to), ec)) flushFolder(utf8Of(folderOf(from)));
    return std::nullopt;
}

// Into the trash where the desktop has one, so a roster deleted by mistake can
// be got back.
Refusal removeFile(Platform& platform, const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(pathOf(path), ec);
    if (st.type() == fs::file_type::not_found) return kNotFound;
    if (fs::is_directory(st)) return "フォルダは削除できません。";
    if (platform.moveToTrash(path)) return std::nullopt;
    if (fs::remove(pathOf(path), ec)) return std::nullopt;
    return ec ? reasonFor(ec) : kNotFound;
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

// The parts FILESCOPY and RENAME share: the instruction, the picked file's name
// on dark grey, the box for the new name and the three buttons.
void layOut(Label& instruction, const char* text, Label& fromCaption, const char* from,
            Label& fromName, Label& toCaption, const char* to, TextBox& box,
            std::array<CommandButton, 3>& buttons, const std::function<void(int)>& onClick) {
    instruction.caption = text;
    instruction.place(kMargin, 180, kClientWidth - 2 * kMargin, kCaptionHeight);

    fromCaption.caption = from;
    fromCaption.place(kMargin, kFromTop + 60, kCaptionWidth, kCaptionHeight);
    fromName.place(kBoxLeft, kFromTop, kBoxWidth, kBoxHeight);
    fromName.backColor = kDarkGrey;
    fromName.foreColor = kPaleYellow;

    toCaption.caption = to;
    toCaption.place(kMargin, kToTop + 60, kCaptionWidth, kCaptionHeight);
    box.place(kBoxLeft, kToTop, kBoxWidth, kBoxHeight);
    box.accessibleName = to;  // the caption beside it, for a screen reader
    box.backColor = kDarkGrey;
    box.foreColor = kYellow;
    // Enter after the name does what 了解 does, as in every dialog.
    box.onKeyPress = [onClick](KeyPress& press) {
        if (press.key != kKeyEnter) return;
        press.key = 0;
        onClick(0);
    };

    layDialogButtons(
        buttons, {kButtonsLeft, kButtonPitch, kButtonsTop, kButtonWidth, kButtonHeight}, onClick);
}

}  // namespace

FileCopyWindow::FileCopyWindow(AppState& state, Platform& platform)
    : Form(platform), state_(state) {
    name = "FILESCOPY";
    caption = "ファイルのコピー";
    centreDialog(*this, kClientWidth, kClientHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Label3);
    TOSBEL_DECLARE(Label4);
    TOSBEL_DECLARE(Text1);
    TOSBEL_DECLARE(Command1);
    layOut(Label1, "コピー先のﾌｧｲﾙ名を入力して、了解ボタンを押して下さい。", Label2, "コピー元",
           Label3, Label4, "コピー先", Text1, Command1, [this](int k) { Command1_Click(k); });
}

void FileCopyWindow::Command1_Click(int index) {
    switch (index) {
        case 0: {
            if (Text1.text.empty()) {
                platform().messageBox(kNoDestination);
                return;
            }
            const std::string& source = state_.RosterPath;
            if (const Refusal why = copyOver(pathOf(source), typedTarget(source, Text1.text))) {
                platform().messageBox(failed("「" + bareName(source) + "」を「" + Text1.text +
                                                 "」にコピーできませんでした。",
                                             *why, kCopyTitle));
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
            platform().showHelp({HelpCommand::Context, kHelpCopy});
    }
}

RenameWindow::RenameWindow(AppState& state, Platform& platform) : Form(platform), state_(state) {
    name = "RENAME";
    caption = "ファイル名の変更";
    centreDialog(*this, kClientWidth, kClientHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Label3);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Label4);
    TOSBEL_DECLARE(Text1);
    TOSBEL_DECLARE(Command1);
    layOut(Label1, "新しいファイルを名を入力して、了解ボタンを押して下さい。", Label3, "元の名前",
           Label2, Label4, "新しい名前", Text1, Command1, [this](int k) { Command1_Click(k); });
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
            if (const Refusal why = renameTo(pathOf(file), typedTarget(file, Text1.text))) {
                platform().messageBox(failed("「" + bareName(file) + "」の名前を「" + Text1.text +
                                                 "」に変更できませんでした。",
                                             *why, kRenameTitle));
                Text1.setFocus();
                return;
            }
            platform().messageBox(kRenamed);
            close();
            return;
        }
        case 1:
            close();
            return;
        default:
            platform().showHelp({HelpCommand::Context, kHelpRename});
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

void deleteDataFile(AppState& state, Platform& platform) {
    state.RosterPath = platform.openFileDialog(
        {"削除するﾌｧｲﾙを選択", kRosterFilter, platform.programFolder(), ""});
    const std::string& path = state.RosterPath;
    if (!path.empty() && platform.messageBox(kDeleteQuestion) == MsgAnswer::Ok) {
        if (const Refusal why = removeFile(platform, path)) {
            platform.messageBox(
                failed("「" + bareName(path) + "」を削除できませんでした。", *why, kDeleteTitle));
        } else {
            platform.messageBox(kDeleted);
            pruneResultHistory(platform);
        }
    }
    state.RosterPath.clear();
}

}  // namespace tosbel
