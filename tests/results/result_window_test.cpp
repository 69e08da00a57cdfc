#include "results/result_window.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/headless_test.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

using Chart = std::array<std::string, 100>;

const Message kOccupied{"移動先には別のメンバーが決まっています。", "移動先確認", MsgButtons::Ok,
                        MsgIcon::Critical};
const Message kSaved{"Tosbel結果を保存しました。", "保存確認", MsgButtons::Ok,
                     MsgIcon::Information};
const Message kPrintFailed{"印刷できませんでした。プリンタの状態を確認して下さい。", "印刷確認",
                           MsgButtons::Ok, MsgIcon::Critical};
const Message kRestore{"Tosbel結果を元へ戻してよろしいですか？", "復元確認", MsgButtons::OkCancel,
                       MsgIcon::Question};

// Seat k holds "k" for the first `filled` seats.
Chart numbered(int filled) {
    Chart c;
    for (int k = 0; k < filled; ++k) c[static_cast<std::size_t>(k)] = std::to_string(k);
    return c;
}

// The notice of a PDF file that could not be written, printed or saved.
const Message kPdfNotSaved{
    "印刷したﾌｧｲﾙ「/usb/1組.pdf」を保存できませんでした。\r\r"
    "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを"
    "確認して下さい。同じ名前のﾌｧｲﾙがあれば、元のままです。",
    "印刷確認", MsgButtons::Ok, MsgIcon::Critical};

class ResultWindowTest : public HeadlessTest {
protected:
    ResultWindowTest() {
        state.OptCent = "0";
        state.OptDbl4 = "0";
        state.OptFgm = "1";
        state.OptCol = "1";
        state.OptPsbar = "1";
        state.R_Top = 600;
        state.R_Left = 900;
    }

    void open(const Chart& chart) {
        window.fill(chart);
        window.show();
    }
    Driver driver() { return {platform, window}; }
    std::string stored(const char* section, const char* key) {
        const auto& values = platform.store.values();
        const auto found = values.find({section, key});
        return found == values.end() ? "<none>" : found->second;
    }

    AppState state;
    int returns = 0;
    int available = 0;
    int saves = 0;
    int shuffles = 0;
    ResultWindow window{state, platform,
                        ResultWindowLinks{nullptr, [this] { ++available; }, [this] { ++returns; },
                                          [this] { ++saves; }, [this] { ++shuffles; }},
                        false};
};

TEST_F(ResultWindowTest, OpensWithTheCallersChartInItsPlace) {
    state.RosterPath = "1組.MEM";
    Chart chart = numbered(40);
    chart[99] = "最後";
    open(chart);
    EXPECT_EQ(window.seats(), chart);
    EXPECT_EQ(state.InitialSeats[100], "最後");
    EXPECT_EQ(state.ResultShown, 1);
    EXPECT_EQ(available, 1);
    EXPECT_EQ(window.top, 600);
    EXPECT_EQ(window.left, 900);
    EXPECT_EQ(window.width, 12000);
    // The board's band below the toolbar lowers the chart and lengthens the window.
    EXPECT_EQ(window.height, 9000 + 330);

    EXPECT_EQ(window.Label1[0].caption, "A 1");
    EXPECT_EQ(window.Label1[80].caption, "I  1");
    EXPECT_EQ(window.Label1[89].caption, "I  10");
    EXPECT_EQ(window.Label1[99].caption, "J 10");
    EXPECT_EQ(window.Label1[9].left, 10635);
    EXPECT_EQ(window.Label1[8].left, 390 + 1140 * 8);
    const TextBox& last = window.Text1[99];
    EXPECT_EQ(last.left, 375 + 1140 * 9);
    EXPECT_EQ(last.top, 645 + 750 * 9 + 330);
    EXPECT_EQ(last.byteLimit, 12);
    EXPECT_TRUE(last.inputMethod);
}

TEST_F(ResultWindowTest, WithoutARosterTheMainWindowIsNotToldAndCentringIgnoresThePlace) {
    state.OptCent = "1";
    open({});
    EXPECT_EQ(available, 0);
    EXPECT_EQ(window.left, (15360 - 12000) / 2);
    EXPECT_EQ(window.top, (11520 - 9330) / 2);

    // Still written on the way out.
    driver().menu("mnuOK");
    EXPECT_EQ(stored("Position", "R_Left"), "1680");
    EXPECT_EQ(stored("Position", "R_Top"), "1095");
    EXPECT_EQ(returns, 1);
}

