#!/usr/bin/env bash
# omra-capture from the command line: a folder of frames of the length asked for, one clear
# line and a non-zero exit for what it cannot do, and nothing left behind after a refusal, an
# error or Ctrl-C.
set -euo pipefail
tool=$1
work=$2

# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
rm -rf "$work"
mkdir -p "$work"
capture() { "$tool" "$@"; }

# Half a second at 10 frames a second: five frames, and 22050 samples of sound.
capture --fps 10 --seconds 0.5 --frames "$work/frames" 2>"$work/stderr" ||
    fail "capturing frames" "$work/stderr"
[ "$(find "$work/frames" -name 'frame-*.png' | wc -l)" -eq 5 ] || fail "not five frames"
[ -f "$work/frames/frame-000004.png" ] || fail "the frames are not numbered from 000000"
[ "$(stat -c %s "$work/frames/sound.wav")" -eq $((44 + 22050 * 4)) ] || fail "sound.wav is not 0.5 s"
grep -q 'frames/s' "$work/stderr" || fail "no progress on stderr" "$work/stderr"

# shellcheck source=tests/e2e/refusals.sh
source "$(dirname "${BASH_SOURCE[0]}")/refusals.sh"
REFUSING_TOOL=("$tool")
REFUSING_TOOL_NAME=omra-capture
REFUSAL_WORK=$work

mkdir "$work/full" "$work/dir.mkv"
: >"$work/full/someone's-file"
: >"$work/a-file"
# Columns: exit code, expected message, arguments.
refusal_cases=(
    "2|need an output|--fps 30"
    "2|cannot tell the format of '$work/out.avi'|$work/out.avi"
    "2|unknown option --bogus|--bogus $work/out.mp4"
    "2|one output only|$work/out.mp4 $work/out.mkv"
    "2|--frames DIR is the output|--frames $work/out $work/out.mp4"
    "2|--fps takes frames per second from 1 to 1000, not '0'|--fps 0 $work/out.mp4"
    "2|--seconds takes a number of seconds|--seconds x $work/out.mp4"
    "2|--start takes a number of seconds|--start -1 $work/out.mp4"
    "2|--scale takes a whole factor from 1 to 8, not '1.5'|--scale 1.5 $work/out.mp4"
    "2|--size takes WIDTHxHEIGHT|--size 960 $work/out.mp4"
    "2|H.264 in yuv420p needs an even width and height|--size 955x515 $work/out.mp4"
    "2|the video would be 12288x6480; neither side may pass 8192|--size 4096x2160 --scale 3 $work/out.mkv"
    "2|--fps needs a value|$work/out.mp4 --fps"
    "1|$work/no-such-folder/out.mp4: No such file or directory|$work/no-such-folder/out.mp4"
    "1|$work/a-file/out.mkv: Not a directory|$work/a-file/out.mkv"
    "1|$work/dir.mkv: is a directory|$work/dir.mkv"
    "1|$work/full: not empty|--frames $work/full"
    "1|$work/a-file: not a folder|--frames $work/a-file"
    "1|nothing to capture: --seconds is shorter than one frame|--seconds 0.001 $work/out.mkv"
    "1|--start 50:00 is past the tune's pass|--start 3000 $work/out.mkv"
)
expect_refusals "${refusal_cases[@]}"
[ -f "$work/full/someone's-file" ] || fail "a refused folder lost its file"

# Ctrl-C while frames are being written: exit 130, and neither the output nor its temporary
# remains; an earlier file of that name is kept as it was. With job control on, the tool runs
# in a process group of its own and does not start with SIGINT ignored, as a background job of a
# script otherwise does (and as the tool then leaves it).
set -m
for output in "$work/out.mkv" "--frames $work/out"; do
    : >"$work/out.mkv"
    # shellcheck disable=SC2086  # run directly, not through the function, so $! is the tool
    "$tool" --seconds 60 $output 2>"$work/stderr" &
    capture_pid=$!
    track_pid "$capture_pid"
    # Interrupted only once it is writing frames, however long a busy machine takes to start.
    retry_until 3000 grep -q 'frames/s' "$work/stderr" ||
        fail "no progress within 5 minutes ($output)" "$work/stderr"
    kill -INT "$capture_pid"
    status=0
    wait "$capture_pid" || status=$?
    untrack_pid "$capture_pid"
    [ "$status" -eq 130 ] || fail "exit $status, not 130, after Ctrl-C ($output)" "$work/stderr"
    grep -q 'interrupted' "$work/stderr" || fail "no word of the interruption" "$work/stderr"
    [ -z "$(find "$work" -name '*.partial')" ] || fail "a temporary was left after Ctrl-C ($output)"
    [ ! -s "$work/out.mkv" ] || fail "Ctrl-C changed the existing file"
    rm -f "$work/out.mkv"
    [ ! -e "$work/out" ] || fail "Ctrl-C left the folder ($output)"
done
set +m

capture --help | grep -q '^usage: omra-capture' || fail "--help prints the usage"
pass "omra-capture writes frames and refuses bad input, errors and Ctrl-C cleanly"
