#include "results/result_window.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

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
    ResultWindow window{state, platform,
                        ResultWindowLinks{nullptr, [this] { ++available; }, [this] { ++returns; },
                                          [this] { ++saves; }},
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
    EXPECT_EQ(window.height, 9000);

    EXPECT_EQ(window.Label1[0].caption, "A 1");
    EXPECT_EQ(window.Label1[80].caption, "I  1");
    EXPECT_EQ(window.Label1[89].caption, "I  10");
    EXPECT_EQ(window.Label1[99].caption, "J 10");
    EXPECT_EQ(window.Label1[9].left, 10635);
    EXPECT_EQ(window.Label1[8].left, 390 + 1140 * 8);
    const TextBox& last = window.Text1[99];
    EXPECT_EQ(last.left, 375 + 1140 * 9);
    EXPECT_EQ(last.top, 645 + 750 * 9);
    EXPECT_EQ(last.byteLimit, 12);
    EXPECT_TRUE(last.inputMethod);
}

TEST_F(ResultWindowTest, WithoutARosterTheMainWindowIsNotToldAndCentringIgnoresThePlace) {
    state.OptCent = "1";
    open({});
    EXPECT_EQ(available, 0);
    EXPECT_EQ(window.left, (15360 - 12000) / 2);
    EXPECT_EQ(window.top, (11520 - 9000) / 2);

    // Still written on the way out.
    driver().menu("mnuOK");
    EXPECT_EQ(stored("Position", "R_Left"), "1680");
    EXPECT_EQ(stored("Position", "R_Top"), "1260");
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
