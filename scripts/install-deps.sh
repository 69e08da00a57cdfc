#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and the end-to-end test
# need, and any named on the command line; does nothing when they are all
# there already.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev
    # The Caps Lock state under X11 (the keyboard extension of Xlib).
    libx11-dev
    # Japanese glyphs, and Qt's own Japanese texts (qtbase_ja.qm) for its dialogs.
    fonts-noto-cjk qt6-translations-l10n
    # The end-to-end test runs the program in a virtual X screen and drives it
    # (it talks to the X server through libxcb too); xvfb-run needs xauth;
    # xclip puts a copied column of names on the clipboard.
    xvfb xdotool xclip xauth libxcb1-dev
    # xprop reads the window kind the task bar goes by, xwininfo a frame's place;
    # openbox frames the windows where a test needs a window manager.
    x11-utils openbox
    # The printing tests read the PDF files the program writes back: pdfinfo
    # (pages, paper size), pdftotext (the names as text), pdftoppm and
    # pdffonts to look at a page and its embedded fonts by hand.
    poppler-utils
    # The printing tests check each PDF's structure too: a file whose text
    # still reads can be broken elsewhere.
    qpdf
    # The package: cpack's DEB generator reads the libraries' packages with
    # dpkg-shlibdeps, and its test checks the menu entry, and the whole package
    # with lintian as Debian's archive would.
    dpkg-dev desktop-file-utils lintian
    # The fuzz targets: clang and its libFuzzer and sanitizer runtimes.
    clang libclang-rt-14-dev
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