TEST_F(ResultWindowTest, MovesTurnTheWholeChartWithItsEmptySeats) {
    Chart chart = numbered(37);
    open(chart);
    for (int i = 0; i < 10; ++i) driver().menu("mnuEditMove_0");
    EXPECT_EQ(window.seats(), chart);
    for (int i = 0; i < 10; ++i) driver().toolbar("Toolbar1_10");
    EXPECT_EQ(window.seats(), chart);
    driver().menu("mnuEditMove_0");
    driver().toolbar("Toolbar1_8");
    EXPECT_EQ(window.seats(), chart);
    driver().menu("mnuEditMove_2");
    driver().menu("mnuEditMove_3");
    EXPECT_EQ(window.seats(), chart);

    Chart one;
    one[0] = "山田";
    Chart left, up, right, down;
    left[9] = up[90] = right[1] = down[10] = "山田";
    const std::pair<const char*, Chart*> moves[] = {
        {"Toolbar1_7", &left}, {"Toolbar1_9", &up}, {"Toolbar1_8", &right}, {"Toolbar1_10", &down}};
    for (const auto& [button, expected] : moves) {
        window.fill(one);
        driver().toolbar(button);
        EXPECT_EQ(window.seats(), *expected) << button;
    }
}

TEST_F(ResultWindowTest, OneMemberMovesOnlyToAnEmptySeat) {
    Chart chart;
    chart[0] = "青木";
    chart[1] = "井上";
    open(chart);

    driver().drag("Text1_0", "Text1_0");  // its own seat
    driver().drag("Text1_50", "Text1_60");
    EXPECT_EQ(window.seats(), chart);
    EXPECT_TRUE(platform.messages.empty());

    for (const char* from : {"Text1_0", "Text1_50"}) {
        platform.answerMessage(kOccupied);
        driver().drag(from, "Text1_1");
        EXPECT_EQ(window.seats(), chart) << from;
    }

    driver().drag("Text1_0", "Text1_55");
    EXPECT_EQ(window.Text1[0].text, "");
    EXPECT_EQ(window.Text1[55].text, "青木");
    // A drop anywhere but a seat box is no move.
    driver().drag("Text1_1", "Label1_3");
    driver().drag("Text1_1", "");
    EXPECT_EQ(window.Text1[1].text, "井上");
}

TEST_F(ResultWindowTest, RestoreBringsBackTheOpeningChartOnlyWhenConfirmed) {
    const Chart chart = numbered(30);
    open(chart);
    driver().menu("mnuEditMove_1");
    driver().drag("Text1_0", "Text1_99");
    driver().type("Text1_40", "転入生");
    const Chart changed = window.seats();
    ASSERT_NE(changed, chart);

    platform.answerMessage(kRestore, MsgAnswer::Cancel);
    driver().menu("mnuEditInitial");
    EXPECT_EQ(window.seats(), changed);
    platform.answerMessage(kRestore, MsgAnswer::Ok);
    driver().menu("mnuEditInitial");
    EXPECT_EQ(window.seats(), chart);
    EXPECT_EQ(state.SeatResult[1], "");  // the window never writes the result back
}

// Every hand change is one step back and forth: a drag, a move, a name typed
// into one box however many keys it took, the restore.
TEST_F(ResultWindowTest, HandChangesAreUndoneAndRedoneOneStepAtATime) {
    const Chart opened = numbered(30);
    open(opened);
    EXPECT_FALSE(window.mnuUndo.enabled);
    std::vector<Chart> steps{opened};
    driver().drag("Text1_0", "Text1_99");
    steps.push_back(window.seats());
    driver().menu("mnuEditMove_2");
    steps.push_back(window.seats());
    driver().type("Text1_40", "転");
    driver().type("Text1_40", "入");
    steps.push_back(window.seats());
    driver().drag("Text1_70", "Text1_80");  // an empty seat onto an empty one: no step
    platform.answerMessage(kRestore, MsgAnswer::Ok);
    driver().menu("mnuEditInitial");
    steps.push_back(window.seats());
    ASSERT_EQ(window.seats(), opened);

    for (std::size_t i = steps.size() - 1; i-- > 0;) {
        driver().menu("mnuUndo");
        EXPECT_EQ(window.seats(), steps[i]) << i;
    }
    EXPECT_THROW(driver().menu("mnuUndo"), RefusedAction);
    for (std::size_t i = 1; i < steps.size(); ++i) {
        driver().toolbar("Toolbar1_16");
        EXPECT_EQ(window.seats(), steps[i]) << i;
    }
    EXPECT_FALSE(window.mnuRedo.enabled);

    // A change after an undo leaves nothing to redo; a new chart starts afresh.
    driver().toolbar("Toolbar1_15");
    driver().menu("mnuEditMove_0");
    EXPECT_FALSE(window.mnuRedo.enabled);
    window.fill(opened);
    EXPECT_FALSE(window.mnuUndo.enabled);
}

