#include "tools/editing_software.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/headless_test.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

const Message kNotFound{"編集ソフトが存在しません。", "編集ｿﾌﾄの存在確認", MsgButtons::Ok,
                        MsgIcon::Critical};
const Message kUnsaved{"起動する編集ソフトの設定は変更されています。設定しないで終了しますか？",
                       "終了確認", MsgButtons::OkCancel, MsgIcon::Question};

std::string program(const std::filesystem::path& folder, const std::string& name,
                    bool runnable = true) {
    const std::filesystem::path p = folder / name;
    spit(p, "#!/bin/sh\n");
    using std::filesystem::perms;
    std::filesystem::permissions(p, runnable ? perms::owner_all : perms::owner_read);
    return p.string();
}

class EditingSoftwareTest : public HeadlessTest {
protected:
    void expectStored(const std::string& option, const std::string& path) {
        EXPECT_EQ(state.OptEdit, option);
        EXPECT_EQ(state.OptEdit2, path);
        EXPECT_EQ(platform.store.values().at({"CountDown", "OptEdit"}), option);
        EXPECT_EQ(platform.store.values().at({"CountDown", "OptEdit2"}), path);
    }

    EditingSoftwareTest() {
        state.OptEdit = "0";
        state.OptEdit2 = "MSPAINT.EXE";
    }

    AppState state;
    TempDir dir;
};

TEST(EditingSoftwarePaths, WindowsFolderByVersionOnTheWindowsDrive) {
    EXPECT_EQ(windowsPaintPath("C:\\WINDOWS", "Windows 98", "MSPAINT.EXE"),
              "C:\\Program Files\\Accessories\\MSPAINT.EXE");
    EXPECT_EQ(windowsPaintPath("C:\\WINDOWS", "Windows XP", "MSPAINT.EXE"),
              "C:\\Windows\\System32\\MSPAINT.EXE");
    EXPECT_EQ(windowsPaintPath("D:\\WINNT", "Windows 2000", "PBRUSH.EXE"),
              "D:\\Winnt\\System32\\PBRUSH.EXE");
    EXPECT_EQ(windowsPaintPath("C:\\WINDOWS", "Windows 95", "MSPAINT.EXE"), std::nullopt);
}

// Through the opener the main window calls: a cancelled dialog changes
// nothing, a chosen file is stored by 了解 with its full path.
TEST_F(EditingSoftwareTest, OkStoresTheChosenProgram) {
    platform.folder = "/school/tosbel";
    platform.answerFileDialog("");
    platform.answerFileDialog("/opt/paint/bin/painter");
    platform.modalDriver = [this](Form& f) {
        EXPECT_EQ(f.name, "RUN_SOFT");
        Driver d(platform, f);
        EXPECT_THROW(d.click("Command2"), RefusedAction);
        d.tick("Option1_1");
        d.click("Command2");
        d.click("Command2");
        d.click("Command1_0");
    };
    showEditingSoftware(state, platform);

#ifdef _WIN32
    const FileDialogRequest request{"編集ｿﾌﾄの選択", "実行形式(*.EXE)|*.EXE|全てのﾌｧｲﾙ(*.*)|*.*",
                                    "/school/tosbel", ""};
#else
    // Programs without ".EXE", in the folder most of them lie in.
    const FileDialogRequest request{"編集ｿﾌﾄの選択", "全てのﾌｧｲﾙ(*)|*", "/usr/bin", ""};
#endif
    EXPECT_EQ(platform.openDialogs, (std::vector<FileDialogRequest>{request, request}));
    expectStored("1", "/opt/paint/bin/painter");
}

