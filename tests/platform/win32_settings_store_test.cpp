#include "platform/win32_settings_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "core/settings.h"

namespace tosbel {
namespace {

// Each run keeps its values under a root of its own, removed afterwards.
class RegistrySettingsStoreTest : public ::testing::Test {
protected:
    const std::string root = "Software\\TOSBEL-test-" + std::to_string(GetCurrentProcessId());
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, wideOfUtf8(root).c_str()); }
};

std::vector<std::pair<std::string_view, std::string>> everyKey() {
    using namespace section;
    std::vector<std::pair<std::string_view, std::string>> keys;
    for (auto k : {key::OptLogo, key::OptDbl, key::OptDbl2, key::OptDbl3, key::OptDbl4,
                   key::OptMColor, key::Maing, key::OptPsbar})
        keys.emplace_back(Config, k);
    for (int i = 0; i < 4; ++i) keys.emplace_back(Config, indexedKey(key::BackDT, i));
    for (auto k : {key::OptWait, key::WaitTime, key::OptEdit, key::OptEdit2})
        keys.emplace_back(CountDown, k);
    for (int i = 0; i < 10; ++i) keys.emplace_back(CountDown, indexedKey(key::Koma, i));
    for (auto k : {key::OptCent, key::I_Left, key::I_Top, key::T_Left, key::T_Top, key::C_Left,
                   key::C_Top, key::R_Left, key::R_Top})
        keys.emplace_back(Position, k);
    for (int i = 0; i < 10; ++i) {
        keys.emplace_back(RltVal, indexedKey(key::NoLine, i));
        keys.emplace_back(RltVal, indexedKey(key::NoRow, i));
    }
    keys.emplace_back(RltVal, key::OptFgm);
    keys.emplace_back(RltVal, key::OptCol);
    for (int i = 0; i < 5; ++i) keys.emplace_back(FilesHistory, indexedKey(key::Rireki, i));
    return keys;
}

TEST_F(RegistrySettingsStoreTest, FirstStartWritesTheDefaultsWhichSurviveARestart) {
    const ScreenTwips screen{19200, 14400};
    {
        RegistrySettingsStore store(root);
        EXPECT_EQ(store.read(section::Config, key::OptDbl), "");
        AppState s;
        readStartupSettings(s, store, screen);
        EXPECT_TRUE(store.save(section::Position, key::I_Left, "1234.5"));
    }
    RegistrySettingsStore store(root);
    EXPECT_EQ(store.read(section::Config, key::OptDbl), "1");
    EXPECT_EQ(store.read(section::CountDown, "Koma(9)"), "TEN.BMP");
    EXPECT_EQ(store.read(section::CountDown, key::OptEdit2), "MSPAINT.EXE");
    EXPECT_EQ(store.read(section::RltVal, "NoRow(9)"), "0");
    EXPECT_EQ(store.read(section::Position, key::I_Top), "");  // centred in memory only
    AppState s;
    readStartupSettings(s, store, screen);
    EXPECT_EQ(s.I_Left, 1234.5f);
    EXPECT_EQ(s.I_Top, (14400.0f - 9000.0f) / 2.0f);
    EXPECT_EQ(s.Koma[0], "ONE.BMP");
    EXPECT_EQ(s.WaitTime, "10");
}

TEST_F(RegistrySettingsStoreTest, KeepsAnIndexedKeyUnderItsPlainNameAsText) {
    RegistrySettingsStore store(root);
    ASSERT_TRUE(store.save(section::CountDown, "Koma(0)", "一.BMP"));
    const std::wstring where = wideOfUtf8(root) + L"\\CountDown";
    wchar_t value[64] = {};
    DWORD bytes = sizeof value;
    DWORD type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, where.c_str(), L"Koma(0)", RRF_RT_ANY, &type, value,
                           &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(value), L"\u4E00.BMP");
}

TEST_F(RegistrySettingsStoreTest, EveryKeyRoundTripsJapaneseText) {
    RegistrySettingsStore store(root);
    const auto keys = everyKey();
    for (const auto& [sec, k] : keys) {
        ASSERT_TRUE(store.save(sec, k, "山田ﾀﾛｳ " + std::string(sec) + "/" + k)) << k;
    }
    RegistrySettingsStore again(root);
    for (const auto& [sec, k] : keys) {
        EXPECT_EQ(again.read(sec, k), "山田ﾀﾛｳ " + std::string(sec) + "/" + k);
    }
    // Emptied, a key reads as missing does; a long path is kept whole.
    ASSERT_TRUE(again.save(section::FilesHistory, "Rireki(0)", ""));
    EXPECT_EQ(again.read(section::FilesHistory, "Rireki(0)"), "");
    EXPECT_EQ(again.read(section::FilesHistory, "Rireki(9)"), "");
    const std::string path = "C:\\" + std::string(300, 'a') + "\\名簿.MEM";
    ASSERT_TRUE(again.save(section::FilesHistory, "Rireki(1)", path));
    EXPECT_EQ(again.read(section::FilesHistory, "Rireki(1)"), path);
}

}  // namespace
}  // namespace tosbel
