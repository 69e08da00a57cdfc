// "大きく表示": the result window's chart sent to a classroom screen.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "core/app_state.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "results/result_window.h"
#include "tests/headless_test.h"

namespace tosbel {
namespace {

using Chart = std::array<std::string, 100>;

class ResultClassroomTest : public HeadlessTest {
protected:
    ResultClassroomTest() {
        state.OptCent = "0";
        state.OptFgm = "1";
        Chart chart;
        for (int k = 0; k < 12; ++k) chart[static_cast<std::size_t>(k)] = "P" + std::to_string(k);
        window.fill(chart);
        window.show();
    }
    Driver driver() { return {platform, window}; }
    std::string stored() { return platform.store.read("RltVal", "OptScreen"); }

    // Answers the screen window: checks which screen it offers first, then
    // acts on it as the teacher does.
    void whenAsked(int proposed, std::function<void(Driver&)> act) {
        platform.modalDriver = [this, proposed, act](Form& f) {
            ASSERT_EQ(f.name, "BIGSCREEN");
            Driver d(platform, f);
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(d.control("Option1_" + std::to_string(k)).value, k == proposed ? 1 : 0)
                    << k;
            act(d);
        };
    }

    AppState state;
    ResultWindow window{state, platform, ResultWindowLinks{}, false};
};

TEST_F(ResultClassroomTest, ShowsTheChartAsTheWindowHasItNowInItsFontAsThePupilsSeeIt) {
    driver().menu("mnuEditMove_1");
    driver().drag("Text1_1", "Text1_55");
    driver().menu("mnuTeacherView");
    driver().menu("mnuClassroom");
    ASSERT_EQ(platform.classrooms.size(), 1u);
    const ClassroomChart& shown = platform.classrooms.back();
    EXPECT_EQ(shown.seats, window.seats());
    EXPECT_EQ(shown.seats[1], "");
    EXPECT_EQ(shown.seats[55], "P0");
    EXPECT_EQ(shown.screen, 0);
    EXPECT_EQ(shown.fontName, "ＭＳ Ｐゴシック");

    driver().menu("mnuOptFont");
    driver().toolbar("Toolbar1_20");
    ASSERT_EQ(platform.classrooms.size(), 2u);
    EXPECT_EQ(platform.classrooms.back().fontName, "ＭＳ Ｐ明朝");
    EXPECT_EQ(stored(), "");  // one screen: nothing asked, nothing kept
}

TEST_F(ResultClassroomTest, WithSeveralScreensTheTeacherChoosesAndTheChoiceIsOfferedNextTime) {
    platform.screenPixels = {{1920, 1080}, {3840, 2160}, {1280, 720}};
    whenAsked(1, [](Driver& d) {
        EXPECT_EQ(d.control("Option1_0").caption, "画面1（1920×1080）");
        EXPECT_EQ(d.control("Option1_1").caption, "画面2（3840×2160）");
        EXPECT_FALSE(d.control("Option1_3").visible);
        d.tick("Option1_2");
        d.click("Command1_0");
    });
    driver().menu("mnuClassroom");
    ASSERT_EQ(platform.classrooms.size(), 1u);
    EXPECT_EQ(platform.classrooms.back().screen, 2);
    EXPECT_EQ(stored(), "3");

    // 取消 by Escape: nothing shown, the choice kept as it was.
    whenAsked(2, [](Driver& d) {
        d.tick("Option1_0");
        d.key(kKeyEscape);
    });
    driver().menu("mnuClassroom");
    EXPECT_EQ(platform.classrooms.size(), 1u);
    EXPECT_EQ(stored(), "3");

    // Enter takes the choice, as 了解 does.
    whenAsked(2, [](Driver& d) {
        d.tick("Option1_0");
        d.key(kKeyEnter);
    });
    driver().menu("mnuClassroom");
    ASSERT_EQ(platform.classrooms.size(), 2u);
    EXPECT_EQ(platform.classrooms.back().screen, 0);
    EXPECT_EQ(stored(), "1");
}

TEST_F(ResultClassroomTest, AStoredScreenThatIsNotThereOffersTheSecond) {
    platform.screenPixels = {{1920, 1080}, {1024, 768}, {800, 600}};
    for (const char* value : {"", "0", "4", "x", "2.0", " 3", "-1", "99999999999"}) {
        platform.store.save("RltVal", "OptScreen", value);
        whenAsked(1, [](Driver& d) { d.click("Command1_0"); });
        driver().menu("mnuClassroom");
        EXPECT_EQ(platform.classrooms.back().screen, 1) << value;
    }
    // A screen remembered from a desk with more screens than now.
    platform.screenPixels.pop_back();
    platform.store.save("RltVal", "OptScreen", "3");
    platform.modalDriver = [this](Form& f) {
        Driver d(platform, f);
        EXPECT_EQ(d.control("Option1_1").value, 1);
        EXPECT_FALSE(d.control("Option1_2").visible);
        d.click("Command1_0");
    };
    driver().menu("mnuClassroom");
    EXPECT_EQ(platform.classrooms.back().screen, 1);
}

}  // namespace
}  // namespace tosbel
