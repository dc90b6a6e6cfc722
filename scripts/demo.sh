#!/usr/bin/env bash
# Builds Vey and runs the demo scenario; the outputs go to ./vey-demo (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"
build/vey-sim demo --out "${1:-vey-demo}"
