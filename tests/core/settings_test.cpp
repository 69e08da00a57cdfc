#include "core/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "core/display.h"
#include "platform/headless/fixed_clock.h"
#include "platform/headless/memory_settings_store.h"

namespace tosbel {
namespace {

using Values = std::map<MemorySettingsStore::Address, std::string>;

// 1024 × 768 pixels at 15 twips a pixel.
constexpr ScreenTwips kScreen{15360, 11520};

void startUp(AppState& s, SettingsStore& store) {
    readLogoOption(s, store);
    readStartupSettings(s, store, kScreen);
}

// Every default start-up writes into an empty store, in the order it writes them.
std::vector<std::pair<MemorySettingsStore::Address, std::string>> firstRunDefaults() {
    std::vector<std::pair<MemorySettingsStore::Address, std::string>> v{
        {{"Config", "OptLogo"}, "1"}, {{"Config", "OptDbl"}, "1"},  {{"Config", "OptDbl2"}, "0"},
        {{"Config", "OptDbl3"}, "0"}, {{"Config", "OptDbl4"}, "0"}, {{"Position", "OptCent"}, "1"}};
    const auto indexed = [&](const char* sec, const std::string& stem, int n, auto value) {
        for (int i = 0; i < n; ++i)
            v.push_back({{sec, stem + "(" + std::to_string(i) + ")"}, value(i)});
    };
    indexed("Config", "BackDT", 4, [](int) { return "1"; });
    v.push_back({{"CountDown", "OptWait"}, "1"});
    v.push_back({{"CountDown", "WaitTime"}, "10"});
    const char* koma[] = {"ONE.BMP", "TWO.BMP",   "THREE.BMP", "FOUR.BMP", "FIVE.BMP",
                          "SIX.BMP", "SEVEN.BMP", "EIGHT.BMP", "NINE.BMP", "TEN.BMP"};
    indexed("CountDown", "Koma", 10, [&](int i) { return koma[i]; });
    v.push_back({{"CountDown", "OptEdit"}, "0"});
    v.push_back({{"CountDown", "OptEdit2"}, "MSPAINT.EXE"});
    v.push_back({{"Config", "OptPsbar"}, "1"});
    indexed("RltVal", "NoLine", 10, [](int) { return "0"; });
    indexed("RltVal", "NoRow", 10, [](int) { return "0"; });
    v.push_back({{"RltVal", "OptFgm"}, "1"});
    v.push_back({{"RltVal", "OptCol"}, "1"});
    v.push_back({{"Config", "OptMColor"}, "0"});
    return v;
}

TEST(StartupSettings, FirstRunWritesExactlyTheDefaults) {
    MemorySettingsStore store;
    AppState s;
    startUp(s, store);

    const auto expected = firstRunDefaults();
    EXPECT_EQ(store.values(), Values(expected.begin(), expected.end()));
    std::vector<MemorySettingsStore::Address> order;
    for (const auto& [address, value] : expected) order.push_back(address);
    EXPECT_EQ(store.saves(), order);
    EXPECT_EQ(s.OptLogo, "1");
    EXPECT_EQ(s.WaitTime, "10");
    EXPECT_EQ(s.Koma[9], "TEN.BMP");
    EXPECT_EQ(s.OptEdit2, "MSPAINT.EXE");
    EXPECT_EQ(s.BackDT[3], "1");
    EXPECT_EQ(s.NoRow[9], "0");
    EXPECT_EQ(s.Rireki, (std::array<std::string, 5>{}));
    // Windows open centred; the place is not written until a window closes.
    for (float left : {s.I_Left, s.T_Left, s.C_Left, s.R_Left}) EXPECT_EQ(left, 1680.0f);
    for (float top : {s.I_Top, s.T_Top, s.C_Top, s.R_Top}) EXPECT_EQ(top, 1260.0f);
    // Theme "0".
    EXPECT_EQ(s.TitleColor, (Rgb{0, 128, 128}));
    EXPECT_EQ(s.ShadowColor, (Rgb{0, 64, 0}));
    EXPECT_EQ(s.BackBlue, 110);

    // A second start finds everything and writes only the theme again.
    const auto firstSaves = store.saves().size();
    AppState again;
    startUp(again, store);
    ASSERT_EQ(store.saves().size(), firstSaves + 1);
    EXPECT_EQ(store.saves().back(), (MemorySettingsStore::Address{"Config", "OptMColor"}));
}

TEST(StartupSettings, StoredValuesWinAndEmptyOnesTakeTheirDefault) {
    MemorySettingsStore store;
    store.save("CountDown", "WaitTime", "5");
    store.save("Config", "OptLogo", "");
    store.save("CountDown", "Koma(3)", "C:\\絵\\四.BMP");
    store.save("FilesHistory", "Rireki(0)", "C:\\名簿\\3年1組.MEM");
    store.save("FilesHistory", "Rireki(2)", "D:\\2組.MEM");
    AppState s;
    startUp(s, store);

    EXPECT_EQ(s.WaitTime, "5");
    EXPECT_EQ(store.read("CountDown", "WaitTime"), "5");
    EXPECT_EQ(s.OptLogo, "1");
    EXPECT_EQ(store.read("Config", "OptLogo"), "1");
    EXPECT_EQ(s.Koma[3], "C:\\絵\\四.BMP");
    EXPECT_EQ(s.Rireki, (std::array<std::string, 5>{"C:\\名簿\\3年1組.MEM", "", "D:\\2組.MEM"}));
    EXPECT_EQ(store.read("FilesHistory", "Rireki(1)"), "");
    EXPECT_FALSE(store.values().contains({"FilesHistory", "Rireki(1)"}));
}

TEST(StartupSettings, PositionsAreReadAsNumbers) {
    MemorySettingsStore store;
    store.save("Position", "I_Left", "1234.5");
    store.save("Position", "I_Top", "-300");
    store.save("Position", "T_Left", "画面の左");
    store.save("Position", "T_Top", "12abc");
    AppState s;
    startUp(s, store);
    EXPECT_EQ(s.I_Left, 1234.5f);
    EXPECT_EQ(s.I_Top, -300.0f);
    EXPECT_EQ(s.T_Left, 0.0f);
    EXPECT_EQ(s.T_Top, 0.0f);
    EXPECT_EQ(s.C_Left, 1680.0f);

    // Written back as the shortest text that gives the same value.
    EXPECT_EQ(positionText(1680.0f), "1680");
    EXPECT_EQ(positionText(1234.5f), "1234.5");
    EXPECT_EQ(positionText(-0.0f), "0");
    for (float v : {0.1f, 4567.125f, -15.75f, 123456.7f}) {
        EXPECT_EQ(positionFromText(positionText(v)), v) << positionText(v);
    }
    EXPECT_EQ(positionFromText("inf"), 0.0f);
    EXPECT_EQ(positionFromText(" 42 "), 42.0f);
}

TEST(StartupSettings, BackgroundThemes) {
    struct Case {
        std::string stored;
        Rgb title;
        Rgb shadow;
        std::int16_t red, green, blue;
    };
    const Case cases[] = {
        {"1", {255, 128, 0}, {128, 0, 0}, 200, 100, 150},
        {"2", {0, 128, 128}, {0, 64, 0}, 50, 80, 130},
        {"3", {192, 192, 0}, {128, 128, 0}, 300, 300, 200},
        // Hand-edited nonsense gets the first theme, not black on black.
        {"7", {0, 128, 128}, {0, 64, 0}, 10, 50, 110},
        {"1 ", {0, 128, 128}, {0, 64, 0}, 10, 50, 110},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        store.save("Config", "OptMColor", c.stored);
        store.save("Config", "Maing", "C:\\背景.BMP");
        AppState s;
        startUp(s, store);
        EXPECT_EQ(s.OptMColor, c.stored);
        EXPECT_EQ(store.read("Config", "OptMColor"), c.stored) << "left as the teacher stored it";
        EXPECT_EQ(s.TitleColor, c.title) << c.stored;
        EXPECT_EQ(s.ShadowColor, c.shadow) << c.stored;
        EXPECT_EQ(s.BackRed, c.red) << c.stored;
        EXPECT_EQ(s.BackGreen, c.green) << c.stored;
        EXPECT_EQ(s.BackBlue, c.blue) << c.stored;
        EXPECT_EQ(s.Maing, "") << "the picture is read for theme 4 only";
    }

    MemorySettingsStore store;
    store.save("Config", "OptMColor", "4");
    store.save("Config", "Maing", "C:\\背景.BMP");
    AppState s;
    startUp(s, store);
    EXPECT_EQ(s.Maing, "C:\\背景.BMP");
    EXPECT_EQ(s.TitleColor, Rgb{});
    EXPECT_EQ(s.BackRed, 0);
}

TEST(DateTimeTexts, RefreshFromTheClock) {
    FixedClock clock;
    clock.time = {2004, 3, 7, 13, 5, 0};
    AppState s;
    refreshDateTime(s, clock);
    EXPECT_EQ(s.TodayText, "2004/03/07");
    EXPECT_EQ(s.NowText, "午後 01:05");
}

}  // namespace
}  // namespace tosbel
