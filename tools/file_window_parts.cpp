#include "tools/file_window_parts.h"

#include "core/window_parts.h"
#include "platform/file_io.h"

namespace tosbel {

namespace {

constexpr int kMargin = 240;
constexpr int kCaptionWidth = 1020, kCaptionHeight = 300;
constexpr int kBoxLeft = 1320, kBoxWidth = kFileWindowWidth - kBoxLeft - kMargin, kBoxHeight = 360;
constexpr int kFromTop = 630, kToTop = 1110;
constexpr int kButtonsLeft = 420, kButtonPitch = 1680, kButtonsTop = 1800;
constexpr int kButtonWidth = 1200, kButtonHeight = 420;

constexpr Rgb kDarkGrey{0x40, 0x40, 0x40};
constexpr Rgb kPaleYellow{0xFF, 0xFF, 0x80};
constexpr Rgb kYellow{0xFF, 0xFF, 0x00};

}  // namespace

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

bool isRosterFile(const std::string& path) {
    const std::string extension = upperExtension(path);
    return extension == ".MEM" || extension == ".DAT";
}

bool fileThere(const std::string& path) {
    std::error_code ec;
    return std::filesystem::symlink_status(pathOf(path), ec).type() !=
           std::filesystem::file_type::not_found;
}

std::optional<std::string> removeFile(Platform& platform, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(pathOf(path), ec);
    if (st.type() == fs::file_type::not_found) return kNotFound;
    if (fs::is_directory(st)) return "フォルダは削除できません。";
    if (platform.moveToTrash(path)) return std::nullopt;
    if (fs::remove(pathOf(path), ec)) return std::nullopt;
    return ec ? reasonFor(ec) : kNotFound;
}

std::filesystem::path typedTarget(const std::string& picked, const std::string& typed) {
    const std::filesystem::path name = pathOf(typed);
    if (name.is_absolute()) return name;
    return pathOf(picked).parent_path() / name;
}

void layFileWindow(Label& instruction, const char* text, Label& fromCaption, const char* from,
                   Label& fromName, Label& toCaption, const char* to, TextBox& box,
                   std::array<CommandButton, 3>& buttons, const std::function<void(int)>& onClick) {
    instruction.caption = text;
    instruction.place(kMargin, 180, kFileWindowWidth - 2 * kMargin, kCaptionHeight);

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

}  // namespace tosbel
