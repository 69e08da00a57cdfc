#!/usr/bin/env bash
# Builds Qt for 64-bit Windows as a static, relocatable library from Debian's
# own source package, at the version of the installed qt6-base-dev (so its
# host tools match and Debian's patches, security fixes included, apply), and
# keeps it in a cache outside the checkout keyed by that version and the
# options below. A second run takes it from the cache; the cache can be
# removed at any time. Prints the installed Qt's folder on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

# Only what the program uses. The tablet headers are left out of Debian's
# source; Direct2D stays on, as the DirectWrite font database needs it.
options=(
    -release -static -static-runtime -qt-host-path /usr
    -nomake tests -nomake examples
    -no-dbus -no-opengl -no-feature-vulkan -no-icu -no-feature-zstd
    -no-feature-sql -no-feature-network -no-feature-testlib
    -no-feature-concurrent -no-feature-xml -no-feature-tabletevent
    -no-feature-androiddeployqt -feature-relocatable
    -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre
    -qt-doubleconversion
)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*}
upstream=${upstream%%-*}
key=$(printf '%s\n' "$version" "${options[@]}" | cat - cmake/mingw-w64.cmake | sha256sum | cut -c1-12)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tosbel"
prefix="$cache/qt-$upstream-mingw-w64-static-$key"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

mkdir -p "$cache"
work=$(mktemp -d "$cache/qt-build.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The machine's own package sources as source entries, in an apt configuration
# of this build's own: the machine's sources stay as they were.
apt="$work/apt"
mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt/sources.list.d/$(basename "$f")"
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(.*\)/deb-src \1/p' "$f" >>"$apt/sources.list.d/machine.list"
done
aptopts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o "APT::Sandbox::User=root")
apt-get "${aptopts[@]}" -qq update
(cd "$work" && apt-get "${aptopts[@]}" -qq source --download-only "qt6-base=$version")
# apt has checked the files against the signed index; the signature of the
# .dsc itself needs a keyring the machine may lack, and only warns.
dpkg-source -x "$work"/qt6-base_*.dsc "$work/src" >"$work/unpack.log" 2>&1 ||
    { cat "$work/unpack.log"; exit 1; }

# The project's toolchain without its fully static link, which Qt's own
# build does not want.
cat >"$work/toolchain.cmake" <<EOF
include("$repo/cmake/mingw-w64.cmake")
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
EOF

mkdir "$work/build"
(
    cd "$work/build"
    "$work/src/configure" -prefix "$prefix" "${options[@]}" -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1 ||
        { tail -50 "$work/configure.log"; exit 1; }
    cmake --build . --parallel "$(nproc)" >"$work/build.log" 2>&1 || { tail -50 "$work/build.log"; exit 1; }
    cmake --install . >/dev/null
)
touch "$prefix/.complete"
echo "$prefix"
