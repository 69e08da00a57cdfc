#include "results/no_print_window.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/settings.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/headless_test.h"

namespace tosbel {
namespace {

const Message kUnsaved{"非印刷行・列は変更されています。 設定しないで終了しますか？", "終了確認",
                       MsgButtons::OkCancel, MsgIcon::Question};

TEST(NoPrintMarked, OnlyALeadingNumberOfOneMarks) {
    for (const char* on : {"1", " 1", "01", "+1", "1.0", "1 "}) EXPECT_TRUE(tickedValue(on)) << on;
    for (const char* off : {"0", "", "x", "10", "12", "1.5", "-1", "0.1", "x1"})
        EXPECT_FALSE(tickedValue(off)) << off;
}

// Row E left off the page and column 6 hand-edited to "01"; the rest printed.
class NoPrintTest : public HeadlessTest {
protected:
    NoPrintTest() {
        state.NoLine.fill("0");
        state.NoRow.fill("0");
        state.NoLine[4] = "1";
        state.NoRow[5] = "01";
    }
    void expectNothingStored(const AppState& before) {
        EXPECT_TRUE(platform.store.saves().empty());
        EXPECT_EQ(state.NoLine, before.NoLine);
        EXPECT_EQ(state.NoRow, before.NoRow);
    }

    AppState state;
    NoPrintWindow window{state, platform};
    Driver driver{platform, window};
};

TEST_F(NoPrintTest, CentredAtItsSizeWithTheBoxesCaptionedBySeat) {
    EXPECT_EQ(window.clientWidth(), 4680);
    EXPECT_EQ(window.clientHeight(), 7050);
    EXPECT_EQ(window.left, (15360 - window.width) / 2);
    EXPECT_EQ(window.top, (11520 - window.height) / 2);
    EXPECT_EQ(driver.control("Check1_0").caption, "A 1 ～ A10");
    EXPECT_EQ(driver.control("Check1_9").caption, "J 1 ～ J10");
    EXPECT_EQ(driver.control("Check2_0").caption, "A 1 ～ J 1");
    EXPECT_EQ(driver.control("Check2_8").caption, "A 9 ～ J 9");
    EXPECT_EQ(driver.control("Check2_9").caption, "A10 ～ J10");
    // The columns' boxes stand in their own frame, one under the other.
    const Control& column4 = driver.control("Check2_3");
    EXPECT_EQ(column4.container, &window.Frame2);
    EXPECT_EQ(column4.top, 330 + 3 * 360);
    // The page's choices under both frames, the buttons below them.
    const Control& both = driver.control("chkBothViews");
    EXPECT_GT(driver.control("chkSameSize").top, window.Frame1.top + window.Frame1.height);
    EXPECT_GT(window.Command1[0].top, both.top + both.height);
}

// Nothing the boxes show has changed, so 取消 neither asks nor stores:
// untouched hand-edited values, and boxes ticked and unticked again.
TEST_F(NoPrintTest, OpensTickedFromTheNumbersAndLeavesQuietlyWhenUnchanged) {
    state.NoLine[7] = "x";
    state.NoRow[0] = " 1";
    const AppState before = state;
    window.show();
    for (std::size_t k = 0; k < 10; ++k) {
        EXPECT_EQ(window.Check1[k].value, k == 4 ? 1 : 0) << "row " << k;
        EXPECT_EQ(window.Check2[k].value, k == 0 || k == 5 ? 1 : 0) << "column " << k;
    }
    EXPECT_EQ(state.NoRowWork, state.NoRow);

    for (const char* box : {"Check1_4", "Check1_4", "Check1_1", "Check1_1", "Check2_5", "Check2_5"})
        driver.tick(box);
    driver.click("Command1_1");
    EXPECT_FALSE(window.isShown());
    expectNothingStored(before);
}

TEST_F(NoPrintTest, ARealChangeIsAskedAboutAndOnlyOkStores) {
    const AppState before = state;
    window.show();
    driver.click("Command1_2");
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 86}}));
    driver.tick("Check1_2");

    platform.answerMessage(kUnsaved, MsgAnswer::Cancel);
    driver.click("Command1_1");
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(window.focused(), &window.Command1[0]);
    platform.answerMessage(kUnsaved, MsgAnswer::Ok);
    driver.click("Command1_1");
    EXPECT_FALSE(window.isShown());
    expectNothingStored(before);

    NoPrintWindow again(state, platform);
    again.show();
    Driver(platform, again).tick("Check2_0");
    EXPECT_TRUE(again.close(UnloadMode::CloseBox));
    expectNothingStored(before);
}

// Through the opener the result window calls. All twenty are written as the
// boxes show them, the hand-edited "01" as "1", and the page's two choices.
TEST_F(NoPrintTest, OkStoresAllTwentyAsTheBoxesShowThem) {
    platform.modalDriver = [this](Form& f) {
        EXPECT_EQ(f.name, "NOPRINT");
        Driver noPrint(platform, f);
        noPrint.tick("Check1_2");
        noPrint.tick("Check2_9");
        noPrint.click("Command1_0");
        EXPECT_FALSE(f.isShown());
    };
    showNoPrintWindow(state, platform);

    EXPECT_EQ(platform.store.saves().size(), 22u);
    const auto& stored = platform.store.values();
    for (int k = 0; k < 10; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const std::string row = k == 2 || k == 4 ? "1" : "0";
        const std::string column = k == 5 || k == 9 ? "1" : "0";
        EXPECT_EQ(state.NoLine[i], row) << k;
        EXPECT_EQ(stored.at({"RltVal", indexedKey("NoLine", k)}), row) << k;
        EXPECT_EQ(state.NoRow[i], column) << k;
        EXPECT_EQ(stored.at({"RltVal", indexedKey("NoRow", k)}), column) << k;
    }
    EXPECT_EQ(stored.at({"RltVal", "PrtScreen"}), "0");
    EXPECT_EQ(stored.at({"RltVal", "PrtBoth"}), "0");
}

// The page's choices open as stored, count as a change for 取消 and are
// stored by 了解 like the rows.
TEST_F(NoPrintTest, ThePagesChoicesAreAskedAboutAndStoredLikeTheRows) {
    state.PrtScreen = " 1";
    const AppState before = state;
    window.show();
    EXPECT_EQ(window.chkSameSize.value, 1);
    driver.tick("chkBothViews");
    platform.answerMessage(kUnsaved, MsgAnswer::Cancel);
    driver.click("Command1_1");
    driver.tick("chkBothViews");
    driver.click("Command1_1");  // as it opened: leaves without asking
    expectNothingStored(before);

    NoPrintWindow again(state, platform);
    again.show();
    Driver(platform, again).tick("chkSameSize");
    Driver(platform, again).tick("chkBothViews");
    Driver(platform, again).click("Command1_0");
    EXPECT_EQ(platform.store.read("RltVal", "PrtScreen"), "0");
    EXPECT_EQ(platform.store.read("RltVal", "PrtBoth"), "1");
    EXPECT_EQ(state.PrtBoth, "1");
}

}  // namespace
}  // namespace tosbel
