#!/usr/bin/env bash
# The program for the teachers' Windows PCs, built here: installs what it needs,
# builds (or takes from its cache) a static Qt for 64-bit Windows
# (scripts/windows-qt.sh), cross-builds tosbel.exe in release mode and writes
# into build/windows-package/:
#   tosbel-<version>-windows-x64.zip  a portable folder: the program beside its
#                                     default files, to unpack anywhere and run;
#   tosbel-<version>-setup.exe        a Japanese installer for the current user.
# Prints the sizes of the program, the zip and the installer.
set -euo pipefail
cd "$(dirname "$0")/.."

# The host's Qt tools and Qt's Japanese texts, the cross compiler, Wine, the
# installer's compiler, and unzip and Xvfb for the Wine test of the packages.
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 nsis zip unzip dpkg-dev xz-utils xvfb

qt=$(bash scripts/windows-qt.sh | tail -n 1)
version=$(sed -n 's/^project(Tosbel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

cmake -S . -B build/windows-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DQT_HOST_PATH=/usr \
    -DTOSBEL_BUILD_TESTS=OFF -DTOSBEL_BUILD_BENCH=OFF >/dev/null
cmake --build build/windows-release --target tosbel
# The default files come from the same drawing code built for this machine: a
# cross build cannot run it here.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTOSBEL_BUILD_TESTS=OFF -DTOSBEL_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target default_files

out=build/windows-package
stage=$PWD/$out/stage
rm -rf "$out"
mkdir -p "$stage/share" "$stage/licenses"
x86_64-w64-mingw32-strip -o "$stage/tosbel.exe" build/windows-release/app/tosbel.exe
cp build/release/app/default_files/* "$stage/share/"
cp resources/icons/tosbel.ico "$stage/"

# Qt is linked in statically under the LGPL: its licence, Debian's record of
# whose code it holds, and how to relink it.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
cp /usr/share/common-licenses/LGPL-3 "$stage/licenses/Qt-LGPL-3.0.txt"
cp /usr/share/common-licenses/GPL-3 "$stage/licenses/GPL-3.0.txt"
cp /usr/share/doc/libqt6core6/copyright "$stage/licenses/Qt-copyright.txt"
sed "s/@QT_VERSION@/$qt_version/; s/@VERSION@/$version/" packaging/windows/licenses.txt \
    >"$stage/licenses/README.txt"

# What the uninstaller removes: exactly what the installer put there.
{
    for f in "$stage"/share/*; do echo "    Delete \"\$INSTDIR\\share\\tosbel\\$(basename "$f")\""; done
    for f in "$stage"/licenses/*; do echo "    Delete \"\$INSTDIR\\licenses\\$(basename "$f")\""; done
} >"$stage/uninstall-files.nsh"

# The portable folder: the program beside its default files, as it has always
# been used from a folder of its own or a USB stick.
portable=tosbel-$version-windows-x64
mkdir -p "$out/$portable"
cp "$stage/tosbel.exe" "$stage"/share/* "$out/$portable/"
cp -r "$stage/licenses" "$out/$portable/"
(cd "$out" && zip -q -r -X "$portable.zip" "$portable")

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" \
    -DOUTFILE="$PWD/$out/tosbel-$version-setup.exe" packaging/windows/tosbel.nsi

for f in "$stage/tosbel.exe" "$out/$portable.zip" "$out/tosbel-$version-setup.exe"; do
    stat -c '%s %n' "$f" | awk '{ n = split($2, p, "/"); printf "%-40s %6.1f MB\n", p[n], $1 / 1048576 }'
done
