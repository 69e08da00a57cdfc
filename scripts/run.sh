#!/usr/bin/env bash
# Installs what is missing, builds an optimised tree and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTOSBEL_BUILD_TESTS=OFF -DTOSBEL_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target tosbel

# The same check the program makes, so the one line is all the user sees.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found (DISPLAY is not set): start the program from a desktop session, or under Xvfb: xvfb-run bash scripts/run.sh" >&2
    exit 1
fi
exec build/release/app/tosbel "$@"
