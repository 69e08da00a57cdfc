#include "tools/backup_window.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "core/help_pages.h"
#include "core/seat_wishes.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/file_io.h"
#include "platform/platform.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tosbel {

namespace fs = std::filesystem;

namespace {

// Wide enough for the instruction on one line.
constexpr int kClientWidth = 5400;
constexpr int kClientHeight = 3300;

// Two kinds to a row, each pattern under its box, in line with the box's caption.
constexpr int kBoxLeft = 720, kColumnPitch = 2400, kBoxTop = 900, kRowPitch = 780;
constexpr int kBoxWidth = 2040, kBoxHeight = 300;
constexpr int kPatternIndent = 270, kPatternHeight = 240;
constexpr int kButtonsLeft = 450, kButtonPitch = 1650, kButtonsTop = 2640;
constexpr int kButtonWidth = 1200, kButtonHeight = 420;

struct Kind {
    const char* caption;
    std::string_view pattern;  // "*" and the ending, matched in any letter case
};
constexpr std::array<Kind, 4> kKinds = {
    {{"名簿", "*.MEM"}, {"Tosbel結果", "*.RLT"}, {"結果履歴", "*.INI"}, {"ｶｳﾝﾄﾀﾞｳﾝ画像", "*.BMP"}}};
constexpr int kRosters = 0;

constexpr const char* kPrepareTitle = "ﾊﾞｯｸｱｯﾌﾟ準備";
const Message kPrepareFloppy{
    "データのバックアップをとります。 フロッピーディスクをセットして下さい。", kPrepareTitle,
    MsgButtons::OkCancel, MsgIcon::Question};
const Message kFloppyFailed{
    "ドライブＡにフロッピーディスクがセットされていません。\r\r"
    "処理を続ける場合はフロッピーディスクをセットして下さい。",
    kPrepareTitle, MsgButtons::OkCancel, MsgIcon::Question};
const Message kPrepareFolder{
    "データのバックアップをとります。 "
    "ＵＳＢメモリなどをセットして、次に保存先のフォルダを選んで下さい。",
    kPrepareTitle, MsgButtons::OkCancel, MsgIcon::Question};
constexpr const char* kFolderDialogTitle = "バックアップ先のフォルダの選択";
const Message kSameFolder{
    "プログラムのフォルダにはバックアップできません。\r\r"
    "ＵＳＢメモリや別のドライブなど、別のフォルダを選んで下さい。",
    kPrepareTitle, MsgButtons::Ok, MsgIcon::Exclamation};
const Message kDone{"バックアップを完了しました。", "終了確認", MsgButtons::Ok,
                    MsgIcon::Information};

Message folderFailed(const std::string& folder) {
    return {"バックアップ先のフォルダ「" + folder +
                "」にデータを保存できません。\r\r"
                "処理を続ける場合はＵＳＢメモリなどがセットされているか確認して下さい。",
            kPrepareTitle, MsgButtons::OkCancel, MsgIcon::Question};
}

// The source is at fault, not the USB stick: asking to check the stick
// again would fail the same way for ever.
Message sourceUnreadable(const std::string& path) {
    return {"ﾌｧｲﾙ「" + path +
                "」を読み込めないので、バックアップできませんでした。\r\r"
                "ﾌｧｲﾙが読み込めるか確認して下さい。",
            "ﾊﾞｯｸｱｯﾌﾟ確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

const char* flag(bool on) {
    return on ? "1" : "0";
}

// The program's own files are named in capitals, but a file renamed by hand,
// or "Tosbel.ini", belongs to its kind all the same.
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool hasEnding(const std::string& name, std::string_view ending) {
    if (name.size() < ending.size()) return false;
    const std::size_t from = name.size() - ending.size();
    for (std::size_t i = 0; i < ending.size(); ++i)
        if (lower(name[from + i]) != lower(ending[i])) return false;
    return true;
}

// Hidden and system files are the desktop's or the system's, not the teacher's data.
bool isHidden(const fs::path& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
    return utf8Of(path.filename()).starts_with('.');
#endif
}

// The names of the ordinary files of `folder` that match "*.MEM" or the like,
// in name order; none when the folder cannot be listed.
std::optional<std::vector<std::string>> matchingFiles(const fs::path& folder,
                                                      std::string_view pattern) {
    const std::string_view ending = pattern.substr(1);
    std::error_code ec;
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, ec), end; it != end; it.increment(ec)) {
        std::error_code statusError;
        const std::string name = utf8Of(it->path().filename());
        if (!hasEnding(name, ending) || !it->is_regular_file(statusError)) continue;
        if (isHidden(it->path())) continue;
        names.push_back(name);
    }
    if (ec) return std::nullopt;
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::optional<std::string> floppyDrive() {
#ifdef _WIN32
    // The drive itself, not the disk: an empty drive is what the failure
    // question asks the teacher to put right.
    if (GetDriveTypeW(L"A:\\") != DRIVE_NO_ROOT_DIR) return "A:\\";
#endif
    return std::nullopt;
}

BackupWindow::BackupWindow(AppState& state, Platform& platform, std::optional<std::string> floppy)
    : Form(platform), state_(state), floppy_(std::move(floppy)) {
    name = "BACK_UP";
    caption = "バックアップ";
    centreDialog(*this, kClientWidth, kClientHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Check1);
    TOSBEL_DECLARE(Command1);

    Label1[0].caption = "バックアップデータを設定して、実行ボタンを押して下さい。";
    Label1[0].place(60, 180, kClientWidth - 120, 480);
    Label1[0].alignment = Align::Center;

    for (int k = 0; k < 4; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int x = kBoxLeft + kColumnPitch * (k % 2);
        const int y = kBoxTop + kRowPitch * (k / 2);
        Check1[i].caption = kKinds[i].caption;
        Check1[i].place(x, y, kBoxWidth, kBoxHeight);
        Label1[i + 1].caption = std::string(kKinds[i].pattern);
        Label1[i + 1].place(x + kPatternIndent, y + kBoxHeight, kBoxWidth - kPatternIndent,
                            kPatternHeight);
    }

    layDialogButtons(
        Command1, {kButtonsLeft, kButtonPitch, kButtonsTop, kButtonWidth, kButtonHeight},
        [this](int k) { Command1_Click(k); }, "実行");
}

void BackupWindow::Form_Load() {
    for (std::size_t k = 0; k < 4; ++k) Check1[k].setValue(tickedValue(state_.BackDT[k]) ? 1 : 0);
}

void BackupWindow::Command1_Click(int index) {
    switch (index) {
        case 0:
            run();
            return;
        case 1:
            close();
            return;
        default:
            platform().showHelp({HelpCommand::Context, help_page::Backup});
    }
}

void BackupWindow::storeTicks() {
    SettingsStore& store = platform().settings();
    for (int k = 0; k < 4; ++k) {
        const auto i = static_cast<std::size_t>(k);
        state_.BackDT[i] = flag(Check1[i].value == 1);
        store.save(section::Config, indexedKey(key::BackDT, k), state_.BackDT[i]);
    }
}

std::string BackupWindow::chooseTarget() {
    if (floppy_) return *floppy_;
    SettingsStore& store = platform().settings();
    const std::string chosen =
        platform().folderDialog(kFolderDialogTitle, store.read(section::Config, key::BackupFolder));
    // Kept at once, so a folder that then fails is still the one proposed.
    if (!chosen.empty()) store.save(section::Config, key::BackupFolder, chosen);
    return chosen;
}

// Every file of the kind, from the first: a retry after a failure copies again
// what was already copied, so nothing depends on where the failure left off.
BackupWindow::Failure BackupWindow::copyKind(int kind, const std::string& target) {
    const fs::path source = pathOf(platform().programFolder());
    const auto names = matchingFiles(source, kKinds[static_cast<std::size_t>(kind)].pattern);
    if (!names) return Failure{""};
    const fs::path folder = pathOf(target);
    for (const std::string& fileName : *names) {
        std::vector<fs::path> files{source / pathOf(fileName)};
        if (kind == kRosters) {
            // A roster's seat wishes go with it; one without keeps none from an
            // earlier backup, which would come back with it as another class's.
            const fs::path wishes = pathOf(wishFileOf(utf8Of(files[0])));
            std::error_code ec;
            if (fs::is_regular_file(wishes, ec)) {
                files.push_back(wishes);
            } else {
                fs::remove(folder / wishes.filename(), ec);
                if (ec) return Failure{""};
            }
        }
        for (const fs::path& file : files) {
            const std::string from = utf8Of(file);
            // Written beside the target under a temporary name and moved over
            // it once complete: a backup cut short never leaves half a file
            // under a real name.
            switch (copyFile(from, utf8Of(folder / file.filename()))) {
                case CopyOutcome::Copied:
                    continue;
                case CopyOutcome::SourceUnreadable:
                    return Failure{from};
                case CopyOutcome::TargetFailed:
                    return Failure{""};
            }
        }
    }
    return std::nullopt;
}

void BackupWindow::run() {
    // Kept before the first question: a backup stopped at any point still
    // remembers what was ticked.
    storeTicks();
    if (platform().messageBox(floppy_ ? kPrepareFloppy : kPrepareFolder) != MsgAnswer::Ok) return;
    const std::string target = chooseTarget();
    if (target.empty()) return;
    // A copy in the program folder itself is lost with it.
    std::error_code ec;
    if (fs::equivalent(pathOf(target), pathOf(platform().programFolder()), ec)) {
        platform().messageBox(kSameFolder);
        return;
    }
    const Message failed = floppy_ ? kFloppyFailed : folderFailed(target);
    for (int k = 0; k < 4; ++k) {
        if (state_.BackDT[static_cast<std::size_t>(k)] != "1") continue;
        while (const Failure failure = copyKind(k, target)) {
            if (!failure->empty()) {
                platform().messageBox(sourceUnreadable(*failure));
                return;
            }
            if (platform().messageBox(failed) != MsgAnswer::Ok) return;
        }
    }
    platform().messageBox(kDone);
    close();
}

void showBackupWindow(AppState& state, Platform& platform) {
    BackupWindow window(state, platform);
    window.showModal();
}

}  // namespace tosbel
