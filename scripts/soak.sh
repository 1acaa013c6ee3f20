#!/usr/bin/env bash
# Runs the intro on a virtual display for SECONDS (default 600) with SDL's dummy audio device,
# which plays in real time, samples its resident memory every few seconds and fails if the
# memory after the warm-up grows past its highest up to then by more than max(2 MiB, 2 %), or if
# the intro does not keep running and then end cleanly on Escape. Prints the samples' summary.
# Usage: scripts/soak.sh [SECONDS]
#   OMRA_INTRO         the intro to run (default: build/release/shell/omra, brought up to date first)
#   OMRA_SOAK_WARMUP   seconds before the baseline sample (default 60)
#   OMRA_SOAK_INTERVAL seconds between samples (default 5)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
duration=${1:-600}
warmup=${OMRA_SOAK_WARMUP:-60}
interval=${OMRA_SOAK_INTERVAL:-5}
[[ "$duration" =~ ^[0-9]+$ && "$warmup" =~ ^[0-9]+$ && "$interval" =~ ^[1-9][0-9]*$ ]] ||
    { echo "usage: $0 [SECONDS]; SECONDS, OMRA_SOAK_WARMUP and OMRA_SOAK_INTERVAL are whole seconds" >&2; exit 2; }
((warmup + interval <= duration)) ||
    { echo "$0: the run ($duration s) must last past the warm-up ($warmup s) by a sample" >&2; exit 2; }

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
require_tools Xvfb xdotool

intro=${OMRA_INTRO:-}
if [[ -z "$intro" ]]; then
    intro=$root/build/release/shell/omra
    # Built (or brought up to date) every time, so the soak never measures an old intro.
    (cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release --target omra)
fi
[[ -x "$intro" ]] || fail "$intro is not an executable"

work=$(mktemp -d -t omra-soak.XXXXXX)
remove_work() { rm -rf "$work"; }
E2E_CLEANUP_HOOKS+=(remove_work)
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
start_xvfb "$work"

"$intro" >"$work/intro.out" 2>"$work/intro.err" &
pid=$!
track_pid "$pid"
wait_for_window Omra 30 "$pid" "$work/intro.err"
note "the intro (pid $pid) shows its window; sampling its memory every $interval s for $duration s"

rss_kib() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"
}

# Samples as "SECONDS KIB" lines, on the intro's own clock from its window's appearance.
samples=$work/samples
start=$SECONDS
while ((SECONDS - start < duration)); do
    assert_running "$pid" "after $((SECONDS - start)) s" "$work/intro.err"
    echo "$((SECONDS - start)) $(rss_kib "$pid")" >>"$samples"
    sleep "$interval"
done
assert_running "$pid" "at the end of the run" "$work/intro.err"
echo "$((SECONDS - start)) $(rss_kib "$pid")" >>"$samples"

send_keys "$E2E_WINDOW" Escape
assert_exits_with "$pid" 20 0 "after Escape at the end of the run" "$work/intro.err"

# RSS swings by a few MiB from sample to sample as buffers come and go, so growth is the highest
# sample after the warm-up over the highest up to it: memory that leaks raises that ceiling.
awk -v warmup="$warmup" '
    NR == 1 { low = high = $2 }
    { seconds = $1; last = $2; if ($2 < low) low = $2; if ($2 > high) high = $2 }
    $1 <= warmup && $2 > base { base = $2 }
    $1 > warmup && $2 > after { after = $2 }
    END {
        growth = after - base
        margin = base * 0.02 > 2048 ? base * 0.02 : 2048
        printf "samples: %d over %d s\n", NR, seconds
        printf "RSS (MiB): lowest %.1f, highest %.1f, last %.1f\n", low / 1024, high / 1024, last / 1024
        printf "highest up to %d s: %.1f MiB; highest after: %.1f MiB\n", warmup, base / 1024, after / 1024
        printf "growth after the warm-up: %+.2f MiB (%+.2f %%), allowed %.2f MiB\n", \
            growth / 1024, 100 * growth / base, margin / 1024
        exit growth > margin ? 1 : 0
    }' "$samples" || fail "the intro's memory grew by more than the margin after the warm-up"
pass "the intro ran $duration s with its memory steady and ended on Escape"
