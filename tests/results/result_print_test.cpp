// The result window's pages as the platform is asked to print them, and its
// picture of the chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "core/app_state.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "results/chart_layout.h"
#include "results/result_file.h"
#include "results/result_window.h"
#include "tests/headless_test.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

using Sheet = HeadlessPlatform::Sheet;

int rightOf(const TwipRect& r) {
    return r.left + r.width;
}

class ResultPrintTest : public HeadlessTest {
protected:
    ResultPrintTest() { state.TodayText = "2024/04/08"; }
    void open(int filled) {
        std::array<std::string, 100> chart;
        for (int k = 0; k < filled; ++k) chart[static_cast<std::size_t>(k)] = std::to_string(k);
        window.fill(chart);
        window.show();
    }
    Driver driver() { return {platform, window}; }
    TwipRect placeOn(const Sheet& sheet, const char* name) {
        const HeadlessPlatform::SheetItem* item = sheet.find(name);
        EXPECT_NE(item, nullptr) << name;
        return item ? item->place : TwipRect{};
    }

    AppState state;
    ResultWindow window{state, platform, ResultWindowLinks{}, false};
};

// By default the page fills the paper under the heading, with the band;
// "画面と同じ大きさ" brings back the page as it always was.
TEST_F(ResultPrintTest, ThePageFillsThePaperUnlessItIsToKeepTheScreensSize) {
    state.RosterPath = "C:\\名簿\\3年1組.MEM";
    open(40);
    driver().menu("mnuPrintPreview");
    const Sheet& filled = platform.sheets.back();
    EXPECT_EQ(filled.fit, PageFit::FillPaper);
    EXPECT_EQ(filled.heading, "3年1組　2024/04/08");
    EXPECT_EQ(placeOn(filled, "lblBoard"), boardPlace(ChartView::Pupils));
    EXPECT_EQ(filled.find("lblBoard")->backColor, window.lblBoard.backColor);
    EXPECT_EQ(placeOn(filled, "Text1_0"), seatBoxPlace(0, ChartView::Pupils));

    state.PrtScreen = "1";
    driver().menu("mnuPrintPreview");
    const Sheet& same = platform.sheets.back();
    EXPECT_EQ(same.fit, PageFit::TrueSize);
    EXPECT_EQ(same.find("lblBoard"), nullptr);
    EXPECT_EQ(placeOn(same, "Text1_0"), (TwipRect{375, 645, 915, 495}));
    EXPECT_EQ(placeOn(same, "Label1_9"), (TwipRect{10635, 480, 915, 195}));
    EXPECT_EQ(same.clientHeight, window.clientHeight() - kBoardBand);
}

// Each copy is the pupils' view, then the teacher's, whichever the window
// shows, the band over the columns printed; without the choice the view on
// screen prints. The window itself never moves.
TEST_F(ResultPrintTest, BothViewsGiveTwoPagesPerCopyAndTheWindowStaysAsItIs) {
    for (std::size_t c = 6; c < 10; ++c) state.NoRow[c] = "1";  // six columns in the room
    open(60);
    driver().menu("mnuTeacherView");
    const int shownTop = window.Text1[0].top;
    driver().menu("mnuPrintPreview");
    EXPECT_EQ(placeOn(platform.sheets.back(), "Text1_0"), seatBoxPlace(0, ChartView::Teacher));

    state.PrtBoth = "1";
    platform.sheets.clear();
    platform.answerPrinter(PrinterChoice{2});
    driver().menu("mnuPrint");
    ASSERT_EQ(platform.sheets.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const ChartView view = i % 2 == 0 ? ChartView::Pupils : ChartView::Teacher;
        const Sheet& sheet = platform.sheets[i];
        EXPECT_EQ(placeOn(sheet, "Label1_55"), seatLabelPlace(55, view));
        const TwipRect board = placeOn(sheet, "lblBoard");
        const TwipRect first = seatBoxPlace(0, view), sixth = seatBoxPlace(5, view);
        EXPECT_EQ(board.left, std::min(first.left, sixth.left));
        EXPECT_EQ(rightOf(board), std::max(rightOf(first), rightOf(sixth)));
        // Above row A for the pupils, below it for the teacher.
        EXPECT_EQ(board.top < first.top, view == ChartView::Pupils);
    }
    platform.answerFileDialog("/home/t/1組.pdf");
    driver().menu("mnuSavePdf");
    ASSERT_EQ(platform.sheets.size(), 6u);
    EXPECT_EQ(placeOn(platform.sheets[5], "Text1_0"), seatBoxPlace(0, ChartView::Teacher));
    EXPECT_EQ(window.view(), ChartView::Teacher);
    EXPECT_EQ(window.Text1[0].top, shownTop);
}

