#!/usr/bin/env bash
# Runs one libFuzzer target for SECONDS on its corpus in WORK_DIR/corpus/TARGET, which it starts
# from seeds written by the project's own module and pack writers (SEEDS_WRITER, omra_fuzz_seeds),
# the shipped module and the shipped pack (PACK), and keeps between runs. Prints the executions,
# executions per second, coverage, corpus size and whether anything crashed; exits non-zero when
# the target crashed, hung or ran out of memory, naming the input that did it
# (WORK_DIR/crashes/TARGET/).
#   fuzz_target.sh TARGET_EXE SEEDS_WRITER PACK WORK_DIR SECONDS
set -euo pipefail
(($# == 5)) || { echo "usage: $0 TARGET_EXE SEEDS_WRITER PACK WORK_DIR SECONDS" >&2; exit 2; }
target_exe=$1 seeds_writer=$2 pack=$3 work=$4 seconds=$5
root=$(cd "$(dirname "$0")/../.." && pwd)
target=$(basename "$target_exe")

seeds=$work/seeds/$target
rm -rf "$work/seeds"
"$seeds_writer" "$work/seeds/omra_fuzz_module" "$work/seeds/omra_fuzz_pack" "$root/data" >/dev/null
cp "$root/data/module.xm" "$work/seeds/omra_fuzz_module/shipped.xm"
cp "$pack" "$work/seeds/omra_fuzz_pack/shipped.pack"

# The mixer target starts from nothing: a few bytes describe its voice.
mkdir -p "$seeds"

# The shipped pack is 1.2 MB; modules stay below 64 KiB, as the shipped one does.
declare -A target_options=(
    [omra_fuzz_pack]="-max_len=1310720"
    [omra_fuzz_module]="-max_len=65536 -dict=$root/tests/fuzz/xm.dict"
    [omra_fuzz_mixer]="-max_len=4096"
)
# A hang is an input that takes 10 s; a corrupt header that makes the loader reserve gigabytes
# shows up as one allocation above 512 MB or the process above 2 GB.
common_options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10
    -rss_limit_mb=2048 -malloc_limit_mb=512)

corpus=$work/corpus/$target
crashes=$work/crashes/$target
log=$work/logs/$target.log
mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
echo "== Fuzzing $target for $seconds s (log: $log)"
status=0
# shellcheck disable=SC2086 # the options are separate words
"$target_exe" "${common_options[@]}" ${target_options[$target]} \
    -artifact_prefix="$crashes/" "$corpus" "$seeds" >"$log" 2>&1 || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
# A crash on a seed ends the run before any coverage line.
coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 || true)
files=$(find "$corpus" -type f | wc -l)
size=$(du -sh "$corpus" | cut -f 1)
echo "$target: ${executions:-?} executions, ${speed:-?} exec/s, ${coverage:-no coverage}," \
    "corpus $files files ($size)"
if [ "$status" -ne 0 ]; then
    crash=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    echo "$target: FAILED (exit $status): $(grep -m 1 -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" || tail -n 1 "$log")"
    echo "$target: input: ${crash:-none written}"
    exit 1
fi
echo "$target: no crash"
