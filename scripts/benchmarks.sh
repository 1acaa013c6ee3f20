#!/usr/bin/env bash
# Builds and runs every benchmark and prints two tables of figures against their targets: the
# player's speed beside the reference player libxmp on the same modules, natively and in the
# 32-bit Windows build under Wine, and the pre-fill at start and the scene's start and frame
# times on Mesa's software rasteriser.
#
#   scripts/benchmarks.sh [MODULE...]
#
# The player is measured on the shipped tune, a generated 32-channel module and the modules
# given (or, without any, the *.xm files under build/module-corpus, which
# scripts/module-corpus.sh fetches). Speeds are seconds of music per second of the thread's CPU
# time, the fastest of five 30-second runs, ours and libxmp's taken in turn. The Windows build
# is measured only where 32-bit programs run natively; beside it stands the native libxmp of
# the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tests/e2e/lib.sh

modules=("$@")
if ((${#modules[@]} == 0)) && [[ -d build/module-corpus ]]; then
    mapfile -t modules < <(find build/module-corpus -iname '*.xm' | sort)
fi

scripts/install-packages.sh bench >/dev/null
echo "== Building the benchmarks" >&2
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null

work=$(mktemp -d)
remove_work() {
    wineserver -k 2>/dev/null
    rm -rf "$work"
}
E2E_CLEANUP_HOOKS+=(remove_work)

echo "== Player, native" >&2
# A module the player refuses is named on stderr and left out of the median.
build/bench/tests/omra_player_speed data/module.xm "${modules[@]}" | tee "$work/player.tsv" >&2 ||
    true

echo "== Scene on llvmpipe" >&2
build/bench/tests/omra_render_benchmark 300 | tee "$work/render.txt" >&2

echo "== Native intro on a virtual display: start to first frame" >&2
start_xvfb "$work"
: >"$work/first-frame.txt"
for run in 1 2 3; do
    LD_PRELOAD="$root/build/bench/tests/libomra_first_frame_probe.so" SDL_VIDEODRIVER=x11 \
        SDL_AUDIODRIVER=dummy build/bench/shell/omra 2>"$work/intro-$run.err" &
    intro=$!
    track_pid "$intro"
    retry_until 300 grep -q '^first frame after' "$work/intro-$run.err" || true
    kill "$intro" 2>/dev/null
    wait "$intro" 2>/dev/null || true
    untrack_pid "$intro"
    grep -m1 '^first frame after' "$work/intro-$run.err" | grep -oE '[0-9]+\.[0-9]+' |
        tee -a "$work/first-frame.txt" >&2
done

windows_note="not measured"
if ! command -v wine >/dev/null; then
    windows_note="not measured: no Wine"
elif ! i386_runs_natively; then
    windows_note="not measured: this machine's kernel cannot run 32-bit programs"
else
    echo "== Player, Windows build under Wine" >&2
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target omra_player_speed >/dev/null
    # A prefix of our own, set up with nothing the console program does not need.
    export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,iexplore.exe=d"
    if wine build/windows/tests/omra_player_speed.exe data/module.xm "${modules[@]}" \
        2>"$work/wine.err" | tr -d '\r' | tee "$work/windows.tsv" >&2; then
        windows_note="measured"
    else
        windows_note="failed: $(tail -n 1 "$work/wine.err")"
    fi
fi

# figure NAME FILE: the value on the line that starts with NAME in a tab-separated file.
figure() {
    awk -F '\t' -v name="$1" '$1 == name { print $2 }' "$2" 2>/dev/null
}

# render FIELD OCCURRENCE: the first number after a label in the render benchmark's output.
render() {
    grep -m "$2" -F "$1" "$work/render.txt" | tail -n 1 | grep -oE '[0-9]+\.[0-9]+' | head -n 1
}

# The player's lines of a run: name, ours, the reference (or "-"), unit.
module_lines() {
    awk -F '\t' '$4 == "x real time" && $3 != "-"' "$1" 2>/dev/null
}

# player_row LABEL OURS PEER: ours, the peer's and their ratio against the target of twice the
# peer.
player_row() {
    local label=$1 ours=$2 peer=$3 ratio="-" verdict="-"
    if [[ -n "$ours" && -n "$peer" && "$peer" != "-" ]]; then
        ratio=$(awk -v o="$ours" -v p="$peer" 'BEGIN { printf "%.2f", o / p }')
        verdict=$(awk -v r="$ratio" 'BEGIN { print (r >= 2 ? "met" : "MISSED") }')
    fi
    printf '| %-60s | %9s x | %9s x | %6s x | %-14s | %-6s |\n' "$label" "${ours:--}" "${peer:--}" \
        "$ratio" ">= 2x the peer" "$verdict"
}

# row LABEL VALUE UNIT TARGET: one line of the table; TARGET is ">= N", "<= N" or "-".
row() {
    local label=$1 value=$2 unit=$3 target=$4 verdict="-"
    if [[ -z "$value" ]]; then
        value="-"
    elif [[ "$target" != "-" ]]; then
        if awk -v v="$value" -v op="${target%% *}" -v t="${target#* }" \
            'BEGIN { exit !((op == ">=" && v >= t) || (op == "<=" && v <= t)) }'; then
            verdict="met"
        else
            verdict="MISSED"
        fi
    fi
    printf '| %-52s | %10s %-6s | %-10s | %-6s |\n' "$label" "$value" "$unit" "$target" "$verdict"
}

echo
echo "Omra benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores," \
    "llvmpipe from Mesa $(dpkg-query -W -f '${Version}\n' libgl1-mesa-dri 2>/dev/null | head -n 1)"
echo
printf '| %-60s | %11s | %11s | %8s | %-14s | %-6s |\n' "player, seconds of music a second" ours libxmp \
    ratio target ""
printf '|%s|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..62})" "$(printf -- '-%.0s' {1..13})" \
    "$(printf -- '-%.0s' {1..13})" "$(printf -- '-%.0s' {1..10})" "$(printf -- '-%.0s' {1..16})" \
    "$(printf -- '-%.0s' {1..8})"
while IFS=$'\t' read -r name ours peer _; do
    player_row "$(basename "$name")" "$ours" "$peer"
done < <(module_lines "$work/player.tsv")
if [[ "$windows_note" == measured ]]; then
    # The Windows lines in the same order, beside the native run's libxmp.
    paste <(module_lines "$work/player.tsv") <(awk -F '\t' '$4 == "x real time" && NR != 3' \
        "$work/windows.tsv") | while IFS=$'\t' read -r name _ peer _ _ ours _ _; do
        player_row "Windows 32-bit: $(basename "$name")" "$ours" "$peer"
    done
fi
echo
printf '| %-52s | %17s | %-10s | %-6s |\n' figure measured target ""
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..54})" "$(printf -- '-%.0s' {1..19})" \
    "$(printf -- '-%.0s' {1..12})" "$(printf -- '-%.0s' {1..8})"
row "player: all 64 voices, mixer alone" \
    "$(figure '64 voices sounding, mixer alone' "$work/player.tsv")" "x" "-"
row "start: pre-fill of 100 blocks" \
    "$(figure 'pre-fill of 100 blocks at start' "$work/player.tsv")" "ms" "<= 10"
if [[ "$windows_note" == measured ]]; then
    row "Windows 32-bit: pre-fill of 100 blocks" \
        "$(figure 'pre-fill of 100 blocks at start' "$work/windows.tsv")" "ms" "<= 10"
fi
row "intro: process start to first frame on screen" \
    "$(sort -g "$work/first-frame.txt" | sed -n 2p)" "ms" "<= 300"
row "scene, headless: context creation to first frame" "$(render 'start to first frame' 1)" "ms" "-"
row "scene: frame, median, longest page held" "$(render 'frame, median' 1)" "ms" "<= 16.7"
row "scene: frame, median, no page" "$(render 'frame, median' 2)" "ms" "<= 16.7"
row "scene: main thread CPU per frame, longest page" "$(render 'submit, median thread CPU' 1)" "ms" "-"
echo
echo "Windows build: $windows_note"
