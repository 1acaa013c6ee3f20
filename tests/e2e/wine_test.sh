#!/usr/bin/env bash
# Runs the 32-bit Windows build under Wine on a private X server the way a person would:
# its window appears and shows the scene and then a page of box-drawing text, an ordinary key
# leaves it running, and Escape, Alt+F4 and the window manager's close button each end it with
# exit code 0. Without a sound server it runs silent; with one, what it plays is exactly
# xmrender's offline render of the same module. Before that, the glyph atlas the intro draws
# with GDI must match the Linux build's glyph table glyph for glyph.
# Usage: wine_test.sh EXE ATLAS_CHECK_EXE TERMINAL_FON_TOOL ARTIFACT_DIR [XMRENDER MODULE]
#
# Wine has no "Terminal" raster font and would draw the pages in a TrueType face without box
# drawing, so the fresh prefix gets a stand-in written by TERMINAL_FON_TOOL (omra-terminal-fon)
# from the Linux build's glyph table, as drive_c/windows/Fonts/vgaoem.fon, the file Windows
# keeps its "Terminal" font in. It is part of this test only, not of the intro.
#
# On a machine whose kernel cannot run 32-bit Linux programs, 32-bit Wine runs through
# qemu-user and everything is slow (minutes to boot a prefix), hence the long timeouts.
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

(($# == 4 || $# == 6)) || {
    echo "usage: $0 EXE ATLAS_CHECK_EXE TERMINAL_FON_TOOL ARTIFACT_DIR [XMRENDER MODULE]" >&2
    exit 2
}
[[ -f "$1" ]] || fail "$1 is not a file"
[[ -f "$2" ]] || fail "$2 is not a file"
[[ -f "$3" && -x "$3" ]] || fail "$3 is not an executable file"
exe=$(realpath "$1")
atlas_check=$(realpath "$2")
terminal_fon_tool=$(realpath "$3")
artifact_dir=$4
# Absolute, since the runs below happen in the work folder.
xmrender=${5:+$(realpath "$5")}
module=${6:+$(realpath "$6")}
mkdir -p "$artifact_dir"
note "artifacts go to $artifact_dir"

require_tools Xvfb xdotool import identify convert timeout wine wineboot wineserver
ensure_i386_exec

work_dir=$(mktemp -d -t omra-wine.XXXXXX)
# A prefix of our own, so nothing here depends on or disturbs another Wine user's state.
export WINEPREFIX="$work_dir/prefix" WINEARCH=win32
export WINEDEBUG=-all,err+module
# No Mono, Gecko, desktop menu entries or Internet Explorer: the intro needs none, and each
# takes long to set up.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,iexplore.exe=d"
# Under qemu-user, Wine cannot map its shared user data without this address space reserve.
export QEMU_RESERVED_VA=0xf7000000
# No sound server until the sound run starts its own: waveOutOpen fails and the intro is silent.
export PULSE_RUNTIME_PATH="$work_dir/no-sound-server"

# Wine processes (run directly or through qemu) of our prefix: started by this script,
# directly or through Wine itself.
prefix_pids() {
    local dir
    for dir in /proc/[0-9]*; do
        case $(readlink "$dir/exe" 2>/dev/null) in
        */wine* | */qemu-i386*) ;;
        *) continue ;;
        esac
        if tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "${dir#/proc/}"
        fi
    done
}

