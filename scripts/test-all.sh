#!/usr/bin/env bash
# Installs what is missing, builds the native Debug build (AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs every test: its unit and end-to-end tests, the player's
# threading tests under ThreadSanitizer, the Windows build's end-to-end test under Wine, and a
# short run of each fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-packages.sh test

# The debug build's tests make the ThreadSanitizer, Windows and fuzz builds and run their suites.
cmake --preset debug >/dev/null
cmake --build --preset debug
ctest --preset debug