// The picture: the chart as the window shows it, in its own colours, written
// whole where the teacher says, or not at all, with the reason.
TEST_F(ResultPrintTest, APictureOfTheChartIsWrittenWholeOrNotAtAll) {
    TempDir dir;
    platform.folder = dir.path().string();
    open(30);
    platform.answerFileDialog("");
    driver().menu("mnuSavePicture");
    ASSERT_EQ(platform.saveDialogs.size(), 1u);
    EXPECT_EQ(platform.saveDialogs[0],
              (FileDialogRequest{"画像として保存", "PNGﾌｧｲﾙ(*.png)|*.png", platform.folder, ""}));

    const std::string history = resultHistoryPath(platform.folder);
    platform.answerFileDialog(history);
    platform.answerMessage(
        {"「" + history + "」は過去ﾛｸﾞを記録するﾌｧｲﾙです。\r\r別の名前を付けて下さい。", "保存確認",
         MsgButtons::Ok, MsgIcon::Exclamation});
    driver().menu("mnuSavePicture");

    const std::string nowhere = dir.file("no-such-folder") + "/1組.png";
    platform.answerFileDialog(nowhere);
    platform.answerMessage(
        {"画像ﾌｧｲﾙ「" + nowhere +
             "」を保存できませんでした。\r\r"
             "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。",
         "保存確認", MsgButtons::Ok, MsgIcon::Critical});
    driver().menu("mnuSavePicture");

    // Nothing drawn: a file already there stays as it was.
    const std::string file = dir.file("1組.png");
    spit(file, "last term's chart");
    platform.pictureFails = true;
    platform.answerMessage(
        {"Tosbel結果を画像にできませんでした。", "保存確認", MsgButtons::Ok, MsgIcon::Critical});
    driver().menu("mnuSavePicture");
    state.NoLine.fill("1");
    platform.answerMessage(
        {"画像にする座席がありません。\r\r"
         "非印刷行・列の設定で、すべての行か列が省かれています。",
         "保存確認", MsgButtons::Ok, MsgIcon::Exclamation});
    driver().menu("mnuSavePicture");
    EXPECT_EQ(slurp(file), "last term's chart");

    platform.pictureFails = false;
    state.NoLine.fill("0");
    driver().menu("mnuTeacherView");
    platform.sheets.clear();
    platform.answerFileDialog(file);
    driver().menu("mnuSavePicture");
    EXPECT_EQ(slurp(file), platform.pictureBytes);
    ASSERT_EQ(platform.sheets.size(), 1u);
    const Sheet& picture = platform.sheets[0];
    EXPECT_TRUE(picture.picture);
    EXPECT_EQ(picture.background, (Rgb{128, 128, 128}));
    EXPECT_EQ(picture.find("StatusBar1_1"), nullptr);
    EXPECT_EQ(picture.find("Label1_0")->foreColor, (Rgb{255, 255, 255}));
    EXPECT_EQ(placeOn(picture, "Text1_0"), seatBoxPlace(0, ChartView::Teacher));
    EXPECT_EQ(placeOn(picture, "lblBoard"), boardPlace(ChartView::Teacher));
}

}  // namespace
}  // namespace tosbel
