#!/usr/bin/env bash
# Runs the Windows build under Wine on a private X server the way a person would: its window
# appears and shows the scene and then a page of box-drawing text, an ordinary key leaves it
# running, and Escape, Alt+F4 and the window manager's close button each end it with exit code 0.
# Without a sound server it runs silent; with one, what it plays is xmrender's offline render of
# the same module. Before that, the glyph atlas the intro draws with GDI must match the Linux
# build's glyph table glyph for glyph, and xmrender.exe must render the shipped tune and the
# test modules byte for byte as the native xmrender does.
#
# Usage: wine_test.sh RELEASE_ZIP WIN32_DIR WIN64_DIR TERMINAL_FON_TOOL XMRENDER SEEDS_WRITER MODULE
#                     ARTIFACT_DIR
# RELEASE_ZIP is the release's Windows zip, whose omra.exe is the 32-bit product as it ships.
# WIN32_DIR and WIN64_DIR each hold a Windows build's omra_atlas_check.exe and xmrender.exe, and
# WIN64_DIR the product's 64-bit stand-in omra.exe. The product is tested wherever the
# kernel runs 32-bit programs, which 32-bit Wine needs; elsewhere the stand-in is tested under
# 64-bit Wine. OMRA_WINE_STAND_IN=1 tests the stand-in anyway. SEEDS_WRITER is omra_fuzz_seeds,
# whose modules use every effect, loop type and envelope, and 8- and 16-bit samples.
#
# Wine has no "Terminal" raster font and would draw the pages in a TrueType face without box
# drawing, so the fresh prefix gets a stand-in written by TERMINAL_FON_TOOL (omra-terminal-fon)
# from the Linux build's glyph table, as drive_c/windows/Fonts/vgaoem.fon, the file Windows
# keeps its "Terminal" font in. It is part of this test only, not of the intro.
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

