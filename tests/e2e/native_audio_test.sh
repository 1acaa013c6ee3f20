#!/usr/bin/env bash
# What the Linux build plays is exactly what the player renders offline: the intro runs with
# SDL's disk audio driver, which writes every byte the device was handed to a file, and that
# file must equal xmrender's rendering of the same module from the device's start on. Without any
# audio device the intro runs silent and still ends with exit code 0.
# Usage: native_audio_test.sh BINARY XMRENDER MODULE
set -euo pipefail

# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

(($# == 3)) || { echo "usage: $0 BINARY XMRENDER MODULE" >&2; exit 2; }
binary=$(realpath "$1")
xmrender=$(realpath "$2")
module=$(realpath "$3")
require_tools Xvfb xdotool timeout cmp

work_dir=$(mktemp -d -t omra-audio.XXXXXX)
remove_work_dir() { rm -rf "$work_dir"; }
E2E_CLEANUP_HOOKS+=(remove_work_dir)
export SDL_VIDEODRIVER=x11
# Only the disk run names a driver; the other sees whatever devices the machine has.
unset SDL_AUDIODRIVER SDL_DISKAUDIOFILE
start_xvfb "$work_dir"
cd "$work_dir"

has_at_least() { # BYTES FILE
    (($(stat -c %s "$2" 2>/dev/null || echo 0) >= $1))
}

# Runs the intro for a few seconds, then ends it with Escape and expects exit code 0.
run_intro() {
    local name=$1
    "$binary" >"$work_dir/$name.out" 2>"$work_dir/$name.err" &
    local pid=$!
    track_pid "$pid"
    wait_for_window Omra 20 "$pid" "$work_dir/$name.err"
    sleep 4
    # On a busy machine the start (the scene, then two seconds of music mixed ahead) can take
    # longer than those seconds: the disk run waits for a second of sound, however long it takes.
    if [[ -n "${SDL_DISKAUDIOFILE:-}" ]]; then
        retry_until 1200 has_at_least 176400 "$SDL_DISKAUDIOFILE" ||
            fail "the disk driver recorded less than a second of sound within 2 minutes" "$work_dir/$name.err"
    fi
    assert_running "$pid" "while playing" "$work_dir/$name.err"
    send_keys "$E2E_WINDOW" Escape
    assert_exits_with "$pid" 10 0 "after Escape" "$work_dir/$name.err"
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work_dir/played.raw" run_intro disk
played_bytes=$(stat -c %s "$work_dir/played.raw")
# Four seconds at 176400 bytes per second, give or take the driver's pacing.
((played_bytes >= 176400)) || fail "the disk driver recorded only $played_bytes bytes"

"$xmrender" --seconds 30 "$module" "$work_dir/offline.wav" 2>"$work_dir/xmrender.err" ||
    fail "xmrender could not render $module" "$work_dir/xmrender.err"
[[ -n "$(tr -d '\0' <"$work_dir/played.raw" | head -c 1)" ]] ||
    fail "the intro played nothing but silence"
# While the intro pre-mixes its ring the device is open but paused, and SDL hands the disk
# driver whole buffers of silence (1024 frames, 4096 bytes each) until playback starts. After
# them comes the ring from its first byte; the WAV data follows its 44-byte header.
buffer_bytes=4096
aligned=
for ((silent = 0; silent * buffer_bytes < played_bytes - 176400; silent++)); do
    skip=$((silent * buffer_bytes))
    if cmp -s -n "$((played_bytes - skip))" -i "$skip:44" "$work_dir/played.raw" "$work_dir/offline.wav"; then
        aligned=$skip
        break
    fi
done
[[ -n "$aligned" ]] || fail "the $played_bytes bytes played differ from the offline rendering"
pass "the $((played_bytes - aligned)) bytes the intro played after $aligned bytes of start-up silence equal the offline rendering"

# With no sound card (as on a build machine) SDL opens no device: the intro runs on silent.
if [[ -z "$(ls /dev/snd 2>/dev/null)" ]]; then
    run_intro silent
    pass "without an audio device the intro runs silent and exits with code 0"
fi
SDL_AUDIODRIVER=none-such run_intro no-driver
pass "with an audio driver that does not exist the intro runs silent and exits with code 0"