// The teacher's view turns the chart round: A 1 at the bottom right, the
// board's band below row A; nothing else changes, the saved file least of all.
TEST_F(ResultWindowTest, TheTeachersViewTurnsTheChartButNotTheFile) {
    TempDir dir;
    platform.folder = dir.path().string();
    const Chart chart = numbered(35);
    open(chart);
    const auto below = [](const Control& a, const Control& b) { return a.top >= b.top + b.height; };
    const auto apart = [](const Control& a, const Control& b) {
        return a.left >= b.left + b.width || b.left >= a.left + a.width ||
               a.top >= b.top + b.height || b.top >= a.top + a.height;
    };
    const auto bandClear = [&](const char* view) {
        for (const Control* band : {&window.lblBoard, &window.lblDesk}) {
            EXPECT_LE(band->top + band->height, window.height - 660 - 300)
                << view;                        // the status bar
            EXPECT_GE(band->top, 360) << view;  // the toolbar
            for (std::size_t k = 0; k < 100; ++k) {
                EXPECT_TRUE(apart(*band, window.Text1[k])) << view << k;
                EXPECT_TRUE(apart(*band, window.Label1[k])) << view << k;
            }
        }
    };
    EXPECT_EQ(window.lblBoard.caption, "　黒板");
    EXPECT_EQ(window.lblDesk.caption, "教卓");
    EXPECT_TRUE(below(window.Label1[0], window.lblBoard));
    bandClear("pupils");

    driver().toolbar("Toolbar1_19");
    EXPECT_TRUE(window.mnuTeacherView.checked);
    EXPECT_EQ(stored("RltVal", "OptTeacher"), "1");
    EXPECT_TRUE(below(window.Text1[0], window.Text1[99]));
    EXPECT_GT(window.Text1[0].left, window.Text1[99].left);
    EXPECT_EQ(window.Text1[0].left, 375 + 1140 * 9);
    EXPECT_TRUE(below(window.lblBoard, window.Text1[0]));
    bandClear("teacher");

    // Hand changes work in the turned chart; the arrows move it the way they
    // point on screen.
    driver().menu("mnuEditMove_0");  // left on screen: towards column 10
    EXPECT_EQ(window.Text1[1].text, "0");
    EXPECT_LT(window.Text1[1].left, window.Text1[0].left);
    driver().drag("Text1_1", "Text1_99");
    EXPECT_EQ(window.Text1[99].text, "0");
    driver().menu("mnuUndo");
    driver().menu("mnuUndo");
    EXPECT_EQ(window.seats(), chart);

    platform.answerFileDialog(dir.file("teacher.RLT"));
    platform.answerMessage(kSaved);
    driver().menu("mnuResultSave");
    ResultWindow next{state, platform, {}, false};
    next.fill(chart);
    next.show();
    EXPECT_TRUE(next.mnuTeacherView.checked);  // kept for the next chart
    Driver{platform, next}.menu("mnuTeacherView");
    EXPECT_EQ(next.Text1[0].top, 645 + 330);
    platform.answerFileDialog(dir.file("pupils.RLT"));
    platform.answerMessage(kSaved);
    Driver{platform, next}.menu("mnuResultSave");
    EXPECT_EQ(slurp(dir.at("teacher.RLT")), slurp(dir.at("pupils.RLT")));
}

