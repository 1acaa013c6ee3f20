#!/usr/bin/env bash
# Runs the Linux build on a private X server the way a person would: its window appears and
# shows the scene and then a page of box-drawing text, an ordinary key leaves it running, Escape
# ends it with exit code 0 at any moment, with or without sound, and so does the window
# manager's close button.
# Usage: native_window_test.sh BINARY [ARTIFACT_DIR]
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

(($# >= 1 && $# <= 2)) || { echo "usage: $0 BINARY [ARTIFACT_DIR]" >&2; exit 2; }
[[ -f "$1" && -x "$1" ]] || fail "$1 is not an executable file"
binary=$(realpath "$1")
artifact_dir=${2:-$(mktemp -d -t omra-native-artifacts.XXXXXX)}
mkdir -p "$artifact_dir"
note "artifacts go to $artifact_dir"

require_tools Xvfb xdotool import identify convert timeout

work_dir=$(mktemp -d -t omra-native.XXXXXX)
remove_work_dir() { rm -rf "$work_dir"; }
E2E_CLEANUP_HOOKS+=(remove_work_dir)

title=Omra
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

start_xvfb "$work_dir"
# The run's working directory is not the binary's: the intro must carry everything it needs.
cd "$work_dir"

# --- Keys: an ordinary key is ignored, Escape ends the intro.
note "starting $binary"
"$binary" >"$work_dir/keys.out" 2>"$work_dir/keys.err" &
pid=$!
track_pid "$pid"
wait_for_window "$title" 20 "$pid" "$work_dir/keys.err"
window_seen=$SECONDS
pass "a window titled '$title' appeared"

send_keys "$E2E_WINDOW" a space
sleep 1
assert_running "$pid" "after the keys 'a' and space" "$work_dir/keys.err"
pass "the keys 'a' and space leave the intro running"

# The intro's window is 960x540 with no decorations around it here.
screenshot "$E2E_WINDOW" "$artifact_dir/native_window.png" 960 540
pass "screenshot saved as $artifact_dir/native_window.png"
check_scene_colours "$artifact_dir/native_window.png"

# The first page is held in the middle from 5 to 10 s after set-up, which ends about when the
# window shows.
(((wait_seconds = window_seen + 6 - SECONDS) > 0)) && sleep "$wait_seconds"
screenshot_page_text "$E2E_WINDOW" "$artifact_dir/native_page.png" 960 540 8 0.5
pass "a page of box-drawing text is held in the middle: $artifact_dir/native_page.png"

send_keys "$E2E_WINDOW" Escape
assert_exits_with "$pid" 10 0 "after Escape" "$work_dir/keys.err"
pass "Escape ends the intro with exit code 0"

# --- Escape at any moment after start-up: the music stops, everything is released and the
# intro ends with exit code 0, playing (SDL's dummy device) or silent (no audio driver).
for run in "0 dummy" "1.5 dummy" "0 none-such" "3 none-such"; do
    read -r delay driver <<<"$run"
    SDL_AUDIODRIVER=$driver "$binary" >"$work_dir/escape.out" 2>"$work_dir/escape.err" &
    pid=$!
    track_pid "$pid"
    wait_for_window "$title" 20 "$pid" "$work_dir/escape.err"
    sleep "$delay"
    send_keys "$E2E_WINDOW" Escape
    assert_exits_with "$pid" 10 0 "after Escape at $delay s with audio driver $driver" "$work_dir/escape.err"
    pass "Escape $delay s after the window showed, audio driver $driver: exit code 0"
done

# --- The close button: without a window manager nothing turns a close request into the
# WM_DELETE_WINDOW message the program sees, so this run has one.
if ! start_window_manager "$work_dir"; then
    echo "SKIP: close-button run needs openbox and wmctrl (apt-get install openbox wmctrl)"
    exit 0
fi
note "starting $binary under a window manager"
"$binary" >"$work_dir/close.out" 2>"$work_dir/close.err" &
pid=$!
track_pid "$pid"
wait_for_window "$title" 20 "$pid" "$work_dir/close.err"
close_via_window_manager "$title"
assert_exits_with "$pid" 10 0 "after the window manager's close request" "$work_dir/close.err"
pass "the window manager's close button ends the intro with exit code 0"
