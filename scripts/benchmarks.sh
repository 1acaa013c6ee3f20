#!/usr/bin/env bash
# Builds and runs every benchmark and prints two tables of figures against their targets: the
# player's speed beside the reference player libxmp on the same modules, natively beside libxmp
# for x86-64 and in the 32-bit Windows build under Wine beside libxmp for 32-bit x86, and the
# pre-fill at start and the scene's start and frame times on Mesa's software rasteriser. Each
# benchmark program prints its own rows; this script runs them, adds the headers and sets the
# rows in order.
#
#   scripts/benchmarks.sh [MODULE...]
#
# The player is measured on the shipped tune, a generated 32-channel module and the modules
# given (or, without any, the *.xm files under build/module-corpus, which
# scripts/module-corpus.sh fetches). Speeds are seconds of music per second of the thread's CPU
# time, the fastest of five 30-second runs. The native program measures ours and libxmp in turn,
# run for run; libxmp for 32-bit x86 is measured by a program of its own just before the
# Windows build, whose rows stand beside those figures. The Windows build is measured only
# where 32-bit programs run natively.
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

bench=build/bench/tests

echo "== Player, native" >&2
# A module the player refuses is named on stderr and left out.
"$bench/omra_player_speed" modules data/module.xm "${modules[@]}" | tee "$work/modules.md" >&2 ||
    true
"$bench/omra_player_speed" figures data/module.xm | tee "$work/figures.md" >&2

echo "== Scene on llvmpipe" >&2
"$bench/omra_render_benchmark" 300 | tee "$work/scene.md" >&2

echo "== Native intro on a virtual display: start to first frame" >&2
start_xvfb "$work"
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$bench/omra_first_frame_benchmark" build/bench/shell/omra \
    "$root/$bench/libomra_first_frame_probe.so" 2>"$work/intro.err" | tee "$work/intro.md" >&2 ||
    true

windows_note="not measured"
: >"$work/windows-modules.md"
: >"$work/windows-figures.md"
if ! command -v wine >/dev/null; then
    windows_note="not measured: no Wine"
elif ! i386_runs_natively; then
    windows_note="not measured: this machine's kernel cannot run 32-bit programs"
else
    # The Windows build's peer: libxmp for the same 32-bit x86, which the program under Wine
    # cannot load, measured alone on the same modules.
    if [[ ! -x "$bench/omra_peer_speed" ]]; then
        peer=(--no-peer "not built: needs g++-multilib, libxmp4:i386")
    else
        echo "== libxmp for 32-bit x86" >&2
        if "$bench/omra_peer_speed" data/module.xm "${modules[@]}" >"$work/peer-i386.tsv" \
            2>"$work/peer-i386.err"; then
            peer=(--peer "$work/peer-i386.tsv")
        else
            peer=(--no-peer "libxmp i386 failed: $(tail -n 1 "$work/peer-i386.err")")
        fi
    fi
    echo "== Player, Windows build under Wine" >&2
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target omra_player_speed >/dev/null
    # A prefix of our own, set up with nothing the console program does not need.
    export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,iexplore.exe=d"
    windows=build/windows/tests/omra_player_speed.exe
    if wine "$windows" modules "${peer[@]}" data/module.xm "${modules[@]}" 2>"$work/wine.err" |
        tr -d '\r' | tee "$work/windows-modules.md" >&2 &&
        wine "$windows" figures data/module.xm 2>>"$work/wine.err" | tr -d '\r' |
        tee "$work/windows-figures.md" >&2; then
        windows_note="measured"
    else
        windows_note="failed: $(tail -n 1 "$work/wine.err")"
    fi
fi

# rule WIDTH...: the line under a table's header, for columns of these widths.
rule() {
    local width
    printf '|'
    for width; do
        printf -- '-%.0s' $(seq $((width + 2)))
        printf '|'
    done
    echo
}

echo
echo "Omra benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores," \
    "llvmpipe from Mesa $(dpkg-query -W -f '${Version}\n' libgl1-mesa-dri 2>/dev/null | head -n 1)"
echo
printf '| %-52s | %11s | %-20s | %11s | %8s | %-14s | %-6s |\n' \
    "player, seconds of music a second" ours peer "peer's" ratio target ""
rule 52 11 20 11 8 14 6
cat "$work/modules.md" "$work/windows-modules.md"
echo
printf '| %-52s | %17s | %-10s | %-6s |\n' figure measured target ""
rule 52 17 10 6
cat "$work/figures.md" "$work/windows-figures.md" "$work/intro.md" "$work/scene.md"
echo
echo "Windows build: $windows_note"
