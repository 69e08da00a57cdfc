#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "roster/roster_editor.h"
#include "roster/roster_file.h"
#include "shell/os_name.h"
#include "shell/roster_history.h"
#include "shell/shell.h"
#include "tests/headless_test.h"
#include "tests/picture_headers.h"
#include "tests/posix_only.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

const Message kExit{"「Tosbel君 for Windows」 を 終了しますか？", "終了確認", MsgButtons::OkCancel,
                    MsgIcon::Question};
const Message kRosterMissing{"指定した名簿がありません。存在を確認して下さい。", "名簿の存在確認",
                             MsgButtons::Ok, MsgIcon::Critical};
const Message kRecentMissing{"指定した名簿がありません。 存在を確認して下さい。", "名簿の存在確認",
                             MsgButtons::Ok, MsgIcon::Critical};
const Message kPastLogMissing{"指定したﾌｧｲﾙがありません。存在を確認して下さい。", "ﾌｧｲﾙの存在確認",
                              MsgButtons::Ok, MsgIcon::Critical};

struct Band {
    float y1;
    Rgb colour;
};
struct RecordingCanvas final : Canvas {
    std::vector<Band> bands;
    void fillBox(float, float y1, float, float, Rgb colour) override {
        bands.push_back({y1, colour});
    }
};

// A program folder, a store and the windows the main window opens, recorded.
class ShellTest : public HeadlessTest {
protected:
    ShellTest() {
        platform.folder = dir.path().string();
        platform.modalDriver = [](Form& f) {
            HeadlessPlatform::fireTimer(f, "Timer1");  // the logo closes itself
        };
        WindowOpeners& w = shell.windows();
        w.rosterEditor = [this](bool modal) { editorOpenings.push_back(modal); };
        w.conditions = [this] { opened.push_back("conditions"); };
        w.result = [this] { opened.push_back("result"); };
        w.shuffle = [this] { opened.push_back("shuffle"); };
        w.version = [this] { opened.push_back("version"); };
    }

    void set(const char* section, const std::string& key, const std::string& value) {
        platform.store.save(section, key, value);
    }
    std::string stored(const char* section, const std::string& key) {
        return platform.store.read(section, key);
    }
    void quietStart() {
        set("Config", "OptLogo", "0");
        shell.startUp();
    }
    MainWindow& main() { return *shell.mainWindow(); }
    // The main window is made afresh each time it is shown again.
    Driver driver() { return {platform, main()}; }
    std::string roster(const std::string& name, const std::vector<std::string>& names) {
        const std::string path = dir.file(name);
        EXPECT_EQ(writeRoster(path, names).error, FileError::None);
        return path;
    }

    TempDir dir;
    Shell shell{platform};
    std::vector<bool> editorOpenings;
    std::vector<std::string> opened;
};

TEST_F(ShellTest, FirstStartShowsTheLogoWritesDefaultsAndCentresTheMainWindow) {
    shell.startUp();

    EXPECT_EQ(platform.shown, (std::vector<std::string>{"INITDISP", "TOSBEL"}));
    EXPECT_EQ(stored("Config", "OptLogo"), "1");
    EXPECT_EQ(stored("Config", "OptMColor"), "0");
    EXPECT_EQ(stored("CountDown", "Koma(9)"), "TEN.BMP");
    EXPECT_EQ(stored("Position", "I_Top"), "");
    EXPECT_EQ(stored("FilesHistory", "Rireki(0)"), "");
    EXPECT_EQ(shell.state().TitleColor, (Rgb{0, 128, 128}));
    // 1024 × 768 screen: (15360 − 12000) / 2, (11520 − 9000) / 2.
    EXPECT_EQ(main().left, 1680);
    EXPECT_EQ(main().top, 1260);
    EXPECT_TRUE(main().mnuOptEnvCnter.checked);
    EXPECT_TRUE(main().mnuOptLogo.checked);
    EXPECT_EQ(main().Label1.foreColor, (Rgb{0, 128, 128}));
    EXPECT_EQ(main().Label2[0].foreColor, (Rgb{0, 64, 0}));
}

TEST_F(ShellTest, LogoOffOpensTheMainWindowAtItsStoredPlaceWhenNotCentred) {
    set("Position", "OptCent", "0");
    set("Position", "I_Top", "300");
    set("Position", "I_Left", "450.5");
    quietStart();

    EXPECT_EQ(platform.shown, std::vector<std::string>{"TOSBEL"});
    EXPECT_EQ(main().top, 300);
    EXPECT_EQ(main().left, 450);
    EXPECT_FALSE(main().mnuOptEnvCnter.checked);
    EXPECT_FALSE(main().mnuOptLogo.checked);
}