// もう一度 asks first only when hand changes would be lost, and is there only
// for the chart the last shuffle of the class in hand made.
TEST_F(ResultWindowTest, ShuffleAgainAsksOnlyWhenHandChangesWouldBeLost) {
    const Message again{
        "手で変えた席は保存されていません。\r\r"
        "同じ条件でもう一度席替えしてよろしいですか？",
        "もう一度確認", MsgButtons::OkCancel, MsgIcon::Question};
    const Chart chart = numbered(20);
    open(chart);
    EXPECT_THROW(driver().menu("mnuShuffleAgain"), RefusedAction);  // a past log

    state.MemberCount = 20;
    for (std::size_t k = 0; k < 100; ++k) state.SeatResult[k + 1] = chart[k];
    window.fill(chart);
    driver().toolbar("Toolbar1_18");
    EXPECT_EQ(shuffles, 1);
    EXPECT_TRUE(platform.messages.empty());

    driver().menu("mnuEditMove_1");
    platform.answerMessage(again, MsgAnswer::Cancel);
    driver().menu("mnuShuffleAgain");
    EXPECT_EQ(shuffles, 1);
    EXPECT_NE(window.seats(), chart);
    platform.answerMessage(again, MsgAnswer::Ok);
    driver().menu("mnuShuffleAgain");
    EXPECT_EQ(shuffles, 2);
    // Moved back by hand, nothing is lost.
    driver().menu("mnuEditMove_0");
    driver().menu("mnuShuffleAgain");
    EXPECT_EQ(shuffles, 3);
}

TEST_F(ResultWindowTest, TheChartIsSavedAsATableForSpreadsheets) {
    TempDir dir;
    platform.folder = dir.path().string();
    Chart chart;
    chart[0] = "山田";
    chart[12] = "a,\"b\"";
    open(chart);
    // The result history is never written over.
    const std::string history = (dir.path() / "Tosbel.ini").string();
    platform.answerFileDialog(history);
    platform.answerMessage(
        {"「" + history + "」は過去ﾛｸﾞを記録するﾌｧｲﾙです。\r\r別の名前を付けて下さい。", "保存確認",
         MsgButtons::Ok, MsgIcon::Exclamation});
    driver().menu("mnuSaveTable");
    EXPECT_FALSE(std::filesystem::exists(history));

    platform.answerFileDialog(dir.file("1組.csv"));
    driver().menu("mnuSaveTable");
    EXPECT_EQ(platform.saveDialogs.back().filter, "CSVﾌｧｲﾙ(*.csv)|*.csv");
    EXPECT_EQ(slurp(dir.at("1組.csv")),
              "\xEF\xBB\xBF,1,2,3\r\nA,山田,,\r\nB,,,\"a,\"\"b\"\"\"\r\n");
}

TEST_F(ResultWindowTest, EnterMovesOnInSeatOrder) {
    open({});
    driver().type("Text1_9", "A\r");
    EXPECT_EQ(window.focused(), &window.Text1[10]);
    EXPECT_EQ(window.T_Index, 10);
    EXPECT_EQ(window.Text1[9].text, "A");
}

TEST_F(ResultWindowTest, DoubleClicksCloseOnlyWithTheOption) {
    open({});
    for (const char* where : {"", "Label1_4", "Text1_4", "Toolbar1"}) driver().dblClick(where);
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(returns, 0);

    driver().menu("mnuOptBack");
    EXPECT_EQ(stored("Config", "OptDbl4"), "1");
    window.left = 450;
    driver().dblClick("Label1_4");
    EXPECT_FALSE(window.isShown());
    EXPECT_EQ(returns, 1);
    // Only this way out keeps the place for the next opening in this run.
    EXPECT_EQ(state.R_Left, 450);
    EXPECT_EQ(stored("Position", "R_Left"), "450");
}

TEST_F(ResultWindowTest, TheCloseBoxStoresThePlaceAndReturnsTheSystemEndingDoesNot) {
    open({});
    window.left = 300;
    window.close(UnloadMode::CloseBox);
    EXPECT_EQ(stored("Position", "R_Left"), "300");
    EXPECT_EQ(state.R_Left, 900);
    EXPECT_EQ(returns, 1);

    window.show();
    window.close(UnloadMode::SystemEnding);
    EXPECT_EQ(returns, 1);
}

