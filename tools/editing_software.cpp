#include "tools/editing_software.h"

#include <cstddef>
#include <filesystem>
#include <system_error>

#include "core/app_state.h"
#include "core/help_pages.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/file_io.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 3330;

constexpr int kOptionLeft = 600;
constexpr int kButtonsLeft = 488, kButtonPitch = 1395, kButtonsTop = 2640;
constexpr int kButtonWidth = 915, kButtonHeight = 405;

constexpr const char* kChooseTitle = "編集ｿﾌﾄの選択";
#ifdef _WIN32
constexpr const char* kProgramFilter = "実行形式(*.EXE)|*.EXE|全てのﾌｧｲﾙ(*.*)|*.*";
#else
// Programs here have no ".EXE", and most lie in the system's program folder.
constexpr const char* kProgramFilter = "全てのﾌｧｲﾙ(*)|*";
constexpr const char* kProgramsFolder = "/usr/bin";
#endif

const Message kNotFound{"編集ソフトが存在しません。", "編集ｿﾌﾄの存在確認", MsgButtons::Ok,
                        MsgIcon::Critical};
const Message kNoneChosen{"起動する編集ソフトは設定されていません。", "終了確認", MsgButtons::Ok,
                          MsgIcon::Critical};
const Message kUnsaved{"起動する編集ソフトの設定は変更されています。設定しないで終了しますか？",
                       "終了確認", MsgButtons::OkCancel, MsgIcon::Question};

// Anything but "0" is a program of the teacher's, as the command reads it, so
// the window shows what the command will start.
int optionOf(const std::string& optEdit) {
    return optEdit == "0" ? 0 : 1;
}

// A file that can be run: on Windows any file (it is the name that makes a
// program), elsewhere one with a permission to execute.
bool isProgramFile(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) return false;
#ifdef _WIN32
    return true;
#else
    using std::filesystem::perms;
    return (status.permissions() & (perms::owner_exec | perms::group_exec | perms::others_exec)) !=
           perms::none;
#endif
}

// A program that is there but will not start is as good as missing to the
// teacher, so both get the same message. A name without a folder is the file
// in the program folder, and exactly that file is started: handed over bare,
// the system would look for the name along its search path instead.
void start(Platform& platform, const std::string& path) {
    std::filesystem::path program = pathOf(path);
    if (program.is_relative()) program = pathOf(platform.programFolder()) / program;
    if (!isProgramFile(program) || !platform.startProgram(utf8Of(program)))
        platform.messageBox(kNotFound);
}

}  // namespace

std::optional<std::string> windowsPaintPath(std::string_view winDir, std::string_view osName,
                                            std::string_view program) {
    std::string_view folder;
    if (osName == "Windows XP")
        folder = "Windows\\System32\\";
    else if (osName == "Windows Me" || osName == "Windows 98")
        folder = "Program Files\\Accessories\\";
    else if (osName == "Windows 2000" || osName == "Windows NT")
        folder = "Winnt\\System32\\";
    else
        return std::nullopt;
    std::string path(winDir.substr(0, 3));
    path += folder;
    path += program;
    return path;
}

std::string findPaintProgram(std::string_view pathVariable) {
    for (std::string_view program : kPaintPrograms) {
        std::size_t from = 0;
        while (from <= pathVariable.size()) {
            const std::size_t colon = pathVariable.find(':', from);
            const std::size_t end = colon == std::string_view::npos ? pathVariable.size() : colon;
            const std::filesystem::path folder =
                pathOf(std::string(pathVariable.substr(from, end - from)));
            if (folder.is_absolute()) {
                const std::filesystem::path candidate = folder / pathOf(std::string(program));
                if (isProgramFile(candidate)) return utf8Of(candidate);
            }
            from = end + 1;
        }
    }
    return {};
}

