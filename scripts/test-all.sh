#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: the native Debug build
# (AddressSanitizer + UndefinedBehaviorSanitizer) with its unit and end-to-end tests, and the
# 32-bit Windows build with its end-to-end test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-packages.sh test

for preset in debug windows; do
    echo "== Building $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
for preset in debug windows; do
    echo "== Testing $preset"
    ctest --preset "$preset"
done
