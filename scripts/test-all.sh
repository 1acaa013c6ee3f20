#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: the native Debug build
# (AddressSanitizer + UndefinedBehaviorSanitizer) with its unit and end-to-end tests, the
# player's threading tests under ThreadSanitizer, the 32-bit Windows build with its end-to-end
# test under Wine, and a short run of each fuzz target.
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
# A fuzz finding fails the run, after the test suites have had their say.
echo "== Fuzzing"
fuzz_status=0
scripts/fuzz.sh 60 || fuzz_status=$?
# The native suite runs last, so its summary closes the output.
for preset in windows tsan debug; do
    echo "== Testing $preset"
    ctest --preset "$preset"
done
exit "$fuzz_status"