TEST(MainWindowPlace, APlaceOffEveryScreenOpensCentredAndStaysStoredUntilMoved) {
    struct Case {
        const char* top;
        const char* left;
        bool kept;
    };
    // A 1024 × 768 screen of 15360 × 11520 twips; the window is 12000 wide.
    const Case cases[] = {
        {"99999999999", "0", false}, {"-5000000", "0", false}, {"30000", "0", false},
        {"0", "30000", false},       {"-1", "0", false},       {"0", "-11000", false},
        {"0", "-10000", true},       {"11160", "0", true},     {"11161", "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.top) + ", " + c.left);
        HeadlessPlatform p;
        p.store.save("Config", "OptLogo", "0");
        p.store.save("Position", "OptCent", "0");
        p.store.save("Position", "I_Top", c.top);
        p.store.save("Position", "I_Left", c.left);
        Shell s(p);
        s.startUp();
        MainWindow& w = *s.mainWindow();
        if (c.kept) {
            EXPECT_EQ(w.top, std::stoi(c.top));
            EXPECT_EQ(w.left, std::stoi(c.left));
            continue;
        }
        EXPECT_EQ(w.top, 1260);
        EXPECT_EQ(w.left, 1680);
        // Not moved: the stored place is left for the screen it may belong to.
        Driver d(p, w);
        p.answerMessage(kExit, MsgAnswer::Cancel);
        d.menu("mnuEnd");
        EXPECT_EQ(p.store.read("Position", "I_Top"), c.top);
        // Moved: where it now stands is stored.
        w.top = 600;
        p.answerMessage(kExit, MsgAnswer::Cancel);
        d.menu("mnuEnd");
        EXPECT_EQ(p.store.read("Position", "I_Top"), "600");
        EXPECT_EQ(p.store.read("Position", "I_Left"), "1680");
        EXPECT_TRUE(p.scriptDone()) << p.unusedScript();
    }
}

TEST_F(ShellTest, SettingsThatCannotBeSavedAreReportedOncePerRun) {
    set("Config", "OptLogo", "0");
    platform.store.failSaves = true;
    const std::string notice =
        "設定を保存できませんでした。ディスクの空きと書き込みの許可を確認して下さい。";
    platform.answerMessage({notice, "設定の保存確認", MsgButtons::Ok, MsgIcon::Exclamation});
    shell.startUp();  // the first defaults cannot be written
    ASSERT_TRUE(main().isShown());

    // The option still works for this run, and nothing more is said.
    driver().menu("mnuOptDouble");
    EXPECT_EQ(shell.state().OptDbl, "0");
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(ShellTest, StatusBarShowsTheDateAndTimeAndTheTimerRefreshesThem) {
    platform.fixedClock.time = {2004, 3, 7, 13, 5, 0};
    quietStart();
    EXPECT_EQ(main().StatusBar1.panel(2).text, "2004/03/07");
    EXPECT_EQ(main().StatusBar1.panel(3).text, "午後 01:05");

    platform.fixedClock.time = {2004, 3, 8, 9, 30, 0};
    HeadlessPlatform::fireTimer(main(), "Timer1");
    EXPECT_EQ(main().StatusBar1.panel(2).text, "2004/03/08");
    EXPECT_EQ(main().StatusBar1.panel(3).text, "午前 09:30");
}

// The gradient bands' colours from the top to the bottom of the window.
TEST_F(ShellTest, ThemesPaintTheirGradientAndLettering) {
    struct Case {
        const char* theme;
        Rgb top;
        Rgb title;
    };
    for (const Case& c :
         {Case{"0", {10, 50, 110}, {0, 128, 128}}, Case{"3", {255, 255, 200}, {192, 192, 0}},
          Case{"7", {10, 50, 110}, {0, 128, 128}},  // a hand-edited value
          Case{"4", {0, 0, 0}, {0, 0, 0}}}) {
        SCOPED_TRACE(c.theme);
        HeadlessPlatform p;
        p.store.save("Config", "OptLogo", "0");
        p.store.save("Config", "OptMColor", c.theme);
        p.store.save("Config", "Maing", dir.file("missing.bmp"));
        Shell s(p);
        s.startUp();
        RecordingCanvas canvas;
        s.mainWindow()->Form_Paint(canvas);
        ASSERT_EQ(canvas.bands.size(), 17u);
        EXPECT_EQ(canvas.bands.front().y1, -1);
        EXPECT_EQ(canvas.bands.front().colour, c.top);
        EXPECT_EQ(canvas.bands.back().colour.red, c.top.red);
        EXPECT_LT(canvas.bands.back().colour.blue, 20);
        EXPECT_EQ(s.mainWindow()->Label1.foreColor, c.title);
        EXPECT_FALSE(s.mainWindow()->Image1.visible);
    }
}

TEST_F(ShellTest, PictureThemeShowsAnExistingPicture) {
    spit(dir.path() / "back.bmp", pictures::bmp(2, 2));
    set("Config", "OptMColor", "4");
    set("Config", "Maing", dir.file("back.bmp"));
    quietStart();
    EXPECT_TRUE(main().Image1.visible);
    EXPECT_EQ(main().Image1.picture, dir.file("back.bmp"));
}

// A few bytes that claim more pixels than memory holds are no background:
// the gradient shows, and the lettering on it.
TEST_F(ShellTest, APictureTooLargeToDecodeLeavesTheGradient) {
    spit(dir.path() / "bomb.bmp", pictures::bmp(60000, 60000));
    set("Config", "OptMColor", "4");
    set("Config", "Maing", dir.file("bomb.bmp"));
    quietStart();
    EXPECT_FALSE(main().Image1.visible);
    EXPECT_EQ(main().Image1.picture, "");
}

TEST(OsName, MapsTheReportedVersionAndGrowsTheMainWindowOnXp) {
    EXPECT_EQ(osName(OsVersion{1, 4, 0}), "Windows 95");
    EXPECT_EQ(osName(OsVersion{1, 4, 10}), "Windows 98");
    EXPECT_EQ(osName(OsVersion{1, 4, 90}), "Windows Me");
    EXPECT_EQ(osName(OsVersion{2, 4, 0}), "Windows NT");
    EXPECT_EQ(osName(OsVersion{2, 5, 0}), "Windows 2000");
    EXPECT_EQ(osName(OsVersion{2, 5, 1}), "Windows XP");
    EXPECT_EQ(osName(OsVersion{3, 10, 0}), "");
    EXPECT_EQ(osName(std::nullopt), "");

    for (auto [minor, expected] : {std::pair{1, 9120}, std::pair{0, 9000}}) {
        HeadlessPlatform p;
        p.store.save("Config", "OptLogo", "0");
        p.os = OsVersion{2, 5, minor};
        Shell s(p);
        s.startUp();
        EXPECT_EQ(s.mainWindow()->height, expected);
    }
}

TEST_F(ShellTest, ExitFromTheMenuSavesThePositionThenAsks) {
    quietStart();
    platform.answerMessage(kExit, MsgAnswer::Cancel);
    driver().menu("mnuEnd");
    EXPECT_FALSE(platform.ended);
    EXPECT_TRUE(main().isShown());
    EXPECT_EQ(stored("Position", "I_Top"), "1260");
    EXPECT_EQ(platform.store.saves().back(), (MemorySettingsStore::Address{"Position", "I_Left"}));

    platform.answerMessage(kExit, MsgAnswer::Ok);
    driver().toolbar("Toolbar1_9");
    EXPECT_TRUE(platform.ended);
    EXPECT_FALSE(main().isShown());
}

TEST_F(ShellTest, CloseBoxAsksAndCancelKeepsTheWindow) {
    quietStart();
    main().top = 600;
    platform.answerMessage(kExit, MsgAnswer::Cancel);
    EXPECT_FALSE(main().close(UnloadMode::CloseBox));
    EXPECT_TRUE(main().isShown());
    EXPECT_EQ(shell.state().I_Top, 600);
    EXPECT_EQ(stored("Position", "I_Top"), "600");

    platform.answerMessage(kExit, MsgAnswer::Ok);
    EXPECT_TRUE(main().close(UnloadMode::CloseBox));
    EXPECT_TRUE(platform.ended);
}

TEST_F(ShellTest, TheProgramClosingTheWindowAsksNothing) {
    quietStart();
    main().left = 900;
    EXPECT_TRUE(main().close(UnloadMode::Program));  // any message would throw
    EXPECT_FALSE(platform.ended);
    EXPECT_EQ(stored("Position", "I_Left"), "900");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ShellTest, DoubleClickEndsOnlyWithTheOption) {
    set("Config", "OptDbl", "0");
    quietStart();
    driver().dblClick("Label1");
    driver().dblClick("Label4");
    driver().dblClick("StatusBar1");
    driver().dblClick("Toolbar1");
    driver().dblClick("");
    EXPECT_TRUE(platform.messages.empty());

    driver().menu("mnuOptDouble");
    EXPECT_EQ(stored("Config", "OptDbl"), "1");
    platform.answerMessage(kExit, MsgAnswer::Cancel);
    driver().dblClick("Label1");
    EXPECT_EQ(platform.messages.size(), 1u);
}

struct Enablement {
    bool createOpen, conditions, shuffle, result;
};
Enablement enablementOf(MainWindow& m) {
    Toolbar& t = m.Toolbar1;
    EXPECT_EQ(m.mnuFileCreate.enabled, t.button(2).isEnabled());
    EXPECT_EQ(m.mnuFileOpen.enabled, t.button(3).isEnabled());
    EXPECT_EQ(m.mnuFileCreate.enabled, m.mnuFileOpen.enabled);
    EXPECT_EQ(m.mnuCondition.enabled, t.button(7).isEnabled());
    EXPECT_EQ(m.mnuFileTosbel.enabled, t.button(8).isEnabled());
    for (int i = 13; i <= 36; ++i) EXPECT_FALSE(t.button(i).isEnabled());
    return {m.mnuFileCreate.enabled, m.mnuCondition.enabled, m.mnuFileTosbel.enabled,
            m.mnuResult.enabled};
}

TEST_F(ShellTest, CommandsFollowTheWindowsState) {
    quietStart();
    auto e = enablementOf(main());
    EXPECT_TRUE(e.createOpen && !e.conditions && !e.shuffle && !e.result);
    for (const char* button : {"Toolbar1_7", "Toolbar1_8"})
        EXPECT_THROW(driver().toolbar(button), RefusedAction) << button;
    EXPECT_THROW(driver().menu("mnuResult"), RefusedAction);

    main().conditionsLoaded();
    e = enablementOf(main());
    EXPECT_TRUE(!e.createOpen && e.conditions && e.shuffle && !e.result);
    for (const char* button : {"Toolbar1_2", "Toolbar1_3"})
        EXPECT_THROW(driver().toolbar(button), RefusedAction) << button;
    for (const char* item : {"mnuFileCreate", "mnuFileOpen"})
        EXPECT_THROW(driver().menu(item), RefusedAction) << item;
    driver().toolbar("Toolbar1_7");
    driver().menu("mnuFileTosbel");
    EXPECT_EQ(opened, (std::vector<std::string>{"conditions", "shuffle"}));

    main().resultAvailable();
    EXPECT_TRUE(enablementOf(main()).result);

    // Reopened after a result was shown in this run.
    main().close(UnloadMode::Program);
    shell.state().ResultShown = 1;
    shell.showMainWindow();
    e = enablementOf(main());
    EXPECT_TRUE(e.createOpen && !e.conditions && !e.shuffle && e.result);
}

TEST_F(ShellTest, CommandsWhoseWindowIsNotBuiltStayDisabled) {
    shell.windows() = {};
    set("FilesHistory", "Rireki(0)", dir.file("a.MEM"));
    quietStart();
    main().conditionsLoaded();
    main().resultAvailable();
    for (const char* item :
         {"mnuCondition", "mnuFileTosbel", "mnuResult", "mnuVersion", "mnuFileCopy",
          "mnuFileDelete", "mnuMainColor", "mnuOptEnvCntRun", "mnuFileArray2_1"})
        EXPECT_THROW(driver().menu(item), RefusedAction) << item;
    for (const char* button : {"Toolbar1_5", "Toolbar1_7", "Toolbar1_8", "Toolbar1_11"})
        EXPECT_THROW(driver().toolbar(button), RefusedAction) << button;
    main().conditionsLoaded();
    EXPECT_THROW(driver().menu("mnuFileCreate"), RefusedAction);
    EXPECT_TRUE(main().mnuOptLogo.enabled);
    EXPECT_TRUE(main().mnuEnd.enabled);
}

TEST_F(ShellTest, RecentRostersNeedTheEditorAndPastLogsTheResultWindow) {
    set("FilesHistory", "Rireki(0)", roster("a.MEM", {"青木"}));
    spit(dir.path() / "Tosbel.ini", dir.file("1.RLT") + "\r\n");
    spit(dir.path() / "1.RLT", "\x90\xC2\x96\xD8\r\n");  // 青木 on A 1

    shell.windows().result = nullptr;
    quietStart();
    EXPECT_THROW(driver().menu("mnuFileArray_1"), RefusedAction);
    driver().menu("mnuFileArray2_1");
    EXPECT_EQ(editorOpenings, std::vector<bool>{true});

    main().close(UnloadMode::Program);
    shell.windows().result = [this] { opened.push_back("result"); };
    shell.windows().rosterEditor = nullptr;
    shell.showMainWindow();
    EXPECT_THROW(driver().menu("mnuFileArray2_1"), RefusedAction);
    driver().menu("mnuFileArray_1");
    EXPECT_EQ(opened, std::vector<std::string>{"result"});
}

TEST_F(ShellTest, MenuListsComeFromTheHistoryFileAndTheRecentRosters) {
    // No history file and no recent rosters: the separators stay hidden.
    quietStart();
    EXPECT_EQ(main().mnuFileArray.upperBound(), 0);
    EXPECT_FALSE(main().mnuFileArray[0].visible);
    EXPECT_FALSE(main().mnuFileArray2[0].visible);
    main().close(UnloadMode::Program);

    // The result-save command spells the file "Tosbel.INI".
    spit(dir.path() / "Tosbel.INI", "C:\\R\\1.RLT\r\n\r\n\x83\x5e.RLT\r\n");
    shell.state().Rireki = {"", "/r/b.MEM", "", "/r/c.MEM", ""};
    shell.showMainWindow();
    MainWindow& m = main();
    ASSERT_EQ(m.mnuFileArray.upperBound(), 2);
    EXPECT_TRUE(m.mnuFileArray[0].visible);
    EXPECT_EQ(m.mnuFileArray[1].caption, "C:\\R\\1.RLT");
    EXPECT_EQ(m.mnuFileArray[2].caption, "タ.RLT");
    ASSERT_EQ(m.mnuFileArray2.upperBound(), 2);
    EXPECT_EQ(m.mnuFileArray2[1].caption, "/r/b.MEM");
    EXPECT_EQ(m.mnuFileArray2[2].caption, "/r/c.MEM");
    EXPECT_EQ(shell.state().RecentMenuCount, 2);
    EXPECT_EQ(shell.state().RosterPath, "");
    // The recent rosters sit between "Tosbel実行" and the exit separator.
    const auto& file = m.mnuFile.items;
    EXPECT_EQ(file[4], &m.mnuFileTosbel);
    EXPECT_EQ(file[5], &m.mnuFileArray2[0]);
    EXPECT_EQ(file[7], &m.mnuFileArray2[2]);
    EXPECT_EQ(file[8], &m.mnuDummy7);
}

TEST(RosterHistory, OpenedRosterGoesFirstAndTheOldestDropsOut) {
    // Letter case ignored, as on Windows: the example the help file gives.
    RosterHistory h{"c:\\a\\y.mem", "C:\\A\\X.MEM", "", "", ""};
    recordOpenedRoster(h, "C:\\A\\X.MEM", false);
    EXPECT_EQ(h, (RosterHistory{"C:\\A\\X.MEM", "C:\\A\\Y.MEM", "", "", ""}));

    // Where letter case matters, paths stay as chosen and differ by case.
    h = {"/a/y.mem", "/a/X.MEM", "", "", ""};
    recordOpenedRoster(h, "/a/x.mem", true);
    EXPECT_EQ(h, (RosterHistory{"/a/x.mem", "/a/y.mem", "/a/X.MEM", "", ""}));
    recordOpenedRoster(h, "/a/y.mem", true);
    EXPECT_EQ(h, (RosterHistory{"/a/y.mem", "/a/x.mem", "/a/X.MEM", "", ""}));

    h = {"1", "2", "3", "4", "5"};
    recordOpenedRoster(h, "6", true);
    EXPECT_EQ(h, (RosterHistory{"6", "1", "2", "3", "4"}));

    moveRecentToFront(h, 4);
    EXPECT_EQ(h, (RosterHistory{"3", "6", "1", "2", "4"}));
}

TEST_F(ShellTest, OpeningARosterReadsItRecordsItAndOpensTheEditor) {
    const std::string path = roster("1年1組.MEM", {"山田", "佐藤", "鈴木"});
    set("FilesHistory", "Rireki(0)", "/old/one.MEM");
    quietStart();
    shell.state().SeatResult[4] = "前回";
    platform.answerFileDialog(path);
    driver().menu("mnuFileOpen");

    const FileDialogRequest& d = platform.openDialogs.at(0);
    EXPECT_EQ(d.title, "名簿を開く");
    EXPECT_EQ(d.filter, "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
    EXPECT_EQ(d.initialFolder, dir.path().string());
    EXPECT_EQ(d.fileName, "");
    const AppState& s = shell.state();
    EXPECT_EQ(s.MemberCount, 3);
    EXPECT_EQ(s.Members[3], "鈴木");
    EXPECT_EQ(s.SeatResult[4], "");
    EXPECT_EQ(s.ModifyFlag, 1);
    EXPECT_EQ(s.OpenedFromFile, 1);
    EXPECT_EQ(stored("FilesHistory", "Rireki(0)"), path);
    EXPECT_EQ(stored("FilesHistory", "Rireki(1)"), "/old/one.MEM");
    EXPECT_EQ(s.Rireki[0], path);
    EXPECT_EQ(editorOpenings, std::vector<bool>{false});
}

// The wishes kept beside a roster come with it, and go when another roster
// or a new one takes its place; a wish file that cannot be read is named.
TEST_F(ShellTest, OpeningARosterTakesInItsSeatWishes) {
    const std::string first = roster("1組.MEM", {"山田", "佐藤"});
    const std::string second = roster("2組.MEM", {"鈴木"});
    SeatWishes wishes;
    wishes.pupilEntry("山田").row = RowWish::Front;
    ASSERT_TRUE(writeWishFile(wishFileOf(first), wishes));
    spit(dir.at("2組.KIB"), "not a wish file");
    quietStart();
    platform.answerFileDialog(first);
    driver().menu("mnuFileOpen");
    EXPECT_EQ(shell.state().Wishes, wishes);
    EXPECT_EQ(shell.state().WishRosterPath, first);

    platform.answerFileDialog(second);
    platform.answerMessage(
        {"席の希望のファイル「" + dir.file("2組.KIB") +
             "」の1行目を読めませんでした。\r\r席の希望なしで続けます。ファイル"
             "はそのまま残していますが、「席の希望」で了解を押すと書き直されます。",
         "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation});
    driver().menu("mnuFileOpen");
    EXPECT_EQ(shell.state().Wishes, SeatWishes{});
    EXPECT_EQ(shell.state().WishRosterPath, second);

    platform.answerFileDialog(first);
    driver().menu("mnuFileOpen");
    driver().menu("mnuFileCreate");
    EXPECT_EQ(shell.state().Wishes, SeatWishes{});
    EXPECT_EQ(shell.state().WishRosterPath, "");
}

TEST_F(ShellTest, ARosterThatCannotBeReadLeavesNothingBehind) {
    TOSBEL_POSIX_ONLY("named pipes");
    spit(dir.path() / "utf16.MEM", std::string("\xFF\xFE\x71\x5C\r\0\n\0", 8));
    std::string many;
    for (int i = 0; i < 101; ++i) many += "a\r\n";
    spit(dir.path() / "many.MEM", many);
    quietStart();
    ASSERT_TRUE(makeFifo((dir.path() / "pipe.MEM").string()));
    for (const char* name : {"missing.MEM", "utf16.MEM", "many.MEM", "pipe.MEM", "/dev/zero"}) {
        SCOPED_TRACE(name);
        shell.state().Members[1] = "前の名簿";
        shell.state().MemberCount = 1;
        platform.answerFileDialog(dir.file(name));
        platform.answerMessage(kRosterMissing);
        driver().menu("mnuFileOpen");
        EXPECT_EQ(shell.state().MemberCount, 0);
        EXPECT_EQ(shell.state().Members[1], "");
        EXPECT_EQ(stored("FilesHistory", "Rireki(0)"), "");
    }

    // A cancelled dialog does nothing at all.
    platform.answerFileDialog("");
    driver().toolbar("Toolbar1_3");
    EXPECT_TRUE(editorOpenings.empty());
}

// A member named "-", the mark of a seat kept empty, would get no seat: the
// roster is refused, naming the line to put right.
TEST_F(ShellTest, ARosterWithTheEmptySeatMarkAsANameIsRefusedNamingItsLine) {
    const std::string path = dir.file("dash.MEM");
    spit(path, "ichiro\r\njiro\r\n-\r\n");
    quietStart();
    platform.answerFileDialog(path);
    platform.answerMessage({"名簿「" + path +
                                "」の3行目の氏名が「-」です。「-」は空座席の印なので、"
                                "氏名には使えません。\r\r名簿の氏名を直してから開いて下さい。",
                            "氏名確認", MsgButtons::Ok, MsgIcon::Critical});
    driver().menu("mnuFileOpen");
    EXPECT_EQ(shell.state().MemberCount, 0);
    EXPECT_TRUE(editorOpenings.empty());
}

TEST_F(ShellTest, RecentRosterOpensModallyAndMovesToTheFront) {
    const std::string a = roster("a.MEM", {"一郎"});
    const std::string b = roster("b.MEM", {"二郎", "三郎"});
    set("FilesHistory", "Rireki(0)", a);
    set("FilesHistory", "Rireki(1)", b);
    set("FilesHistory", "Rireki(2)", dir.file("gone.MEM"));
    quietStart();

    driver().menu("mnuFileArray2_2");
    EXPECT_EQ(shell.state().MemberCount, 2);
    EXPECT_EQ(shell.state().RosterPath, b);
    EXPECT_EQ(stored("FilesHistory", "Rireki(0)"), b);
    EXPECT_EQ(stored("FilesHistory", "Rireki(1)"), a);
    EXPECT_EQ(editorOpenings, std::vector<bool>{true});

    platform.answerMessage(kRecentMissing);
    driver().menu("mnuFileArray2_3");
    EXPECT_EQ(shell.state().MemberCount, 0);
    EXPECT_EQ(editorOpenings.size(), 1u);
}

TEST_F(ShellTest, PastLogFillsTheInitialSeatsOrIsRefused) {
    std::string chart = "\x8e\x52\x93\x63\r\n";  // 山田 on A 1
    for (int i = 1; i < 100; ++i) chart += "\r\n";
    spit(dir.path() / "ok.RLT", chart);
    spit(dir.path() / "long.RLT", chart + "extra\r\n");
    spit(dir.path() / "Tosbel.ini", dir.file("ok.RLT") + "\r\n" + dir.file("long.RLT") + "\r\n" +
                                        dir.file("gone.RLT") + "\r\n");
    quietStart();
    shell.state().InitialSeats[5] = "old";

    driver().menu("mnuFileArray_1");
    EXPECT_EQ(shell.state().InitialSeats[1], "山田");
    EXPECT_EQ(shell.state().InitialSeats[5], "");
    EXPECT_EQ(opened, std::vector<std::string>{"result"});
    EXPECT_TRUE(main().isShown());

    for (int entry : {2, 3}) {
        platform.answerMessage(kPastLogMissing);
        driver().menu("mnuFileArray_" + std::to_string(entry));
    }
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(ShellTest, PastLogsListTheNewestFifteenOfALongHistory) {
    std::string history;
    for (int i = 1; i <= 20; ++i) history += dir.file(std::to_string(i) + ".RLT") + "\r\n\r\n";
    spit(dir.path() / "Tosbel.ini", history);
    quietStart();
    ASSERT_EQ(main().mnuFileArray.upperBound(), 15);
    for (int entry = 1; entry <= 15; ++entry)
        EXPECT_EQ(main().mnuFileArray[entry].caption, dir.file(std::to_string(entry + 5) + ".RLT"));
}

TEST_F(ShellTest, AHistoryThatIsNoFileListsNothing) {
    TOSBEL_POSIX_ONLY("named pipes");
    ASSERT_TRUE(makeFifo((dir.path() / "Tosbel.ini").string()));
    quietStart();  // would wait for a writer for ever
    EXPECT_TRUE(main().isShown());
    EXPECT_EQ(main().mnuFileArray.upperBound(), 0);
}

TEST_F(ShellTest, LastResultClosesTheMainWindowAndShowsTheResult) {
    quietStart();
    shell.state().ResultShown = 1;
    main().close(UnloadMode::Program);
    shell.showMainWindow();
    shell.state().SeatResult[100] = "最後";
    driver().menu("mnuResult");
    EXPECT_FALSE(main().isShown());
    EXPECT_EQ(shell.state().InitialSeats[100], "最後");
    EXPECT_EQ(opened, std::vector<std::string>{"result"});
}

TEST_F(ShellTest, CreatingARosterClearsTheClassAndOpensTheEditorModally) {
    quietStart();
    AppState& s = shell.state();
    s.RosterPath = "/r/x.MEM";
    s.Members[1] = "山田";
    s.SeatConditions[1] = "-";
    s.OpenedFromFile = 1;
    driver().toolbar("Toolbar1_2");
    EXPECT_EQ(s.RosterPath, "");
    EXPECT_EQ(s.Members[1], "");
    EXPECT_EQ(s.SeatConditions[1], "");
    EXPECT_EQ(s.OpenedFromFile, 0);
    EXPECT_EQ(editorOpenings, std::vector<bool>{true});
}

TEST_F(ShellTest, OptionTogglesStoreAtOnceAndCentringRemembersThePlace) {
    quietStart();
    driver().menu("mnuOptLogo");
    EXPECT_EQ(stored("Config", "OptLogo"), "1");
    EXPECT_TRUE(main().mnuOptLogo.checked);

    main().top = main().left = 0;
    driver().menu("mnuOptEnvCnter");
    EXPECT_EQ(stored("Position", "OptCent"), "0");
    EXPECT_EQ(shell.state().I_Top, 1260);  // centred first, then remembered
    EXPECT_EQ(shell.state().I_Left, 1680);
    EXPECT_EQ(main().left, 1680);
    EXPECT_EQ(stored("Position", "I_Top"), "");  // in memory only

    main().top = 90;
    driver().menu("mnuOptEnvCnter");
    EXPECT_EQ(stored("Position", "OptCent"), "1");
    EXPECT_EQ(main().top, 1260);
}

TEST_F(ShellTest, HelpOpensTheKeywordSearchOrTheContents) {
    quietStart();
    driver().menu("mnuHelpContext_KeyWord_0");
    driver().menu("mnuHelpContext_KeyWord_1");
    driver().toolbar("Toolbar1_12");
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::PartialKey, 0},
                                                        {HelpCommand::Contents, 0},
                                                        {HelpCommand::Contents, 0}}));
}

// The main window with the real roster editor behind its three roster commands.
class RosterCommands : public HeadlessTest {};

TEST_F(RosterCommands, CreateAndRecentOpenTheEditorModallyOpenLeavesItModeless) {
    TempDir dir;
    platform.folder = dir.path().string();
    platform.store.save("Config", "OptLogo", "0");
    // A roster opened last term is on the recent list.
    const std::string path = dir.file("1A.MEM");
    platform.store.save("FilesHistory", "Rireki(0)", path);
    Shell shell(platform);
    int conditions = 0;
    shell.windows().conditions = [&conditions] { ++conditions; };
    shell.startUp();
    MainWindow& main = *shell.mainWindow();
    Driver driver(platform, main);

    platform.modalDriver = [this](Form& f) {
        Driver editor(platform, f);
        editor.type("Text1_0", "青木");
        editor.type("Text1_1", "井上");
        editor.tick("Check1_1");
        editor.menu("mnuNewFile");
    };
    platform.answerFileDialog(path);
    platform.answerMessage(
        {"新規にメンバーを登録しました。", "登録確認", MsgButtons::Ok, MsgIcon::Information});
    platform.answerMessage(
        {"出席者は 1人  \r\r欠席者は 1人  ", "出欠人数確認", MsgButtons::Ok, MsgIcon::Information});
    driver.menu("mnuFileCreate");
    EXPECT_EQ(platform.shown, (std::vector<std::string>{"TOSBEL", "TOUROKU"}));
    EXPECT_EQ(shell.state().Members[1], "青木");
    EXPECT_EQ(shell.state().MemberCount, 1);
    EXPECT_EQ(conditions, 1) << "a completed save hands over to the conditions window";
    EXPECT_TRUE(main.isShown());

    platform.answerFileDialog(path);
    driver.menu("mnuFileOpen");
    RosterEditor* editor = shell.rosterEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isShown());
    EXPECT_FALSE(editor->isModal());
    EXPECT_EQ(editor->Text1[1].text, "井上");

    // Names changed in an editor still open are not dropped by the next
    // roster command: the editor asks first, as its Close does.
    Driver(platform, *editor).type("Text1_2", "上田");
    platform.answerMessage({"名簿は変更されています。 保存しますか？", "変更確認",
                            MsgButtons::OkCancel, MsgIcon::Question},
                           MsgAnswer::Cancel);

    bool modal = false;
    platform.modalDriver = [&modal](Form& f) {
        modal = f.isModal() && f.name == "TOUROKU";
        f.close(UnloadMode::CloseBox);
    };
    driver.menu("mnuFileArray2_1");
    EXPECT_FALSE(editor->isShown());
    EXPECT_TRUE(modal);
}

}  // namespace
}  // namespace tosbel
