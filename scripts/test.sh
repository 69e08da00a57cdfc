#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings are errors), and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# The house style, checked before anything is built.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# The logic alone, without Qt: a stray Qt include or link fails here.
cmake -S . -B build/logic -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOSBEL_BUILD_QT=OFF \
    -DTOSBEL_BUILD_TESTS=OFF -DTOSBEL_BUILD_BENCH=OFF
cmake --build build/logic

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOSBEL_SANITIZE=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)"

# Every reader of outside bytes, fuzzed for a few seconds each.
scripts/fuzz.sh

# The Windows code paths: the logic and its tests cross-built, run under Wine.
scripts/windows-test.sh
