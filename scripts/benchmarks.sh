#!/usr/bin/env bash
# Builds and runs every benchmark and prints one table of figures against their targets:
# the player's speed natively and in the 32-bit Windows build under Wine, the pre-fill at
# start, and the scene's start and frame times on Mesa's software rasteriser.
#
#   scripts/benchmarks.sh [MODULE...]
#
# Modules given (or, without any, the *.xm files under build/module-corpus, which
# scripts/module-corpus.sh fetches) are measured one by one for the corpus median.
# The Windows figures need Wine; under qemu-user emulation they are skipped unless
# OMRA_WINE_UNDER_QEMU=1, and then they measure the emulator as much as the player.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tests/e2e/lib.sh

modules=("$@")
if ((${#modules[@]} == 0)) && [[ -d build/module-corpus ]]; then
    mapfile -t modules < <(find build/module-corpus -iname '*.xm' | sort)
fi

scripts/install-packages.sh test >/dev/null
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
        SDL_AUDIODRIVER=dummy build/bench/omra 2>"$work/intro-$run.err" &
    intro=$!
    track_pid "$intro"
    for _ in $(seq 300); do
        grep -q '^first frame after' "$work/intro-$run.err" && break
        sleep 0.1
    done
    kill "$intro" 2>/dev/null
    wait "$intro" 2>/dev/null || true
    untrack_pid "$intro"
    grep -m1 '^first frame after' "$work/intro-$run.err" | grep -oE '[0-9]+\.[0-9]+' |
        tee -a "$work/first-frame.txt" >&2
done

windows_note="not measured"
if ! command -v wine >/dev/null; then
    windows_note="not measured: no Wine"
elif [[ "${OMRA_WINE_UNDER_QEMU:-0}" != 1 ]] && i386_runs_under_qemu; then
    windows_note="not measured: 32-bit programs run under qemu-user here (OMRA_WINE_UNDER_QEMU=1 measures the emulator)"
else
    echo "== Player, Windows build under Wine" >&2
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target omra_player_speed >/dev/null
    ensure_i386_exec
    # A prefix of our own, set up with nothing the console program does not need.
    export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,iexplore.exe=d"
    export QEMU_RESERVED_VA=0xf7000000 # lets Wine map its shared data under qemu-user
    if wine build/windows/tests/omra_player_speed.exe data/module.xm 2>"$work/wine.err" |
        tr -d '\r' | tee "$work/windows.tsv" >&2; then
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

corpus_median() {
    awk -F '\t' 'NR > 4 { print $2 }' "$work/player.tsv" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR) print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
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
printf '| %-52s | %17s | %-10s | %-6s |\n' figure measured target ""
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..54})" "$(printf -- '-%.0s' {1..19})" \
    "$(printf -- '-%.0s' {1..12})" "$(printf -- '-%.0s' {1..8})"
row "player: shipped tune (6 channels)" "$(figure 'shipped tune' "$work/player.tsv")" "x" ">= 1460"
row "player: 32 channels, every channel sounding" \
    "$(figure '32 channels, every channel sounding' "$work/player.tsv")" "x" ">= 480"
row "player: all 64 voices, mixer alone" \
    "$(figure '64 voices sounding, mixer alone' "$work/player.tsv")" "x" "-"
if ((${#modules[@]} > 0)); then
    row "player: median of ${#modules[@]} further modules" "$(corpus_median)" "x" ">= 1200"
fi
row "start: pre-fill of 100 blocks" \
    "$(figure 'pre-fill of 100 blocks at start' "$work/player.tsv")" "ms" "<= 10"
if [[ "$windows_note" == measured ]]; then
    row "Windows under Wine: shipped tune" "$(figure 'shipped tune' "$work/windows.tsv")" "x" ">= 1460"
    row "Windows under Wine: 32 channels" \
        "$(figure '32 channels, every channel sounding' "$work/windows.tsv")" "x" ">= 480"
    row "Windows under Wine: pre-fill" \
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