(($# == 8)) || {
    echo "usage: $0 RELEASE_ZIP WIN32_DIR WIN64_DIR TERMINAL_FON_TOOL XMRENDER SEEDS_WRITER MODULE ARTIFACT_DIR" >&2
    exit 2
}
release_zip=$(realpath "$1")
[[ -f "$release_zip" ]] || fail "$1 is not a file"
shift
if [[ "${OMRA_WINE_STAND_IN:-0}" == 1 ]]; then
    bits=64 why="OMRA_WINE_STAND_IN=1 asks for it"
elif i386_runs_natively; then
    bits=32 why="this machine runs 32-bit programs"
else
    bits=64 why="this machine's kernel cannot run 32-bit programs, so 32-bit Wine cannot run here"
fi
if ((bits == 32)); then
    bin_dir=$1
    testing="Testing omra.exe from $release_zip, the 32-bit Windows product as it ships: $why."
    export WINEARCH=win32
    wine=wine
else
    bin_dir=$2
    testing="Testing $bin_dir/omra.exe, the 64-bit stand-in for the 32-bit product: $why."
    export WINEARCH=win64
    # Debian keeps the 64-bit loader out of PATH; Wine starts its own programs with WINELOADER.
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    export WINELOADER=$wine
fi
echo "$testing"
for file in omra_atlas_check.exe xmrender.exe; do
    [[ -f "$bin_dir/$file" ]] || fail "$bin_dir/$file is not a file"
done
for file in "$3" "$4" "$5"; do
    [[ -f "$file" && -x "$file" ]] || fail "$file is not an executable file"
done
[[ -f "$6" ]] || fail "$6 is not a file"
bin_dir=$(realpath "$bin_dir")
terminal_fon_tool=$(realpath "$3")
xmrender=$(realpath "$4")
seeds_writer=$(realpath "$5")
module=$(realpath "$6")
artifact_dir=$7
mkdir -p "$artifact_dir"
note "artifacts go to $artifact_dir"

require_tools Xvfb xdotool import identify convert timeout cmp wineserver "$wine"

work_dir=$(mktemp -d -t omra-wine.XXXXXX)
if ((bits == 32)); then
    unzip -q -d "$work_dir/release" "$release_zip" omra.exe || fail "$release_zip holds no omra.exe"
    exe=$work_dir/release/omra.exe
else
    exe=$bin_dir/omra.exe
    [[ -f "$exe" ]] || fail "$exe is not a file"
fi
# A prefix of our own, so nothing here depends on or disturbs another Wine user's state.
export WINEPREFIX="$work_dir/prefix"
export WINEDEBUG=-all,err+module
# No Mono, Gecko, desktop menu entries or Internet Explorer: the intro needs none, and each
# takes long to set up.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,iexplore.exe=d"
# No sound server until the sound run starts its own: waveOutOpen fails and the intro is silent.
# The clients find only ours: not one that PULSE_SERVER or a client.conf names, not a user's
# running server, and none started on demand.
export PULSE_RUNTIME_PATH="$work_dir/no-sound-server"
printf 'autospawn = no\n' >"$work_dir/pulse-client.conf"
export PULSE_CLIENTCONFIG="$work_dir/pulse-client.conf"
unset PULSE_SERVER

# Wine processes of our prefix: started by this script, directly or through Wine itself.
prefix_pids() {
    local dir
    for dir in /proc/[0-9]*; do
        [[ $(readlink "$dir/exe" 2>/dev/null) == */wine* ]] || continue
        if tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "${dir#/proc/}"
        fi
    done
}

stop_wine() {
    local pid
    if [[ -d "$WINEPREFIX" ]]; then
        timeout 60 wineserver -k 2>/dev/null
        # A process still starting up can miss the kill and bring up a new wineserver for the
        # prefix, so sweep up what is left of ours by PID.
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            [[ -z "$(prefix_pids)" ]] && break
            sleep 1
        done
        for pid in $(prefix_pids); do
            kill -9 "$pid" 2>/dev/null
        done
    fi
    rm -rf "$work_dir"
}
E2E_CLEANUP_HOOKS+=(stop_wine)

title=Omra
# The window appears before set-up builds the scene, and llvmpipe compiling the shaders on a
# loaded machine can take a minute or more; keys and close requests wait in the queue meanwhile.
readonly run_timeout=300 window_timeout=120
# Wine activates its window only after its own handling of the focus change.
export E2E_FOCUS_SETTLE=1

start_xvfb "$work_dir"
cd "$work_dir"

# One wineserver for the whole test: whenever a prefix's wineserver ends, the next Wine program
# boots the session again (services, device drivers, desktop).
mkdir -p "$WINEPREFIX"
wineserver --foreground --persistent >"$work_dir/wineserver.log" 2>&1 &
wineserver_pid=$!
track_pid "$wineserver_pid"

note "booting a fresh $WINEARCH prefix"
boot_started=$SECONDS
timeout 600 "$wine" wineboot -i >"$work_dir/wineboot.log" 2>&1 ||
    fail "wineboot -i did not boot the prefix" "$work_dir/wineboot.log" "$work_dir/wineserver.log"
note "prefix booted in $((SECONDS - boot_started)) s"
# A program of Wine's own must run and report its exit code before the intro's run means anything.
status=0
timeout 300 "$wine" cmd /c exit 7 >"$work_dir/sanity.log" 2>&1 || status=$?
((status == 7)) || fail "'wine cmd /c exit 7' ended with $status" "$work_dir/sanity.log"

# --- The stand-in "Terminal" font, where GDI finds it without any registry entry.
fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts_dir"
"$terminal_fon_tool" "$fonts_dir/vgaoem.fon" >"$work_dir/terminal_fon.log" 2>&1 ||
    fail "omra-terminal-fon could not write the stand-in Terminal font" "$work_dir/terminal_fon.log"
note "stand-in Terminal font installed as $fonts_dir/vgaoem.fon"

# --- The glyph atlas as the intro draws it with GDI, against the Linux build's table.
status=0
timeout 300 "$wine" "$bin_dir/omra_atlas_check.exe" >"$work_dir/atlas_check.log" 2>&1 || status=$?
cp "$work_dir/atlas_check.log" "$artifact_dir/atlas_check.log"
((status == 0)) || fail "the atlas check failed (exit code $status)" "$work_dir/atlas_check.log"
pass "a failed GDI call ends the atlas drawing with an error naming it"
pass "the Windows atlas read back from GDI matches the Linux table glyph for glyph"

# --- The Windows build's player, checked without real-time audio: its renders of the shipped
# tune and of modules that use every effect, loop type and envelope must equal the native ones.
render_seconds=20
mkdir -p modules
"$seeds_writer" modules packs "$(dirname "$module")" >"$work_dir/seeds.log" 2>&1 ||
    fail "omra_fuzz_seeds could not write the test modules" "$work_dir/seeds.log"
cp "$module" modules/shipped.xm
compared=0
for path in modules/*.xm; do
    name=$(basename "$path" .xm)
    "$xmrender" --seconds "$render_seconds" "$path" "modules/$name.native.wav" 2>"$work_dir/xmrender.err" ||
        fail "the native xmrender could not render $name.xm" "$work_dir/xmrender.err"
    # Relative paths, which Wine resolves against the working folder on its drive Z:.
    status=0
    timeout 300 "$wine" "$bin_dir/xmrender.exe" --seconds "$render_seconds" "$path" \
        "modules/$name.windows.wav" >"$work_dir/xmrender_exe.log" 2>&1 || status=$?
    ((status == 0)) || fail "xmrender.exe could not render $name.xm (exit code $status)" "$work_dir/xmrender_exe.log"
    cmp "modules/$name.native.wav" "modules/$name.windows.wav" >"$work_dir/cmp.log" 2>&1 ||
        fail "xmrender.exe renders $name.xm differently from the native xmrender: $(cat "$work_dir/cmp.log")"
    compared=$((compared + 1))
done
xmrender_result="xmrender.exe ($bits-bit) renders $compared modules (the shipped tune and $((compared - 1)) test modules, $render_seconds s each) byte for byte as the native xmrender does"
pass "$xmrender_result"

# Starts the exe in the background and waits for its window; sets pid, E2E_WINDOW and
# window_seen.
start_exe() {
    local name=$1 started=$SECONDS
    note "starting $exe ($name)"
    "$wine" "$exe" >"$work_dir/$name.out" 2>"$work_dir/$name.err" &
    pid=$!
    track_pid "$pid"
    wait_for_window "$title" "$window_timeout" "$pid" "$work_dir/$name.err"
    window_seen=$SECONDS
    pass "a window titled '$title' appeared ($((SECONDS - started)) s after start)"
}

# --- Keys: an ordinary key is ignored, Escape ends the intro.
start_exe keys
send_keys "$E2E_WINDOW" a space
sleep 1
assert_running "$pid" "after the keys 'a' and space" "$work_dir/keys.err"
pass "the keys 'a' and space leave the intro running"

# Without a window manager only the client area is on screen: about 954x515 of the 960x540 window.
# The window appears before set-up builds the scene: the first frame is there once the picture
# has more than one colour.
first_frame_deadline=$((SECONDS + 300))
while :; do
    screenshot "$E2E_WINDOW" "$artifact_dir/wine_window.png" 900 500
    (($(identify -format '%k' "$artifact_dir/wine_window.png") > 1)) && break
    ((SECONDS < first_frame_deadline)) || fail "no frame was drawn within 300 s of the window" "$work_dir/keys.err"
    assert_running "$pid" "while waiting for the first frame" "$work_dir/keys.err"
    sleep 2
done
pass "screenshot saved as $artifact_dir/wine_window.png"
check_scene_colours "$artifact_dir/wine_window.png"

# The first page is held in the middle from 5 to 10 s after set-up ends: look for it over one
# whole page cycle.
(((wait_seconds = window_seen + 5 - SECONDS) > 0)) && sleep "$wait_seconds"
screenshot_page_text "$E2E_WINDOW" "$artifact_dir/wine_page.png" 900 500 40 1
pass "a page of box-drawing text is held in the middle: $artifact_dir/wine_page.png"

send_keys "$E2E_WINDOW" Escape
assert_exits_with "$pid" "$run_timeout" 0 "after Escape" "$work_dir/keys.err"
pass "Escape ends the intro with exit code 0"
pass "without a sound server the intro ran silent"

# --- Alt+F4 reaches the program as a system key, which the window's default handling closes.
start_exe alt_f4
send_keys "$E2E_WINDOW" alt+F4
assert_exits_with "$pid" "$run_timeout" 0 "after Alt+F4" "$work_dir/alt_f4.err"
pass "Alt+F4 ends the intro with exit code 0"

# --- Sound: a null sink of a private sound server takes what waveOut plays, and a recording of
# it must be the offline render, give or take what a loaded host drops or inserts.
start_sound_server() {
    local tries
    export PULSE_RUNTIME_PATH="$work_dir/pulse"
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        --load="module-null-sink sink_name=omra rate=44100 format=s16le channels=2" \
        --load=module-native-protocol-unix >"$work_dir/pulseaudio.log" 2>&1 &
    track_pid $!
    for ((tries = 0; tries < 60; tries++)); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.5
    done
    pactl set-default-sink omra 2>>"$work_dir/pulseaudio.log" ||
        fail "the sound server did not start" "$work_dir/pulseaudio.log"
}

require_tools pulseaudio pactl parec python3
start_sound_server
# Without --latency-msec the recording starts late and drops most of a second.
parec --latency-msec=20 -d omra.monitor --format=s16le --rate=44100 --channels=2 \
    >"$work_dir/capture.raw" 2>"$work_dir/parec.log" &
capture_pid=$!
track_pid "$capture_pid"
start_exe sound
# The music starts once the scene is built.
sound_deadline=$((SECONDS + 300))
until [[ -n "$(tr -d '\0' <"$work_dir/capture.raw" | head -c 1)" ]]; do
    ((SECONDS < sound_deadline)) || fail "no sound reached the sound server within 300 s" "$work_dir/sound.err"
    assert_running "$pid" "while waiting for the music" "$work_dir/sound.err"
    sleep 1
done
# Long enough for the comparison's 5 s of exact sound even when the host loses a second or two.
sleep 12
assert_running "$pid" "while playing" "$work_dir/sound.err"
send_keys "$E2E_WINDOW" Escape
assert_exits_with "$pid" "$run_timeout" 0 "after Escape" "$work_dir/sound.err"
kill "$capture_pid" 2>/dev/null || true
cp "$work_dir/capture.raw" "$artifact_dir/wine_capture.raw"
"$xmrender" --seconds 120 "$module" "$work_dir/offline.wav" 2>"$work_dir/xmrender.err" ||
    fail "xmrender could not render $module" "$work_dir/xmrender.err"
python3 "$here/compare_capture.py" "$work_dir/capture.raw" \
    "$work_dir/offline.wav" >"$work_dir/compare.log" ||
    fail "the sound the intro played is not the offline render ($artifact_dir/wine_capture.raw): $(cat "$work_dir/compare.log")"
sound_result=$(cat "$work_dir/compare.log")
pass "$sound_result"
export PULSE_RUNTIME_PATH="$work_dir/no-sound-server"

# --- The close button: Wine turns the window manager's WM_DELETE_WINDOW into SC_CLOSE.
start_window_manager "$work_dir" || fail "the close-button run needs openbox and wmctrl"
start_exe close
close_via_window_manager "$title"
assert_exits_with "$pid" "$run_timeout" 0 "after the window manager's close request" "$work_dir/close.err"
pass "the window manager's close button ends the intro with exit code 0"

summary "$testing" "$xmrender_result" "$sound_result"