TEST_F(ResultWindowTest, OptionsTickFromTheStateAndStoreAtOnce) {
    state.OptFgm = "0";
    state.OptPsbar = "";
    state.OptCol = "0";
    open({});
    EXPECT_EQ(window.Text1[0].font.name, "ＭＳ Ｐ明朝");
    EXPECT_EQ(window.Label1[99].font.name, "ＭＳ Ｐ明朝");
    EXPECT_FALSE(window.mnuOptFont.checked);
    EXPECT_TRUE(window.mnuPrintStatusBar.checked);
    EXPECT_EQ(state.OptPsbar, "1");
    EXPECT_FALSE(window.mnuOptColorPrt.checked);

    driver().menu("mnuOptFont");
    EXPECT_EQ(window.Text1[57].font.name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(window.Label1[0].font.name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(window.Text1[57].font.size, 9.75f);
    EXPECT_EQ(stored("RltVal", "OptFgm"), "1");
    driver().menu("mnuOptColorPrt");
    EXPECT_EQ(stored("RltVal", "OptCol"), "1");
    driver().menu("mnuPrintStatusBar");
    EXPECT_EQ(stored("Config", "OptPsbar"), "0");
    EXPECT_EQ(state.OptPsbar, "0");
}

TEST_F(ResultWindowTest, HelpOpensThisWindowsPageOrTheSearch) {
    open({});
    driver().toolbar("Toolbar1_13");
    driver().menu("mnuHelpContext_KeyWord_0");
    ASSERT_EQ(platform.helps.size(), 2u);
    EXPECT_EQ(platform.helps[0], (HelpRequest{HelpCommand::Context, 34}));
    EXPECT_EQ(platform.helps[1], (HelpRequest{HelpCommand::PartialKey, 0}));
    EXPECT_THROW(driver().toolbar("Toolbar1_12"), RefusedAction);  // no version window
}

// Saving: the place is stored before the dialog, a cancelled dialog or a
// refused text keeps the window and its chart, a save closes it.
TEST_F(ResultWindowTest, ASaveClosesTheWindowOnlyWhenTheChartIsWritten) {
    TempDir dir;
    platform.folder = dir.path().string();
    Chart chart;
    chart[0] = "山田　太郎";
    open(chart);
    window.left = 1200;

    platform.answerFileDialog("");
    driver().menu("mnuResultSave");
    EXPECT_EQ(stored("Position", "R_Left"), "1200");
    EXPECT_TRUE(window.isShown());

    driver().type("Text1_24", "a,b");
    platform.answerFileDialog(dir.file("1組.RLT"));
    platform.answerMessage({"C 5の席の「,」は結果ﾌｧｲﾙに保存できません。", "氏名確認",
                            MsgButtons::Ok, MsgIcon::Exclamation});
    driver().toolbar("Toolbar1_2");
    EXPECT_TRUE(window.isShown());
    EXPECT_FALSE(std::filesystem::exists(dir.at("1組.RLT")));
    EXPECT_EQ(window.Text1[24].text, "a,b");

    platform.answerMessage(kRestore, MsgAnswer::Ok);
    driver().menu("mnuEditInitial");
    driver().menu("mnuEditMove_1");  // the chart as the teacher left it is what is kept
    platform.answerFileDialog(dir.file("1組.RLT"));
    platform.answerMessage(kSaved);
    driver().menu("mnuResultSave");
    EXPECT_FALSE(window.isShown());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(returns, 1);
    const std::string saved = slurp(dir.at("1組.RLT"));
    EXPECT_EQ(saved.substr(0, 4), "\r\n\x8e\x52");  // A 1 empty, 山田 on A 2
    // The history is code page 932 too: 組 is 91 67.
    EXPECT_EQ(slurp(dir.path() / "Tosbel.ini"), dir.file("1") + "\x91g.RLT\r\n");
}

TEST_F(ResultWindowTest, AChartThatCannotBeWrittenStaysOnScreen) {
    TempDir dir;
    platform.folder = dir.path().string();
    open(numbered(10));
    const std::string into = dir.file("no-such-folder") + "/1組.RLT";
    platform.answerFileDialog(into);
    platform.answerMessage(
        {"結果ﾌｧｲﾙ「" + into +
             "」を保存できませんでした。\r\r"
             "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。",
         "保存確認", MsgButtons::Ok, MsgIcon::Critical});
    driver().menu("mnuResultSave");
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(window.seats(), numbered(10));
    EXPECT_EQ(saves, 0);
}

// The sheet as printed: every seat but those marked not to print, black
// labels, boxes grey or white by the colour option; the window itself keeps
// its screen colours throughout.
TEST_F(ResultWindowTest, ThePrintedChartFollowsThePrintOptions) {
    state.NoLine[2] = "1";  // row C
    state.NoRow[9] = "1";   // column 10
    open(numbered(100));
    platform.answerPrinter(PrinterChoice{3});
    driver().menu("mnuPrint");
    ASSERT_EQ(platform.sheets.size(), 3u);
    const HeadlessPlatform::Sheet& sheet = platform.sheets[0];
    EXPECT_EQ(sheet.background, (Rgb{255, 255, 255}));
    for (const char* gone : {"Text1_20", "Label1_29", "Text1_9", "Text1_99", "Label1_59"})
        EXPECT_EQ(sheet.find(gone), nullptr) << gone;
    const auto* box = sheet.find("Text1_18");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, "18");
    EXPECT_EQ(box->backColor, (Rgb{192, 192, 192}));
    EXPECT_EQ(sheet.find("Label1_0")->foreColor, (Rgb{0, 0, 0}));
    EXPECT_EQ(sheet.find("StatusBar1_1")->text,
              "結果に対しては・・・  いつも、(^_^)(^_^)ﾆｺﾆｺ 笑顔で了解");
    EXPECT_EQ(window.Label1[0].foreColor, (Rgb{255, 255, 255}));
    EXPECT_TRUE(window.Text1[20].visible);

    // Black and white, no status bar, every row out: nothing on the page.
    driver().menu("mnuOptColorPrt");
    driver().menu("mnuPrintStatusBar");
    platform.answerPrinter(PrinterChoice{1});
    driver().toolbar("Toolbar1_5");
    EXPECT_EQ(platform.sheets.back().find("Text1_18")->backColor, (Rgb{255, 255, 255}));
    EXPECT_EQ(platform.sheets.back().find("StatusBar1_1"), nullptr);
    state.NoLine.fill("1");
    driver().menu("mnuPrintPreview");
    EXPECT_TRUE(platform.sheets.back().preview);
    EXPECT_TRUE(platform.sheets.back().items.empty());
    EXPECT_EQ(window.Text1[18].backColor, (Rgb{192, 192, 192}));
}

TEST_F(ResultWindowTest, ACancelledDialogPrintsNothingAndAFailedPrintSaysSo) {
    open(numbered(5));
    platform.answerPrinter(std::nullopt);
    driver().menu("mnuPrint");
    EXPECT_TRUE(platform.sheets.empty());
    EXPECT_TRUE(platform.messages.empty());

    platform.printerFails = true;
    platform.answerPrinter(PrinterChoice{2});
    platform.answerMessage(kPrintFailed);
    driver().menu("mnuPrint");
    EXPECT_TRUE(platform.sheets.empty());
    EXPECT_TRUE(window.isShown());

    // A printer that writes a PDF file names the file it could not save.
    platform.answerPrinter(PrinterChoice{1, "/usb/1組.pdf"});
    platform.answerMessage(kPdfNotSaved);
    driver().menu("mnuPrint");
}

TEST_F(ResultWindowTest, SaveAsPdfWritesThePrintedPageToTheChosenFileOrSaysWhyNot) {
    open(numbered(5));
    platform.answerFileDialog("");
    driver().menu("mnuSavePdf");
    EXPECT_TRUE(platform.sheets.empty());
    ASSERT_EQ(platform.saveDialogs.size(), 1u);
    EXPECT_EQ(platform.saveDialogs[0].title, "PDFとして保存");
    EXPECT_EQ(platform.saveDialogs[0].filter, "PDFﾌｧｲﾙ(*.pdf)|*.pdf");

    platform.answerFileDialog("/home/t/1組.pdf");
    driver().menu("mnuSavePdf");
    ASSERT_EQ(platform.sheets.size(), 1u);
    EXPECT_EQ(platform.sheets[0].pdfFile, "/home/t/1組.pdf");
    EXPECT_FALSE(platform.sheets[0].preview);
    EXPECT_EQ(platform.sheets[0].find("Text1_1")->text, "1");

    platform.printerFails = true;
    platform.answerFileDialog("/usb/1組.pdf");
    platform.answerMessage(kPdfNotSaved);
    driver().menu("mnuSavePdf");
    EXPECT_TRUE(window.isShown());
}

}  // namespace
}  // namespace tosbel
