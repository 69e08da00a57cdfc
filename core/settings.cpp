#include "core/settings.h"

#include <charconv>
#include <cmath>

#include "core/display.h"

namespace tosbel {

std::string indexedKey(std::string_view stem, int index) {
    return std::string(stem) + '(' + std::to_string(index) + ')';
}

std::string positionText(float twips) {
    if (twips == 0.0f || !std::isfinite(twips)) return "0";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, twips, std::chars_format::fixed);
    return ec == std::errc() ? std::string(buf, end) : "0";
}

float positionFromText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    float value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return 0;
    return value;
}

namespace {

// One key read at start-up: the stored text, or the default, which is then
// written so the store always holds every option.
std::string readOrWrite(SettingsStore& store, std::string_view sec, std::string_view key,
                        std::string_view fallback) {
    std::string value = store.read(sec, key);
    if (value.empty()) {
        value = fallback;
        store.save(sec, key, value);
    }
    return value;
}

template <std::size_t N>
void readIndexed(SettingsStore& store, std::string_view sec, std::string_view stem,
                 std::array<std::string, N>& copies, auto defaultFor) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::string key = indexedKey(stem, static_cast<int>(i));
        copies[i] = readOrWrite(store, sec, key, defaultFor(i));
    }
}

float readPosition(SettingsStore& store, std::string_view key, float centred) {
    const std::string text = store.read(section::Position, key);
    return text.empty() ? centred : positionFromText(text);
}

}  // namespace

void readLogoOption(AppState& s, SettingsStore& store) {
    s.OptLogo = readOrWrite(store, section::Config, key::OptLogo, "1");
}

void readStartupSettings(AppState& s, SettingsStore& store, ScreenTwips screen) {
    using namespace section;
    for (std::size_t i = 0; i < s.Rireki.size(); ++i) {
        s.Rireki[i] = store.read(FilesHistory, indexedKey(key::Rireki, static_cast<int>(i)));
    }

    s.OptDbl = readOrWrite(store, Config, key::OptDbl, "1");
    s.OptDbl2 = readOrWrite(store, Config, key::OptDbl2, "0");
    s.OptDbl3 = readOrWrite(store, Config, key::OptDbl3, "0");
    s.OptDbl4 = readOrWrite(store, Config, key::OptDbl4, "0");
    s.OptCent = readOrWrite(store, Position, key::OptCent, "1");

    const float top = (screen.height - 9000.0f) / 2.0f;
    const float left = (screen.width - 12000.0f) / 2.0f;
    s.I_Left = readPosition(store, key::I_Left, left);
    s.I_Top = readPosition(store, key::I_Top, top);
    s.T_Left = readPosition(store, key::T_Left, left);
    s.T_Top = readPosition(store, key::T_Top, top);
    s.C_Left = readPosition(store, key::C_Left, left);
    s.C_Top = readPosition(store, key::C_Top, top);
    s.R_Left = readPosition(store, key::R_Left, left);
    s.R_Top = readPosition(store, key::R_Top, top);

    readIndexed(store, Config, key::BackDT, s.BackDT, [](std::size_t) { return "1"; });

    s.OptWait = readOrWrite(store, CountDown, key::OptWait, "1");
    s.WaitTime = readOrWrite(store, CountDown, key::WaitTime, "10");
    readIndexed(store, CountDown, key::Koma, s.Koma, [](std::size_t i) { return kDefaultKoma[i]; });
    s.OptEdit = readOrWrite(store, CountDown, key::OptEdit, "0");
    s.OptEdit2 = readOrWrite(store, CountDown, key::OptEdit2, "MSPAINT.EXE");

    s.OptPsbar = readOrWrite(store, Config, key::OptPsbar, "1");

    readIndexed(store, RltVal, key::NoLine, s.NoLine, [](std::size_t) { return "0"; });
    readIndexed(store, RltVal, key::NoRow, s.NoRow, [](std::size_t) { return "0"; });
    s.OptFgm = readOrWrite(store, RltVal, key::OptFgm, "1");
    s.OptCol = readOrWrite(store, RltVal, key::OptCol, "1");
    // Newer than the other options: off until the teacher stores them, so a
    // first start writes the same keys as ever.
    s.PrtScreen = store.read(RltVal, key::PrtScreen);
    s.PrtBoth = store.read(RltVal, key::PrtBoth);

    // "0" is written back even when it was already stored.
    const std::string theme = store.read(Config, key::OptMColor);
    s.OptMColor = theme.empty() ? std::string("0") : theme;
    if (s.OptMColor == "0") {
        store.save(Config, key::OptMColor, s.OptMColor);
    } else if (s.OptMColor == "4") {
        s.Maing = store.read(Config, key::Maing);
    }
    applyTheme(s);
}

bool tickedValue(std::string_view value) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    const std::size_t n = value.size();
    while (i < n && (value[i] == ' ' || value[i] == '\t')) ++i;
    if (i < n && value[i] == '+') ++i;
    while (i < n && value[i] == '0') ++i;
    if (i == n || value[i] != '1') return false;
    ++i;
    if (i < n && value[i] == '.') {
        ++i;
        while (i < n && value[i] == '0') ++i;
    }
    // More digits make it another number; anything else ends it.
    return i == n || !digit(value[i]);
}

}  // namespace tosbel
