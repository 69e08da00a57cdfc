#!/usr/bin/env bash
# The package as a teacher's machine gets it: built from this build folder with
# cpack, its contents and fields checked, passed by lintian, unpacked into a
# scratch root, and the program started there by its menu entry's command in a
# virtual X screen. It must show its main window and fill the per-user folder
# with the installed default files, writing nothing beside its executable.
#
#     package_test.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
debs=("$work"/out/tosbel_*.deb)
[ -f "${debs[0]}" ] || fail "cpack wrote no tosbel_*.deb"
deb=${debs[0]}

# The contents, as dpkg-deb lists them.
listing=$(dpkg-deb -c "$deb" | awk '{print $NF}')
defaults=({ONE,TWO,THREE,FOUR,FIVE,SIX,SEVEN,EIGHT,NINE,TEN}.BMP DRAG.ICO DRAG2.ICO サンプル.MEM)
expected=(usr/bin/tosbel usr/share/applications/tosbel.desktop
    usr/share/icons/hicolor/scalable/apps/tosbel.svg usr/share/doc/tosbel/copyright
    usr/share/doc/tosbel/changelog.gz usr/share/man/man1/tosbel.1.gz)
for side in 16 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${side}x${side}/apps/tosbel.png"); done
for name in "${defaults[@]}"; do expected+=("usr/share/tosbel/$name"); done
for f in "${expected[@]}"; do
    grep -qxF "./$f" <<<"$listing" || fail "the package lacks $f"
done

# The fields apt reads.
[ "$(dpkg-deb -f "$deb" Package)" = tosbel ] || fail "the package is not named tosbel"
[ "$(dpkg-deb -f "$deb" Section)" = education ] || fail "the package is not in section education"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins fonts-noto-cjk; do
    grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done

# Debian's own checks: any error fails, warnings are shown. The hardening tags
# are info-level, hence --display-info; fortified functions come only with
# optimisation and without the sanitizers, as in the release build.
lintian_log=$(lintian --display-info "$deb" 2>&1) || {
    echo "$lintian_log"
    fail "lintian reports errors"
}
grep -E '^[EWI]:' <<<"$lintian_log" || true
unwanted='hardening-no-(relro|bindnow|pie)'
cache="$build/CMakeCache.txt"
if grep -qE '^CMAKE_BUILD_TYPE:[A-Z]+=(Release|RelWithDebInfo|MinSizeRel)$' "$cache" &&
    ! grep -qE '^TOSBEL_SANITIZE:BOOL=(ON|1|TRUE)$' "$cache"; then
    unwanted='hardening-no-(relro|bindnow|pie|fortify-functions)'
fi
if grep -E "$unwanted" <<<"$lintian_log"; then fail "the program is not built hardened"; fi

# The menu entry.
root="$work/root"
dpkg-deb -x "$deb" "$root"
entry="$root/usr/share/applications/tosbel.desktop"
desktop-file-validate "$entry" || fail "the menu entry is not a valid desktop entry"
for line in 'Name=Tosbel Seating Chart' 'Name[ja]=Tosbel君' 'Icon=tosbel' 'Categories=Education;Qt;'; do
    grep -qxF "$line" "$entry" || fail "the menu entry lacks the line $line"
done
command=$(sed -n 's/^Exec=//p' "$entry")
[ -n "$command" ] || fail "the menu entry has no command"

# Started as the menu starts it: its command on the PATH, a fresh home.
export HOME="$work/home" PATH="$root/usr/bin:$PATH"
unset XDG_DATA_HOME XDG_CONFIG_HOME QT_QPA_PLATFORM TOSBEL_EXIT_AFTER_FIRST_PAINT
mkdir -p "$HOME"
data="$HOME/.local/share/TOSBEL"
export command data
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    $command >"$HOME/program.log" 2>&1 &
    program=$!
    shown=""
    for _ in $(seq 1 150); do
        shown=$(for w in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
            xdotool getwindowname "$w"
        done)
        [ -f "$data/サンプル.MEM" ] && grep -q "Tosbel君 for Windows" <<<"$shown" && break
        kill -0 "$program" 2>/dev/null || break
        sleep 0.2
    done
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    grep -q "Tosbel君 for Windows" <<<"$shown" || { echo "windows shown: $shown"; cat "$HOME/program.log"; exit 1; }
' || fail "the program did not show its main window"

for name in "${defaults[@]}"; do
    cmp -s "$data/$name" "$root/usr/share/tosbel/$name" ||
        fail "$name in the per-user folder is not the installed one"
done
[ "$(ls -A "$root/usr/bin")" = tosbel ] || fail "the program wrote beside its executable"
echo "package ${deb##*/}: contents, fields, lintian and menu entry checked; started from its menu command"
