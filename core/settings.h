#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "platform/geometry.h"
#include "platform/settings_store.h"

namespace tosbel {

// The program's option vocabulary: sections and keys as they stand in the
// store, so every window names a key the same way.
namespace section {
inline constexpr std::string_view Config = "Config";
inline constexpr std::string_view CountDown = "CountDown";
inline constexpr std::string_view Position = "Position";
inline constexpr std::string_view RltVal = "RltVal";
inline constexpr std::string_view FilesHistory = "FilesHistory";
}  // namespace section

namespace key {
inline constexpr std::string_view OptLogo = "OptLogo";
inline constexpr std::string_view OptDbl = "OptDbl";
inline constexpr std::string_view OptDbl2 = "OptDbl2";
inline constexpr std::string_view OptDbl3 = "OptDbl3";
inline constexpr std::string_view OptDbl4 = "OptDbl4";
inline constexpr std::string_view OptMColor = "OptMColor";
inline constexpr std::string_view Maing = "Maing";
inline constexpr std::string_view OptPsbar = "OptPsbar";
inline constexpr std::string_view BackDT = "BackDT";
inline constexpr std::string_view OptWait = "OptWait";
inline constexpr std::string_view WaitTime = "WaitTime";
inline constexpr std::string_view Koma = "Koma";
inline constexpr std::string_view OptEdit = "OptEdit";
inline constexpr std::string_view OptEdit2 = "OptEdit2";
inline constexpr std::string_view OptCent = "OptCent";
inline constexpr std::string_view I_Left = "I_Left";
inline constexpr std::string_view I_Top = "I_Top";
inline constexpr std::string_view T_Left = "T_Left";
inline constexpr std::string_view T_Top = "T_Top";
inline constexpr std::string_view C_Left = "C_Left";
inline constexpr std::string_view C_Top = "C_Top";
inline constexpr std::string_view R_Left = "R_Left";
inline constexpr std::string_view R_Top = "R_Top";
inline constexpr std::string_view NoLine = "NoLine";
inline constexpr std::string_view NoRow = "NoRow";
inline constexpr std::string_view OptFgm = "OptFgm";
inline constexpr std::string_view OptCol = "OptCol";
inline constexpr std::string_view PrtScreen = "PrtScreen";
inline constexpr std::string_view PrtBoth = "PrtBoth";
inline constexpr std::string_view Rireki = "Rireki";
}  // namespace key

// "Koma(3)": an indexed key is its stem with the index in brackets.
std::string indexedKey(std::string_view stem, int index);

// The countdown pictures shipped with the program, for Koma(0) … Koma(9).
inline constexpr std::array<std::string_view, 10> kDefaultKoma = {
    "ONE.BMP", "TWO.BMP",   "THREE.BMP", "FOUR.BMP", "FIVE.BMP",
    "SIX.BMP", "SEVEN.BMP", "EIGHT.BMP", "NINE.BMP", "TEN.BMP"};

// Window positions are stored as the decimal text of a single-precision twips
// value: as many fractional digits as it has, none for a whole number. Text
// that is not a number reads as 0.
std::string positionText(float twips);
float positionFromText(std::string_view text);

// How a stored tick reads where a hand may have edited it: its leading number
// is 1 (" 1", "01", "+1", "1.0" tick the box); anything else, an empty value,
// another number ("12", "1.5") or a word included, leaves it clear.
bool tickedValue(std::string_view value);

// Start-up reads the logo option first, shows the logo if it is on, then reads
// the rest. Every key with a default gets it written when it reads empty; empty
// window positions take the centred place in memory only; the roster history is
// taken as it stands; the background theme follows OptMColor.
void readLogoOption(AppState& s, SettingsStore& store);
void readStartupSettings(AppState& s, SettingsStore& store, ScreenTwips screen);

}  // namespace tosbel
