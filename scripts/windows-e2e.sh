#!/usr/bin/env bash
# The Windows program as a teacher uses it, under Wine on a virtual X screen:
# from the portable zip, open a roster through the open dialog, commit the
# conditions, shuffle, keep the chart as a PDF and as a result file, and end;
# then check the files' bytes, the PDF's text and the settings in Wine's
# registry. Then the installer: a silent install, the installed program started
# once, a silent uninstall that leaves the teacher's files.
# Run by scripts/windows-test.sh after scripts/windows-package.sh; needs DISPLAY.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(Tosbel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
package=$PWD/build/windows-package
work=$PWD/build/windows-e2e
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)

fail() {
    echo "Windows end-to-end test FAILED: $*" >&2
    exit 1
}
# The visible window with exactly this title, waited for up to $2 tries of
# 0.2 s; empty when it did not come.
find_window() {
    local w=""
    for _ in $(seq 1 "$2"); do
        w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$w" ] && break
        sleep 0.2
    done
    echo "$w"
}
window() {
    local w
    w=$(find_window "$1" 150)
    [ -n "$w" ] || fail "no window \"$1\""
    echo "$w"
}
gone() {
    for _ in $(seq 1 150); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    fail "window \"$1\" stays"
}
keys() { xdotool windowfocus --sync "$1" && sleep 0.3 && shift && xdotool key --delay 40 "$@"; }
type_into() { xdotool windowfocus --sync "$1" && sleep 0.3 && xdotool type --delay 20 "$2"; }
answer() { keys "$(window "$1")" Return; }
# A notice that may come, answered when it does.
answer_if_shown() {
    local w
    w=$(find_window "$1" 25)
    [ -z "$w" ] || keys "$w" Return
}

# A prefix of the test's own: no crash dialog, no questions at its first start.
"$wine" wineboot -i >/dev/null 2>&1 || true
"$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
# No logo and no countdown: the test is about the Windows program, not the waits.
"$wine" reg add 'HKCU\Software\TOSBEL\Config' /v OptLogo /t REG_SZ /d 0 /f >/dev/null
"$wine" reg add 'HKCU\Software\TOSBEL\CountDown' /v OptWait /t REG_SZ /d 0 /f >/dev/null

# The portable folder, unpacked as a teacher would, with a class of ten.
(cd "$work" && unzip -q "$package/tosbel-$version-windows-x64.zip")
folder=$work/tosbel-$version-windows-x64
for i in $(seq 1 10); do printf '生徒%s\r\n' "$i"; done | iconv -f UTF-8 -t CP932 >"$folder/CLASS.MEM"
winfolder="Z:${folder//\//\\}"

"$wine" "$folder/tosbel.exe" >"$work/program.log" 2>&1 &
program=$!
main=$(window "Tosbel君 for Windows")
keys "$main" ctrl+o
type_into "$(window "名簿を開く")" "$winfolder\\CLASS.MEM"
xdotool key Return
editor=$(window "登録・修正")
# The roster as it is: saved unchanged, it leads on to the conditions.
keys "$editor" ctrl+s
answer_if_shown 修正確認
answer_if_shown 出欠人数確認
conditions=$(window "Tosbel条件")
keys "$conditions" ctrl+s
answer "設定確認"
gone "Tosbel条件"
keys "$main" ctrl+g
result=$(window "Tosbel結果")

keys "$result" alt+f d
type_into "$(window "PDFとして保存")" "$winfolder\\CHART.pdf"
xdotool key Return
sleep 2
keys "$result" ctrl+s
type_into "$(window "せきがえ結果の保存")" "$winfolder\\CHART.RLT"
xdotool key Return
answer "保存確認"
gone "Tosbel結果"
main=$(window "Tosbel君 for Windows")
keys "$main" alt+F4
answer "終了確認"
wait "$program" || fail "the program ended with an error"

# The result file: code page 932, 100 seats on CR LF lines, every pupil once.
[ -f "$folder/CHART.RLT" ] || fail "no result file"
lines=$(tr -cd '\n' <"$folder/CHART.RLT" | wc -c)
crlf=$(grep -c $'\r$' "$folder/CHART.RLT" || true)
[ "$lines" -eq 100 ] && [ "$crlf" -eq "$lines" ] || fail "result file: $lines lines, $crlf with CR LF"
seated=$(iconv -f CP932 -t UTF-8 "$folder/CHART.RLT" | grep -c '^生徒' || true)
[ "$seated" -eq 10 ] || fail "result file seats $seated pupils, not 10"
# The PDF: the chart's names as text.
[ -f "$folder/CHART.pdf" ] || fail "no PDF file"
# (Under Wine the CJK font Wine picks names 生 by the Kangxi radical ⽣ that
# shares its glyph; read as the ideograph.)
text=$(pdftotext "$folder/CHART.pdf" - | sed 's/⽣/生/g')
for i in $(seq 1 10); do
    grep -q "^生徒$i\$" <<<"$text" || fail "生徒$i is not in the PDF's text"
done
# The settings in the registry, the main window's place among them.
"$wine" reg query 'HKCU\Software\TOSBEL\Position' | grep -q 'I_Left' || fail "no I_Left in the registry"
"$wine" reg query 'HKCU\Software\TOSBEL\FilesHistory' | grep -q 'CLASS.MEM' ||
    fail "the roster is not in the registry's history"

# The installer, silently, for this user; the installed program starts and
# writes nothing beside itself; the uninstaller leaves the teacher's files.
"$wine" "$package/tosbel-$version-setup.exe" /S || fail "the installer failed"
installed=$("$wine" cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\Programs\\Tosbel
unix_installed=$("$wine" winepath -u "$installed")
[ -f "$unix_installed/bin/tosbel.exe" ] || fail "nothing installed in $unix_installed"
"$wine" "$installed\\bin\\tosbel.exe" >>"$work/program.log" 2>&1 &
program=$!
main=$(window "Tosbel君 for Windows")
keys "$main" alt+F4
answer "終了確認"
wait "$program" || fail "the installed program ended with an error"
[ "$(ls "$unix_installed/bin")" = "tosbel.exe" ] || fail "files written beside the installed program"
data=$("$wine" winepath -u "$("$wine" cmd /c echo %APPDATA% | tr -d '\r')\\TOSBEL")
[ -f "$data/ONE.BMP" ] || fail "the installed program has no data folder at $data"
"$wine" "$installed\\uninstall.exe" /S || fail "the uninstaller failed"
for _ in $(seq 1 50); do [ -e "$unix_installed" ] || break; sleep 0.2; done
[ ! -e "$unix_installed" ] || fail "the uninstaller left $unix_installed"
[ -f "$data/ONE.BMP" ] || fail "the uninstaller removed the teacher's files"
echo "Windows end-to-end test passed: roster, conditions, shuffle, PDF, result file, registry, install and uninstall"
