#!/usr/bin/env bash
# Cross-builds the logic and its headless tests for 64-bit Windows with
# mingw-w64 and runs them under Wine, so the Windows code paths are compiled
# and tried, printing each test program's summary and the totals; then builds
# the Windows program and its packages (scripts/windows-package.sh) and tries
# them under Wine (scripts/windows-e2e.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64

cmake --preset windows-cross
cmake --build build/windows

# A Wine prefix of the build's own, with no window and no chatter.
export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all DISPLAY=
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)

failed=0
passed=0
skipped=0
for test in build/windows/tests/*_tests.exe; do
    out=$("$wine" "$test" --gtest_brief=1 2>&1) || failed=$((failed + 1))
    echo "$out" | grep -E '^\[  (PASSED|FAILED|SKIPPED) ' || true
    n=$(echo "$out" | sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p')
    s=$(echo "$out" | sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p')
    passed=$((passed + ${n:-0}))
    skipped=$((skipped + ${s:-0}))
done
echo "Windows tests under Wine: $passed passed, $skipped skipped, $failed programs failed"
[ "$failed" -eq 0 ]

# The whole program for Windows, packed, and tried as a teacher uses it.
bash scripts/windows-package.sh
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/windows-e2e.sh
