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
seeds=$build/seeds
rm -rf "$seeds"
"$build/tests/fuzz/omra_fuzz_seeds" "$seeds/omra_fuzz_module" "$seeds/omra_fuzz_pack" data
cp data/module.xm "$seeds/omra_fuzz_module/shipped.xm"
cp "$build/pack.bin" "$seeds/omra_fuzz_pack/shipped.pack"

# The shipped pack is 1.2 MB; modules stay below 64 KiB, as the shipped one does. The mixer
# target starts from nothing: a few bytes describe its voice.
mkdir -p "$seeds/omra_fuzz_mixer"
declare -A target_options=(
    [omra_fuzz_pack]="-max_len=1310720"
    [omra_fuzz_module]="-max_len=65536 -dict=tests/fuzz/xm.dict"
    [omra_fuzz_mixer]="-max_len=4096"
)
# A hang is an input that takes 10 s; a corrupt header that makes the loader reserve gigabytes
# shows up as one allocation above 512 MB or the process above 2 GB.
common_options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10
    -rss_limit_mb=2048 -malloc_limit_mb=512)

failed=0
for target in omra_fuzz_pack omra_fuzz_module omra_fuzz_mixer; do
    corpus=$build/corpus/$target
    crashes=$build/crashes/$target
    log=$build/logs/$target.log
    mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
    echo "== Fuzzing $target for $seconds s (log: $log)"
    status=0
    # shellcheck disable=SC2086 # the options are separate words
    "$build/tests/fuzz/$target" "${common_options[@]}" ${target_options[$target]} \
        -artifact_prefix="$crashes/" "$corpus" "$seeds/$target" >"$log" 2>&1 || status=$?

    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    # A crash on a seed ends the run before any coverage line.
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 || true)
    files=$(find "$corpus" -type f | wc -l)
    size=$(du -sh "$corpus" | cut -f 1)
    echo "$target: ${executions:-?} executions, ${speed:-?} exec/s, ${coverage:-no coverage}," \
        "corpus $files files ($size)"
    if [ "$status" -ne 0 ]; then
        failed=1
        crash=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
        echo "$target: FAILED (exit $status): $(grep -m 1 -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" || tail -n 1 "$log")"
        echo "$target: input: ${crash:-none written}"
    else
        echo "$target: no crash"
    fi
done
exit "$failed"