stop_wine() {
    local pid
    if [[ -d "$WINEPREFIX" ]]; then
        timeout 60 wineserver -k 2>/dev/null
        # A process still starting up under emulation misses the kill and would bring up a
        # new wineserver for the prefix, so sweep up what is left of ours by PID.
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

# Wine itself may not work on this machine: under qemu-user it can crash while it boots a
# prefix or loads its own DLLs. That says nothing about the intro, so the test is skipped (exit
# code 77) with the reason, rather than failed.
skip_without_wine() {
    echo "SKIP: Wine does not run reliably on this machine: $1"
    [[ $# -lt 2 || ! -f "$2" ]] || grep -v '^$' "$2" | tail -n 5
    exit 77
}

# Where 32-bit programs run only under qemu-user, every Wine process takes about a minute of CPU
# to start, a prefix takes over ten minutes to boot, and Wine's own processes crash at random:
# a run there proves nothing either way, so it is opt-in.
if [[ "${OMRA_WINE_UNDER_QEMU:-0}" != 1 ]] && i386_runs_under_qemu; then
    skip_without_wine "32-bit programs run under qemu-user emulation here (set OMRA_WINE_UNDER_QEMU=1 to try anyway)"
fi

# A failure whose run log shows Wine itself crashing (its loader, or qemu under it, down to
# qemu's own assertions) is a skip too. The boot log does not count: a boot that crashed on its
# way but finished proves nothing.
eval "lib_$(declare -f fail)"
fail() {
    local log
    for log in "${@:2}"; do
        if [[ "$log" != */wineboot.log && -f "$log" ]] && grep -qE 'could not load kernel32.dll|qemu: uncaught target signal|qemu-i386-static: .*Assertion' "$log"; then
            skip_without_wine "$1" "$log"
        fi
    done
    lib_fail "$@"
}

title=Omra
# Keys and close requests wait in the queue while set-up builds the scene, which under emulation
# takes minutes; the intro must still end on them once its loop runs.
readonly run_timeout=900 window_timeout=300
# Wine activates its window only after its own handling of the focus change, which is slow here.
export E2E_FOCUS_SETTLE=1

start_xvfb "$work_dir"
cd "$work_dir"

# One wineserver, started here and kept alive from the boot to the last run: whenever a prefix's
# wineserver ends, the next Wine program boots the session again (services, device drivers,
# desktop), which under emulation alone takes several minutes.
mkdir -p "$WINEPREFIX"
wineserver --foreground --persistent >"$work_dir/wineserver.log" 2>&1 &
wineserver_pid=$!
track_pid "$wineserver_pid"

# Wine's loader waits at most 5 minutes for a new prefix to boot, and under emulation the boot
# can take longer; wineboot's own status then proves nothing. The one sure sign is the boot's
# closing message, so wait for that.
boot_prefix() {
    local log="$work_dir/wineboot.log" start=$SECONDS next_check=$((SECONDS + 60)) boot_pid others
    note "booting a fresh win32 prefix (several minutes under emulation)"
    wineboot -i >"$log" 2>&1 &
    boot_pid=$!
    track_pid "$boot_pid"
    until grep -q 'has been updated' "$log"; do
        ((SECONDS - start < 1500)) || skip_without_wine "the prefix had not booted after 1500 s" "$log"
        if ((SECONDS >= next_check)); then
            next_check=$((SECONDS + 60))
            note "still booting"
            # Under emulation a boot process can crash and leave the boot unfinished for good.
            is_running "$wineserver_pid" || skip_without_wine "the prefix's wineserver ended during the boot" "$work_dir/wineserver.log"
            others=$(prefix_pids | grep -vx "$wineserver_pid" || true)
            [[ -n "$others" ]] || skip_without_wine "every Wine program of the prefix ended before the boot finished" "$log"
        fi
        sleep 1
    done
    note "prefix booted in $((SECONDS - start)) s"
    wait_for_exit "$boot_pid" 300 || fail "wineboot -i was still running 300 s after the boot" "$log"
    note "wineboot -i ended"
}
boot_prefix
# A program of Wine's own must run and report its exit code before the intro's run means anything.
status=0
timeout 600 wine cmd /c exit 7 >"$work_dir/sanity.log" 2>&1 || status=$?
((status == 7)) || skip_without_wine "'wine cmd /c exit 7' ended with $status" "$work_dir/sanity.log"

# --- The stand-in "Terminal" font, where GDI finds it without any registry entry.
fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts_dir"
"$terminal_fon_tool" "$fonts_dir/vgaoem.fon" >"$work_dir/terminal_fon.log" 2>&1 ||
    fail "omra-terminal-fon could not write the stand-in Terminal font" "$work_dir/terminal_fon.log"
note "stand-in Terminal font installed as $fonts_dir/vgaoem.fon"

# --- The glyph atlas as the intro draws it with GDI, against the Linux build's table.
status=0
timeout 600 wine "$atlas_check" >"$work_dir/atlas_check.log" 2>&1 || status=$?
cp "$work_dir/atlas_check.log" "$artifact_dir/atlas_check.log"
((status == 0)) || fail "the atlas GDI draws differs from the Linux glyph table (exit code $status)" "$work_dir/atlas_check.log"
pass "the Windows atlas read back from GDI matches the Linux table glyph for glyph"

# Starts the exe in the background and waits for its window; sets pid, E2E_WINDOW and
# window_seen.
start_exe() {
    local name=$1 started=$SECONDS
    note "starting $exe ($name)"
    wine "$exe" >"$work_dir/$name.out" 2>"$work_dir/$name.err" &
    pid=$!
    track_pid "$pid"
    is_running "$wineserver_pid" || skip_without_wine "the prefix's wineserver has ended" "$work_dir/wineserver.log"
    wait_for_window "$title" "$window_timeout" "$pid" "$work_dir/wineboot.log" "$work_dir/$name.err"
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
# The window appears before set-up builds the scene, and under emulation compiling the shaders
# takes minutes: the first frame is there once the picture has more than one colour.
first_frame_deadline=$((SECONDS + 900))
while :; do
    screenshot "$E2E_WINDOW" "$artifact_dir/wine_window.png" 900 500
    (($(identify -format '%k' "$artifact_dir/wine_window.png") > 1)) && break
    ((SECONDS < first_frame_deadline)) || fail "no frame was drawn within 900 s of the window" "$work_dir/keys.err"
    assert_running "$pid" "while waiting for the first frame" "$work_dir/keys.err"
    sleep 20
done
pass "screenshot saved as $artifact_dir/wine_window.png"
check_scene_colours "$artifact_dir/wine_window.png"

# The window shows before set-up, which under emulation takes long, and the first page is held
# in the middle from 5 to 10 s after set-up ends: look for it over one whole page cycle.
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

if [[ -z "$xmrender" || ! -x "$xmrender" ]]; then
    note "SKIP: the sound run needs a native xmrender (build the debug preset first)"
else
    require_tools pulseaudio pactl parec python3
    start_sound_server
    # Without --latency-msec the recording starts late and drops most of a second.
    parec --latency-msec=20 -d omra.monitor --format=s16le --rate=44100 --channels=2 \
        >"$work_dir/capture.raw" 2>"$work_dir/parec.log" &
    capture_pid=$!
    track_pid "$capture_pid"
    start_exe sound
    # The music starts once the scene is built, minutes after the window under emulation.
    sound_deadline=$((SECONDS + 900))
    until [[ -n "$(tr -d '\0' <"$work_dir/capture.raw" | head -c 1)" ]]; do
        ((SECONDS < sound_deadline)) || fail "no sound reached the sound server within 900 s" "$work_dir/sound.err"
        assert_running "$pid" "while waiting for the music" "$work_dir/sound.err"
        sleep 5
    done
    # Long enough for the comparison's 5 s of exact sound even when the host loses a second or two.
    sleep 12
    assert_running "$pid" "while playing" "$work_dir/sound.err"
    send_keys "$E2E_WINDOW" Escape
    assert_exits_with "$pid" "$run_timeout" 0 "after Escape" "$work_dir/sound.err"
    kill "$capture_pid" 2>/dev/null || true
    "$xmrender" --seconds 120 "$module" "$work_dir/offline.wav" 2>"$work_dir/xmrender.err" ||
        fail "xmrender could not render $module" "$work_dir/xmrender.err"
    python3 "$(dirname "${BASH_SOURCE[0]}")/compare_capture.py" "$work_dir/capture.raw" \
        "$work_dir/offline.wav" >"$work_dir/compare.log" ||
        fail "the sound the intro played is not the offline render: $(cat "$work_dir/compare.log")"
    pass "$(cat "$work_dir/compare.log")"
    export PULSE_RUNTIME_PATH="$work_dir/no-sound-server"
fi

# --- The close button: Wine turns the window manager's WM_DELETE_WINDOW into SC_CLOSE.
if ! start_window_manager "$work_dir"; then
    echo "SKIP: close-button run needs openbox and wmctrl (apt-get install openbox wmctrl)"
    exit 0
fi
start_exe close
close_via_window_manager "$title"
assert_exits_with "$pid" "$run_timeout" 0 "after the window manager's close request" "$work_dir/close.err"
pass "the window manager's close button ends the intro with exit code 0"
