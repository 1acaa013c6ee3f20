#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: the native Debug build
# (AddressSanitizer + UndefinedBehaviorSanitizer) with its unit and end-to-end tests, the
# player's threading tests under ThreadSanitizer, and the 32-bit Windows build with its
# end-to-end test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-packages.sh test

presets=(debug tsan windows)
for preset in "${presets[@]}"; do
    echo "== Building $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
# The native suite runs last, so its summary closes the output.
for preset in windows tsan debug; do
    echo "== Testing $preset"
    ctest --preset "$preset"
done
