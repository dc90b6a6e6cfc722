#!/usr/bin/env bash
# Builds everything in BUILD_DIR (default build) and runs every test, each in its own process.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build}
bash scripts/setup.sh
cmake -S . -B "$dir" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$dir" -j"$(nproc)"
# Leak reports from system libraries that keep caches for the process (sanitizer builds).
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
cd "$dir" && ctest --output-on-failure -j"$(nproc)"
