#include "tools/background_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/display.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/headless_test.h"
#include "tests/picture_headers.h"
#include "tests/posix_only.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

const Message kUnsaved{"画面の背景は変更されています。 設定しないで終了しますか？", "終了確認",
                       MsgButtons::OkCancel, MsgIcon::Question};

Message unreadable(const std::string& path) {
    return {"背景画像「" + path +
                "」を表示できませんでした。\r\r"
                "ﾌｧｲﾙがあるか、ﾋﾞｯﾄﾏｯﾌﾟ・JPG・GIF形式の画像かを確認して下さい。"
                "背景は変更していません。",
            "背景画像の確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

TEST(BackgroundPicture, OnlyOrdinaryFilesWithTheHeaderOfAPictureCount) {
    TOSBEL_POSIX_ONLY("named pipes");
    HeadlessPlatform platform;
    TempDir dir;
    using namespace pictures;
    for (const std::string& head : {bmp(8, 8), jpeg(640, 480), gif(8, 8), png(8, 8)}) {
        spit(dir.path() / "p", head);
        EXPECT_TRUE(isPictureFile(platform, dir.file("p"))) << head.substr(0, 4);
    }
    for (const std::string& head : {std::string(), std::string("BM\x36\x10"), std::string("GIF89a"),
                                    std::string("名簿"), png(30000, 30000)}) {
        spit(dir.path() / "p", head);
        EXPECT_FALSE(isPictureFile(platform, dir.file("p"))) << head;
    }
    ASSERT_TRUE(makeFifo(dir.file("pipe")));
    for (const std::string& other :
         {dir.file("pipe"), dir.file("missing.bmp"), dir.path().string(), std::string()})
        EXPECT_FALSE(isPictureFile(platform, other)) << other;
}

struct Box {
    float x1, y1, x2, y2;
    Rgb colour;
};
struct RecordingCanvas final : Canvas {
    std::vector<Box> boxes;
    void fillBox(float x1, float y1, float x2, float y2, Rgb colour) override {
        boxes.push_back({x1, y1, x2, y2, colour});
    }
};

// The main window on gradient "2", with a picture named from an earlier run.
class BackgroundTest : public HeadlessTest {
protected:
    BackgroundTest() {
        platform.folder = dir.path().string();
        state.OptMColor = "2";
        state.Maing = picture("old.bmp");
        applyTheme(state);
    }
    std::string picture(const std::string& name) {
        spit(dir.path() / name, pictures::bmp(2, 2));
        return dir.file(name);
    }
    // Opens GAMEN as the main window does, acting on it with `act`.
    void open(const std::function<void(Driver&)>& act) {
        platform.modalDriver = [this, act](Form& f) {
            EXPECT_EQ(f.name, "GAMEN");
            Driver gamen(platform, f);
            act(gamen);
            EXPECT_FALSE(f.isShown());
        };
        showBackgroundWindow(state, platform, [this] {
            applied.push_back(state.OptMColor + " " + platform.store.read("Config", "OptMColor"));
        });
    }
    void expectUnchanged(const AppState& before) {
        EXPECT_TRUE(platform.store.saves().empty());
        EXPECT_EQ(state.OptMColor, before.OptMColor);
        EXPECT_EQ(state.BackBlue, before.BackBlue);
        EXPECT_TRUE(applied.empty());
    }

    TempDir dir;
    AppState state;
    // OptMColor in memory and in the store, as the main window found them.
    std::vector<std::string> applied;
};

TEST_F(BackgroundTest, OpensOnTheStoredChoiceAndOnlyThePictureChoicePicks) {
    BackgroundWindow window(state, platform, {});
    Driver driver(platform, window);
    window.show();
    EXPECT_EQ(window.Option1[2].value, 1);
    EXPECT_EQ(window.focused(), &window.Option1[2]) << "the focus mark is on the choice made";
    EXPECT_EQ(window.Image1[4].picture, state.Maing);
    EXPECT_THROW(driver.click("Command2"), RefusedAction);

    driver.click("Image1_4");  // the picture itself selects its choice
    EXPECT_EQ(window.Gam, "4");
    EXPECT_TRUE(window.Command2.enabled);
    driver.click("Image1_3");
    EXPECT_EQ(window.Option1[3].value, 1);
    EXPECT_EQ(window.Option1[4].value, 0);
    EXPECT_THROW(driver.click("Command2"), RefusedAction);

    driver.click("Command1_2");
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 39}}));

    // A hand-edited value is painted as gradient "0", so that is what opens.
    state.OptMColor = "7";
    BackgroundWindow edited(state, platform, {});
    edited.show();
    EXPECT_EQ(edited.Gam, "0");
    Driver(platform, edited).click("Command1_1");
    EXPECT_FALSE(edited.isShown());
}

