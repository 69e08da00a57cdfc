#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "core/settings.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "shell/countdown_settings.h"
#include "shell/countdown_window.h"
#include "shell/main_window.h"
#include "shell/shell.h"
#include "tests/headless_test.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

const Message kUnsaved{"プロパティ値は変更されています。 設定しないで終了しますか？", "終了確認",
                       MsgButtons::OkCancel, MsgIcon::Question};

// The ten shipped pictures by their bare names in a folder that is the
// working folder, as start-up leaves it, and the settings that name them.
class CountdownTest : public HeadlessTest {
protected:
    CountdownTest() {
        std::filesystem::current_path(dir.path());
        platform.folder = dir.path().string();
        state.OptWait = "1";
        state.WaitTime = "5";
        for (int k = 0; k < 10; ++k) {
            const std::string picture(kDefaultKoma[static_cast<std::size_t>(k)]);
            spit(dir.path() / picture, "BM");
            state.Koma[static_cast<std::size_t>(k)] = picture;
            platform.store.save("CountDown", indexedKey("Koma", k), picture);
        }
        platform.store.save("CountDown", "OptWait", "1");
        platform.store.save("CountDown", "WaitTime", "5");
    }
    // Out of the folder before it goes, so no later test starts in a removed one.
    ~CountdownTest() override {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::temp_directory_path(ec), ec);
    }

    // The picture after each tick that left the countdown open, and the ticks
    // it took to close.
    struct Run {
        std::vector<std::string> pictures;
        int ticks = 0;
    };
    Run count(const std::string& waitTime) {
        state.WaitTime = waitTime;
        Run run;
        platform.modalDriver = [this, &run](Form& f) {
            const Control& image = Driver(platform, f).control("Image1");
            EXPECT_EQ(image.picture, "");
            while (f.isShown() && run.ticks < 20) {
                HeadlessPlatform::fireTimer(f, "Timer1");
                ++run.ticks;
                if (f.isShown()) run.pictures.push_back(image.picture);
            }
        };
        showCountdown(state, platform);
        return run;
    }
    std::string stored(const std::string& key) { return platform.store.read("CountDown", key); }

    TempDir dir;
    AppState state;
};

using Pictures = std::vector<std::string>;

TEST(CountdownSeconds, TakesTheLeadingWholeNumberHeldToZeroToTen) {
    const std::pair<const char*, int> cases[] = {
        {"3", 3},   {"10", 10}, {"0", 0}, {"  7", 7}, {"+2", 2},  {"3.7", 3},
        {"4秒", 4}, {"abc", 0}, {"", 0},  {"-4", 0},  {"99", 10}, {"99999999999999999999", 10}};
    for (const auto& [text, seconds] : cases) EXPECT_EQ(countdownSeconds(text), seconds) << text;
}

TEST_F(CountdownTest, OnePictureASecondFromTheNumberDownToOneThenItCloses) {
    const Run three = count("3");
    EXPECT_EQ(three.pictures, (Pictures{"THREE.BMP", "TWO.BMP", "ONE.BMP"}));
    EXPECT_EQ(three.ticks, 4);
    const Run one = count("1");
    EXPECT_EQ(one.pictures, Pictures{"ONE.BMP"});
    EXPECT_EQ(one.ticks, 2);
    EXPECT_EQ(platform.shown, (std::vector<std::string>{"WAIT", "WAIT"}));
}

TEST_F(CountdownTest, HandEditedLengthsNeitherFailNorPassElevenSeconds) {
    const Run none = count("abc");
    EXPECT_EQ(none.pictures, Pictures{});
    EXPECT_EQ(none.ticks, 1);
    const Run most = count("99");
    EXPECT_EQ(most.ticks, 11);
    ASSERT_EQ(most.pictures.size(), 10u);
    EXPECT_EQ(most.pictures.front(), "TEN.BMP");
    EXPECT_EQ(most.pictures.back(), "ONE.BMP");
}

TEST_F(CountdownTest, AMissingPictureLeavesTheOneBeforeItUp) {
    std::filesystem::remove(dir.path() / "FOUR.BMP");
    std::filesystem::remove(dir.path() / "TWO.BMP");
    std::filesystem::create_directory(dir.path() / "TWO.BMP");  // a folder is no picture
    const Run run = count("4");
    EXPECT_EQ(run.pictures, (Pictures{"", "THREE.BMP", "THREE.BMP", "ONE.BMP"}));
    EXPECT_EQ(run.ticks, 5);
}

class CountdownSettingsTest : public CountdownTest {
protected:
    CountdownSettings window{state, platform};
    Driver driver{platform, window};
};