EditingSoftware::EditingSoftware(AppState& state, Platform& platform)
    : Form(platform), state_(state) {
    name = "RUN_SOFT";
    caption = "編集ｿﾌﾄ";
    centreDialog(*this, kClientWidth, kClientHeight);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Option1);
    TOSBEL_DECLARE(Command2);
    TOSBEL_DECLARE(Command1);

    Label1[0].caption = "起動する編集ｿﾌﾄを設定して、了解ボタンを押して下さい。";
    Label1[0].place(60, 150, kClientWidth - 120, 480);
    Label1[0].alignment = Align::Center;

    Option1[0].caption = "標準（ﾍﾟｲﾝﾄ）";
    Option1[0].place(kOptionLeft, 900, 2400, 300);
    Option1[1].caption = "その他";
    Option1[1].place(kOptionLeft, 1440, 1200, 300);
    for (int k = 0; k < 2; ++k)
        Option1[static_cast<std::size_t>(k)].onClick = [this, k] { Option1_Click(k); };

    // Stands beside "その他", the option it chooses a program for.
    Command2.caption = "...";
    Command2.place(kOptionLeft + 1260, 1395, 495, 390);
    Command2.onClick = [this] { Command2_Click(); };

    layDialogButtons(Command1,
                     {kButtonsLeft, kButtonPitch, kButtonsTop, kButtonWidth, kButtonHeight},
                     [this](int k) { Command1_Click(k); });
}

void EditingSoftware::Form_Load() {
    // Turning the option on runs its handler, which sets the program for a
    // fresh choice: select first, then take the stored program.
    const int option = optionOf(state_.OptEdit);
    Option1[static_cast<std::size_t>(option)].setValue(1);
    Option1[static_cast<std::size_t>(option)].setFocus();  // the focus mark goes with the choice
    C1_Index = option;
    OptEdit3 = state_.OptEdit2;
    FileR.clear();
    Command2.enabled = option == 1;
    showChosen();
}

// The button's tip names the program chosen, which the window has no other
// place to show.
void EditingSoftware::showChosen() {
    Command2.toolTip = C1_Index == 1 && !OptEdit3.empty() ? OptEdit3 : kChooseTitle;
}

void EditingSoftware::Option1_Click(int index) {
    C1_Index = index;
    const bool other = index == 1;
    OptEdit3 = other ? "" : std::string(kStandardPaint);
    Command2.enabled = other;
    showChosen();
}

void EditingSoftware::Command2_Click() {
#ifdef _WIN32
    const std::string folder = platform().programFolder();
#else
    const std::string folder = kProgramsFolder;
#endif
    FileR = platform().openFileDialog({kChooseTitle, kProgramFilter, folder, ""});
    if (FileR.empty()) return;
    OptEdit3 = FileR;
    showChosen();
}

void EditingSoftware::store(const std::string& option, const std::string& program) {
    state_.OptEdit = option;
    state_.OptEdit2 = program;
    SettingsStore& settings = platform().settings();
    settings.save(section::CountDown, key::OptEdit, state_.OptEdit);
    settings.save(section::CountDown, key::OptEdit2, state_.OptEdit2);
}

void EditingSoftware::Command1_Click(int index) {
    switch (index) {
        case 0:
            if (OptEdit3.empty()) {
                platform().messageBox(kNoneChosen);
                Command2.setFocus();
                return;
            }
            store(std::to_string(C1_Index), OptEdit3);
            close();
            return;
        case 1: {
            const bool unchanged = C1_Index == optionOf(state_.OptEdit) &&
                                   OptEdit3 == state_.OptEdit2 && !OptEdit3.empty();
            if (!unchanged) {
                if (platform().messageBox(kUnsaved) != MsgAnswer::Ok) {
                    Command1[0].setFocus();
                    return;
                }
                // Leaving the choice unmade falls back on the standard
                // program, so the command always has one to look for.
                store("0", std::string(kStandardPaint));
            }
            close();
            return;
        }
        default:
            platform().showHelp({HelpCommand::Context, help_page::EditingSoftware});
    }
}

void showEditingSoftware(AppState& state, Platform& platform) {
    EditingSoftware window(state, platform);
    window.showModal();
}

void runEditingSoftware(AppState& state, Platform& platform,
                        [[maybe_unused]] const std::string& osName) {
    if (state.OptEdit != "0") {
        start(platform, state.OptEdit2);
        return;
    }
#ifdef _WIN32
    const std::optional<std::string> paint =
        windowsPaintPath(platform.environment("WinDir").value_or(""), osName, state.OptEdit2);
    // A Windows version with no known paint folder has no standard program.
    if (!paint) return;
    start(platform, *paint);
#else
    const std::string paint = findPaintProgram(platform.environment("PATH").value_or(""));
    start(platform, paint);
#endif
}

}  // namespace tosbel