// "その他" with no program: 了解 refuses, and 取消 then asks, since there is no
// program to keep; OK falls back to the standard program.
TEST_F(EditingSoftwareTest, RefusedOkThenCancelAsksAndResetsToStandard) {
    EditingSoftware window(state, platform);
    Driver driver(platform, window);
    window.show();
    driver.tick("Option1_1");
    platform.answerMessage({"起動する編集ソフトは設定されていません。", "終了確認", MsgButtons::Ok,
                            MsgIcon::Critical});
    driver.click("Command1_0");
    EXPECT_EQ(window.focused(), &window.Command2);
    EXPECT_TRUE(platform.store.saves().empty());

    platform.answerMessage(kUnsaved, MsgAnswer::Cancel);
    driver.click("Command1_1");
    EXPECT_EQ(window.focused(), &window.Command1[0]);
    platform.answerMessage(kUnsaved, MsgAnswer::Ok);
    driver.click("Command1_1");
    EXPECT_FALSE(window.isShown());
    expectStored("0", "MSPAINT.EXE");
}

// Opened on a chosen program, 取消 leaves quietly; switched to the standard
// program it asks, and OK stores the standard one.
TEST_F(EditingSoftwareTest, CancelAsksOnlyAfterAChange) {
    state.OptEdit = "1";
    state.OptEdit2 = "/opt/paint/bin/painter";
    EditingSoftware quiet(state, platform);
    quiet.show();
    EXPECT_EQ(quiet.Option1[1].value, 1);
    Driver(platform, quiet).click("Command1_1");
    EXPECT_FALSE(quiet.isShown());
    EXPECT_TRUE(platform.store.saves().empty());

    EditingSoftware window(state, platform);
    Driver driver(platform, window);
    window.show();
    driver.tick("Option1_0");
    driver.click("Command1_2");
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 93}}));
    platform.answerMessage(kUnsaved, MsgAnswer::Ok);
    driver.click("Command1_1");
    expectStored("0", "MSPAINT.EXE");
}

TEST_F(EditingSoftwareTest, AChosenProgramStartsAsItIsOrIsReportedMissing) {
    state.OptEdit = "1";
    state.OptEdit2 = program(dir.path(), "painter");
    runEditingSoftware(state, platform, "Windows 95");
    EXPECT_EQ(platform.started, std::vector<std::string>{state.OptEdit2});
    std::filesystem::remove(state.OptEdit2);
    platform.answerMessage(kNotFound);
    runEditingSoftware(state, platform, "Windows XP");
    EXPECT_EQ(platform.started.size(), 1u);
}

// A bare name is the program-folder file that was checked; the very same
// file starts, not one of that name somewhere on the search path.
TEST_F(EditingSoftwareTest, ABareNameStartsTheFileInTheProgramFolder) {
    platform.folder = dir.path().string();
    const std::string painter = program(dir.path(), "painter");
    state.OptEdit = "1";
    state.OptEdit2 = "painter";
    runEditingSoftware(state, platform, "Windows XP");
    EXPECT_EQ(platform.started, std::vector<std::string>{painter});
}

#ifndef _WIN32
// Relative folders, files that cannot run and folders named like a program
// are passed over; the list's order decides, not the PATH's.
TEST_F(EditingSoftwareTest, TheStandardProgramIsTheFirstOfTheListOnThePath) {
    platform.answerMessage(kNotFound);
    runEditingSoftware(state, platform, "");

    const std::filesystem::path relative = dir.path() / "relative", first = dir.path() / "bin",
                                second = dir.path() / "local";
    for (const auto& folder : {relative, first / "kolourpaint", second})
        std::filesystem::create_directories(folder);
    program(relative, "kolourpaint");
    program(first, "pinta", false);
    platform.variables["PATH"] = "::" + std::filesystem::relative(relative).string() + ":" +
                                 first.string() + ":" + second.string();
    platform.answerMessage(kNotFound);
    runEditingSoftware(state, platform, "");
    EXPECT_TRUE(platform.started.empty());

    program(first, "gimp");
    const std::string mtpaint = program(second, "mtpaint");
    runEditingSoftware(state, platform, "");
    EXPECT_EQ(platform.started, std::vector<std::string>{mtpaint});
}
#endif

}  // namespace
}  // namespace tosbel