TEST_F(BackgroundTest, ChangedGradientThenCancelAsksAndOkKeepsTheStoredChoice) {
    const AppState before = state;
    open([this](Driver& gamen) {
        gamen.tick("Option1_1");
        platform.answerMessage(kUnsaved, MsgAnswer::Cancel);
        gamen.click("Command1_1");
        Control& ok = gamen.control("Command1_0");
        EXPECT_TRUE(ok.form->isShown());
        EXPECT_EQ(ok.form->focused(), &ok);
        platform.answerMessage(kUnsaved, MsgAnswer::Ok);
        gamen.click("Command1_1");
    });
    expectUnchanged(before);
}

TEST_F(BackgroundTest, PickedPictureThenCancelAsksNothingAndKeepsTheNameInMemoryOnly) {
    state.OptMColor = "4";
    const std::string old = state.Maing;
    const std::string chosen = picture("new.jpg");
    const AppState before = state;
    open([&](Driver& gamen) {
        platform.answerFileDialog(chosen);
        gamen.click("Command2");
        EXPECT_EQ(gamen.control("Image1_4").picture, chosen);
        gamen.click("Command1_1");  // a question here, unscripted, would fail
    });
    EXPECT_EQ(platform.openDialogs,
              (std::vector<FileDialogRequest>{
                  {"背景画像の選択",
                   "ﾋﾞｯﾄﾏｯﾌﾟ形式(*.BMP)|*.BMP|JPG形式(*.JPG)|*.JPG|GIF形式(*.GIF)|*.GIF|"
                   "すべてのﾌｧｲﾙ(*.*)|*.*",
                   dir.path().string(), old}}));
    EXPECT_EQ(state.Maing, chosen);
    expectUnchanged(before);
}

// Light yellow at the top of the main window: red and green at full strength
// over blue 200.
TEST_F(BackgroundTest, GradientThreeIsAppliedAndStoredBeforeTheMainWindowRepaints) {
    open([](Driver& gamen) {
        gamen.tick("Option1_3");
        gamen.click("Command1_0");
    });
    EXPECT_EQ(applied, std::vector<std::string>{"3 3"});
    EXPECT_GE(state.BackRed, 255);
    EXPECT_GE(state.BackGreen, 255);
    EXPECT_EQ(state.BackBlue, 200);
}

// A picture the main window could not show would leave it black: the
// background stays as it was, the window closes, and the teacher is told
// which file it was. One that can be shown is stored with the choice.
TEST_F(BackgroundTest, PictureIsTakenOnlyWhenItCanBeShown) {
    spit(dir.path() / "notes.bmp", "名簿です");
    const AppState before = state;
    for (const std::string& bad : {dir.file("gone.bmp"), dir.file("notes.bmp"), dir.file("")}) {
        SCOPED_TRACE(bad);
        open([&](Driver& gamen) {
            gamen.tick("Option1_4");
            platform.answerFileDialog(bad);
            gamen.click("Command2");
            platform.answerMessage(unreadable(bad));
            gamen.click("Command1_0");
        });
        EXPECT_EQ(state.Maing, before.Maing);
        expectUnchanged(before);
    }

    state.Maing.clear();
    open([this](Driver& gamen) {
        gamen.tick("Option1_4");
        platform.answerMessage(
            {"背景画像が選択されていません。\r\r"
             "「参照...」ボタンで画像を選んで下さい。背景は変更していません。",
             "背景画像の確認", MsgButtons::Ok, MsgIcon::Exclamation});
        gamen.click("Command1_0");
    });
    expectUnchanged(before);

    const std::string chosen = picture("class photo.gif");
    open([&](Driver& gamen) {
        gamen.tick("Option1_4");
        platform.answerFileDialog(chosen);
        gamen.click("Command2");
        gamen.click("Command1_0");
    });
    EXPECT_EQ(applied, std::vector<std::string>{"4 4"});
    EXPECT_EQ(platform.store.read("Config", "Maing"), chosen);
    EXPECT_EQ(state.BackBlue, 130);  // behind the picture, still gradient "2"
}

// Each preview spans its picture from the main window's top colour (300 shown
// as 255) down to no blue.
TEST_F(BackgroundTest, PreviewsPaintTheGradientsTheMainWindowPaints) {
    BackgroundWindow window(state, platform, {});
    RecordingCanvas canvas;
    window.Form_Paint(canvas);
    const Rgb tops[] = {{10, 50, 110}, {200, 100, 150}, {50, 80, 130}, {255, 255, 200}};
    for (std::size_t k = 0; k < 4; ++k) {
        const Image& im = window.Image1[k];
        const auto at = [&](float y, Rgb colour) {
            return std::any_of(canvas.boxes.begin(), canvas.boxes.end(), [&](const Box& b) {
                return b.x1 == static_cast<float>(im.left) && (b.y1 == y || b.y2 == y) &&
                       b.colour == colour;
            });
        };
        EXPECT_TRUE(at(static_cast<float>(im.top), tops[k])) << k;
        EXPECT_TRUE(
            at(static_cast<float>(im.top + im.height - 1), Rgb{tops[k].red, tops[k].green, 0}))
            << k;
    }
}

}  // namespace
}  // namespace tosbel
