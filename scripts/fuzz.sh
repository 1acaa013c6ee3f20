#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for SECONDS (default 600) on its corpus in build/fuzz/corpus/TARGET, which it starts from
# seeds written by the project's own module and pack writers and keeps between runs. Prints per
# target the executions, executions per second, coverage, corpus size and whether anything
# crashed; exits non-zero when a target crashed, hung or ran out of memory, naming the input that
# did it (build/fuzz/crashes/TARGET/).
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-600}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [SECONDS]" >&2
    exit 2
fi

scripts/install-packages.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
mapfile -t targets <"$build/tests/fuzz/targets.txt"
failed=0
for target in "${targets[@]}"; do
    tests/fuzz/fuzz_target.sh "$build/tests/fuzz/$target" "$build/tests/fuzz/omra_fuzz_seeds" \
        "$build/pack.bin" "$build" "$seconds" || failed=1
done
exit "$failed"