TEST_F(CountdownSettingsTest, UntickedTheSecondsAndPicturesAreOutOfReach) {
    state.OptWait = "0";
    window.show();
    EXPECT_EQ(window.Check1.value, 0);
    EXPECT_THROW(driver.click("VScroll1"), RefusedAction);
    EXPECT_THROW(driver.click("Command2_5"), RefusedAction);

    driver.tick("Check1");
    platform.answerFileDialog("");  // cancelled: nothing changes
    driver.click("Command2_5");
    EXPECT_EQ(state.KomaWork[5], "SIX.BMP");
    driver.tick("Check1");
    EXPECT_THROW(driver.click("Command2_0"), RefusedAction);

    // Ticked and unticked again is no change: 取消 closes without asking.
    driver.click("Command1_1");
    EXPECT_FALSE(window.isShown());
}

// A hand-edited length shows as the nearest end of the bar; only 了解 would
// replace it, and the close box leaves it as it was.
TEST_F(CountdownSettingsTest, AStoredLengthOutsideTheBarShowsAsItsNearestEnd) {
    for (const auto& [kept, shown] : {std::pair{"0", "1"}, {"abc", "1"}, {"99", "10"}}) {
        state.WaitTime = kept;
        CountdownSettings w(state, platform);
        w.show();
        EXPECT_EQ(w.Label1[1].caption, shown) << kept;
        EXPECT_EQ(w.VScroll1.value, std::stoi(shown)) << kept;
        w.VScroll1.setValue(2);
        w.close(UnloadMode::CloseBox);
        EXPECT_EQ(state.WaitTime, kept);
        EXPECT_EQ(stored("WaitTime"), "5");
    }
}

TEST_F(CountdownSettingsTest, ANewSixSecondPictureIsAskedAboutAndDroppedByCancel) {
    window.show();
    EXPECT_EQ(window.Label2[5].caption, "･･･６秒");
    // The caption sits in the row of the button it names.
    EXPECT_GE(window.Label2[5].top, window.Command2[5].top);
    EXPECT_LT(window.Label2[5].top, window.Command2[5].top + window.Command2[5].height);
    const std::string chosen = dir.file("six-new.bmp");
    platform.answerFileDialog(chosen);
    driver.click("Command2_5");
    EXPECT_EQ(platform.openDialogs.at(0),
              (FileDialogRequest{"コマ画面の選択",
                                 "ﾋﾞｯﾄﾏｯﾌﾟ形式(*.BMP)|*.BMP|JPG形式(*.JPG)|*.JPG|GIF形式(*.GIF)|"
                                 "*.GIF|すべてのﾌｧｲﾙ(*.*)|*.*",
                                 dir.path().string(), "SIX.BMP"}));
    EXPECT_EQ(state.KomaWork[5], chosen);

    platform.answerMessage(kUnsaved, MsgAnswer::Cancel);
    driver.click("Command1_1");
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(window.focused(), &window.Command1[0]);

    platform.answerMessage(kUnsaved, MsgAnswer::Ok);
    driver.click("Command1_1");
    EXPECT_FALSE(window.isShown());
    EXPECT_EQ(state.Koma[5], "SIX.BMP");
    EXPECT_EQ(stored("Koma(5)"), "SIX.BMP");
}

TEST_F(CountdownSettingsTest, UntickingTheSwitchStoresItAndKeepsTheRest) {
    window.show();
    driver.click("Command1_2");
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 92}}));
    driver.tick("Check1");
    driver.click("Command1_0");
    EXPECT_FALSE(window.isShown());
    EXPECT_EQ(state.OptWait, "0");
    EXPECT_EQ(stored("OptWait"), "0");
    EXPECT_EQ(state.WaitTime, "5");
    EXPECT_EQ(stored("WaitTime"), "5");
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(stored(indexedKey("Koma", k)), kDefaultKoma[static_cast<std::size_t>(k)]) << k;
}

// From the main window's menu, as the teacher opens it after start-up.
TEST_F(CountdownTest, TheChosenSecondsAndPicturesAreStoredByOk) {
    platform.store.save("Config", "OptLogo", "0");
    platform.store.save("CountDown", "WaitTime", "10");
    Shell shell(platform);
    shell.startUp();
    const std::string chosen = dir.file("ten.gif");
    platform.modalDriver = [&](Form& f) {
        EXPECT_EQ(f.name, "CNTVAL");
        Driver settings(platform, f);
        EXPECT_EQ(settings.control("Label1_1").caption, "10");
        settings.control("VScroll1").setValue(3);  // as the teacher's scrolling sets it
        platform.answerFileDialog(chosen);
        settings.click("Command2_9");
        settings.click("Command1_0");
    };
    Driver(platform, *shell.mainWindow()).menu("mnuOptEnvCntSet");
    EXPECT_EQ(shell.state().WaitTime, "3");
    EXPECT_EQ(stored("WaitTime"), "3");
    EXPECT_EQ(shell.state().Koma[9], chosen);
    EXPECT_EQ(stored("Koma(9)"), chosen);
    EXPECT_EQ(stored("OptWait"), "1");
}

}  // namespace
}  // namespace tosbel
