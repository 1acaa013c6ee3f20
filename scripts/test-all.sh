#!/usr/bin/env bash
# Installs what is missing and runs the test-all workflow (CMakePresets.json): it configures and
# builds the native Debug build (AddressSanitizer + UndefinedBehaviorSanitizer) and runs every
# suite as CTest tests, each suite a label with a test preset of its name. The release, wine,
# tsan and fuzz suites make the builds they need (the dist, windows, windows64, tsan and fuzz
# presets) under build/debug/other-builds as tests of their own. A failing suite does not stop the others: the
# run ends with one line per suite and then ctest's summary, and exits non-zero when any test
# failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit

scripts/install-packages.sh test || exit

build=build/debug
rm -f "$build/Testing/results.xml"
log=$(mktemp)
status=0
cmake --workflow --preset test-all 2>&1 | tee "$log" || status=$?
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
rm -f "$log"

echo
echo "== Suites"
python3 tests/suite_summary.py "$build"
echo "${summary:-No tests ran: the workflow stopped before its test step (see above).}"
exit "$status"
