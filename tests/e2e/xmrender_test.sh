#!/usr/bin/env bash
# xmrender from the command line: deterministic renders of the length asked for, the module's
# facts with --info, a deterministic per-tick trace, and one clear line and a non-zero exit for
# files it cannot use, without leaving a half-written WAV behind.
set -euo pipefail
tool=$1
module=$2

# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
work=$(mktemp -d)
remove_work() { rm -rf "$work"; }
E2E_CLEANUP_HOOKS+=(remove_work)

"$tool" --seconds 2.5 "$module" "$work/a.wav" 2>/dev/null || fail "rendering $module"
"$tool" --seconds 2.5 "$module" "$work/b.wav" 2>/dev/null || fail "rendering $module again"
# 2.5 s at 44100 Hz, 4 bytes a frame, behind the 44-byte header.
[ "$(stat -c %s "$work/a.wav")" -eq $((44 + 110250 * 4)) ] || fail "a 2.5 s render has the wrong size"
[ "$(head -c 4 "$work/a.wav")" = RIFF ] || fail "the render is not a RIFF file"
cmp -s "$work/a.wav" "$work/b.wav" || fail "two renders of the same module differ"
# Its sound alone, wrapped again, is the same file.
tail -c +45 "$work/a.wav" >"$work/a.pcm"
"$tool" --pcm "$work/a.pcm" "$work/c.wav" || fail "--pcm"
cmp -s "$work/a.wav" "$work/c.wav" || fail "--pcm does not write the render's WAV header"

# The trace: the same for the same module, one line per channel per tick after its title line.
"$tool" --seconds 2.5 --trace "$work/a.trace" "$module" "$work/t.wav" 2>/dev/null || fail "--trace"
"$tool" --seconds 2.5 --trace "$work/b.trace" "$module" "$work/t.wav" 2>/dev/null || fail "--trace again"
cmp -s "$work/a.trace" "$work/b.trace" || fail "two traces of the same module differ"
cmp -s "$work/a.wav" "$work/t.wav" || fail "tracing changes what is rendered"
channels=$("$tool" --info "$module" | sed -n 's/^channels: //p')
first_ticks=$(grep -c ' tick=0 ' "$work/a.trace" || true)
[ "$(grep -c '^order=' "$work/a.trace")" -eq "$(($(wc -l <"$work/a.trace") - 1))" ] ||
    fail "a trace line is not a channel's tick"
[ $((first_ticks % channels)) -eq 0 ] && [ "$first_ticks" -gt 0 ] ||
    fail "row ticks do not have one line for each of the $channels channels"
grep -q '^order=0 pattern=[0-9]* row=0 tick=0 .* channel=0 note=' "$work/a.trace" ||
    fail "the trace does not start at order 0, row 0"

# Channels and length. Silencing is at the mixer, so every stem has the mix's timing: a stem is
# what --solo gives, and the stems add up to the mix within the stems' and the mix's rounding,
# half a step each: floor((channels + 1) / 2), wherever the mix does not clip.
"$tool" --seconds 20 --stems "$work/stems" "$module" 2>/dev/null || fail "--stems"
"$tool" --seconds 20 --solo 1 "$module" "$work/solo.wav" 2>/dev/null || fail "--solo 1"
cmp -s "$work/solo.wav" "$work/stems/channel-01.wav" || fail "--solo 1 is not the first stem"
cmp -s <(tail -c +45 "$work/a.wav") <(tail -c +45 "$work/stems/mix.wav" | head -c $((110250 * 4))) ||
    fail "the stems' mix.wav is not the render"
python3 - "$work/stems" "$channels" <<'PY' ||
import array, glob, sys
def pcm(path):
    return array.array("h", open(path, "rb").read()[44:])
mix = pcm(sys.argv[1] + "/mix.wav")
stems = [pcm(path) for path in sorted(glob.glob(sys.argv[1] + "/channel-*.wav"))]
bound = (int(sys.argv[2]) + 1) // 2
assert len(stems) >= 2 and all(len(stem) == len(mix) for stem in stems), "stems missing"
worst = max(abs(sum(stem[i] for stem in stems) - mix[i]) for i in range(len(mix))
            if -32768 < mix[i] < 32767)
assert worst <= bound, f"stems differ from the mix by {worst}, more than {bound}"
PY
    fail "the stems do not add up to the mix"
"$tool" --seconds 20 --mute 1 "$module" "$work/mute.wav" 2>/dev/null || fail "--mute 1"
cmp -s "$work/mute.wav" "$work/stems/mix.wav" && fail "--mute 1 changes nothing"
"$tool" --seconds 20 --fade 2 "$module" "$work/fade.wav" 2>/dev/null || fail "--fade"
cmp -s -n $((44 + 18 * 4 * 44100)) "$work/fade.wav" "$work/stems/mix.wav" ||
    fail "--fade changes more than the last seconds"
[ "$(tail -c 4 "$work/fade.wav" | od -An -td2 | tr -s ' ')" = " 0 0" ] ||
    fail "--fade does not end in silence"
"$tool" --seconds 2 --start 1 "$module" "$work/start.wav" 2>/dev/null || fail "--start"
cmp -s "$work/start.wav" "$work/a.wav" && fail "--start 1 starts at the beginning"

# Live through the intro's sound path, into SDL's disk driver: the sound is the render's, after
# the silence the driver writes while the device waits to start, and may run on a little; the
# last status line shows the row the trace has at the time it shows.
"$tool" --seconds 3 --trace "$work/play.trace" "$module" "$work/play.wav" 2>/dev/null ||
    fail "rendering 3 s"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/play.raw" \
    "$tool" --play --seconds 3 "$module" </dev/null 2>"$work/play.log" ||
    fail "--play with the disk driver: $(cat "$work/play.log")"
python3 - "$work" <<'PY' || fail "--play does not sound as the render, or shows another row"
import re, sys
work = sys.argv[1]
def sound(data):
    start = next(i for i in range(0, len(data), 4) if data[i:i + 4] != bytes(4))
    return data[start:]
rendered = sound(open(work + "/play.wav", "rb").read()[44:])
played = sound(open(work + "/play.raw", "rb").read())
assert played[:len(rendered)] == rendered, "the played sound differs from the render"
shown = re.match(r"(\d+):(\d+\.\d+)  order (\d+)/\d+  pattern \d+  row (\d+)",
                 open(work + "/play.log").read().splitlines()[-1])
time = int(shown[1]) * 60 + float(shown[2])
order, row = int(shown[3]), int(shown[4])
frame, ticks = 0, []
for line in open(work + "/play.trace"):
    if " channel=0 " in line:
        fields = dict(re.findall(r"(\w+)=(\S+)", line.split(" channel=")[0]))
        ticks.append((frame, int(fields["order"]), int(fields["row"])))
        frame += 110250 // int(fields["bpm"])
def heard(seconds):
    return [tick[1:] for tick in ticks if tick[0] <= int(seconds * 44100)][-1]
# The time shown is cut to hundredths.
assert (order, row) in (heard(time), heard(time + 0.01)), f"shows {order}/{row} at {time}"
PY
status=0
SDL_AUDIODRIVER=none-such "$tool" --play "$module" </dev/null 2>"$work/play.err" || status=$?
[ "$status" -ne 0 ] && [ "$(wc -l <"$work/play.err")" -eq 1 ] &&
    grep -q '^xmrender: no sound device: ' "$work/play.err" ||
    fail "--play without a sound device: exit $status, $(cat "$work/play.err")"
# From a terminal: right goes to the next order at once, and q and Ctrl-C leave the terminal
# as it was.
python3 - "$tool" "$module" "$work/keys.raw" <<'PY' || fail "--play from a terminal"
import fcntl, os, pty, select, subprocess, sys, termios, time
tool, module, raw = sys.argv[1:]
def play(keys):
    master, terminal = pty.openpty()
    before = termios.tcgetattr(terminal)
    def controlled():
        os.setsid()
        fcntl.ioctl(0, termios.TIOCSCTTY, 0)
    run = subprocess.Popen([tool, "--play", module], stdin=terminal, stdout=terminal,
                           stderr=terminal, preexec_fn=controlled,
                           env=dict(os.environ, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=raw))
    shown = b""
    for key in [b""] + keys:
        os.write(master, key)
        end = time.time() + 1
        while time.time() < end:
            if select.select([master], [], [], 0.05)[0]:
                shown += os.read(master, 65536)
    status = run.wait(timeout=10)
    assert termios.tcgetattr(terminal) == before, f"the terminal stays changed after {keys}"
    return status, shown.decode(errors="replace")
status, shown = play([b"\x1b[C", b"q"])
assert status == 0 and "order 1/" in shown, f"right and q: exit {status}, {shown[-200:]!r}"
status, _ = play([b"\x03"])
assert status == 130, f"Ctrl-C: exit {status}"
PY

# The player's oddities the tune meets, one line a place, and a summary.
"$tool" --check "$module" >"$work/check" || fail "--check"
tail -n 1 "$work/check" | grep -Eq ": ([0-9]+ places? where this player differs|no oddities met)" ||
    fail "--check ends without its summary"
[ "$(grep -cEv '^(order [0-9]+ row [0-9]+ channel [0-9]+|instrument [0-9]+): ' "$work/check")" -eq 1 ] ||
    fail "--check writes a line that is neither a place nor the summary"

"$tool" --info "$module" >"$work/info" || fail "--info"
for fact in channels patterns instruments samples "song length" "restart position" speed bpm \
    "frequency table"; do
    grep -q "^$fact: " "$work/info" || fail "--info does not print '$fact'"
done

# shellcheck source=tests/e2e/refusals.sh
source "$(dirname "${BASH_SOURCE[0]}")/refusals.sh"
REFUSING_TOOL=("$tool")
REFUSING_TOOL_NAME=xmrender
REFUSAL_WORK=$work

: >"$work/empty.xm"
head -c 10 "$module" >"$work/cut.xm"
head -c 100 "$module" >"$work/header-cut.xm"
head -c $(($(stat -c %s "$module") - 1)) "$module" >"$work/end-cut.xm"
printf 'Extended Module: but short' >"$work/header-only.xm"
cp "$module" "$work/wide.xm"
printf '\x21' | dd of="$work/wide.xm" bs=1 seek=68 conv=notrunc status=none
: >"$work/a-file"
mkfifo "$work/pipe"
# Columns: exit code, expected message, arguments.
refusal_cases=(
    "1|$work/none.xm: No such file|$work/none.xm $work/out.wav"
    "1|$work: is a directory|$work $work/out.wav"
    "1|$work/empty.xm: empty file|$work/empty.xm $work/out.wav"
    "1|$work/cut.xm: not an XM module|$work/cut.xm $work/out.wav"
    "1|$work/header-only.xm: truncated: it ends inside the module header|$work/header-only.xm $work/out.wav"
    "1|$work/header-cut.xm: truncated: it ends inside the module header|$work/header-cut.xm $work/out.wav"
    "1|$work/end-cut.xm: truncated: it ends inside instrument|$work/end-cut.xm $work/out.wav"
    "1|$work/end-cut.xm: truncated|--info $work/end-cut.xm"
    "1|$work/end-cut.xm: truncated|--check $work/end-cut.xm"
    "1|$work/wide.xm: 33 channels; the player plays at most 32|$work/wide.xm $work/out.wav"
    "1|$work/no-such-folder/out.wav: No such file or directory|$module $work/no-such-folder/out.wav"
    "1|$work/a-file/out.wav: Not a directory|$module $work/a-file/out.wav"
    "1|$work: is a directory|$module $work"
    "1|$work/pipe: not a regular file|--seconds 1 $module $work/pipe"
    "1|$work/no-such-folder/out.trace: No such file or directory|--trace $work/no-such-folder/out.trace $module $work/out.wav"
    "2|need IN.xm and OUT.wav|$module"
    "2|--info takes one module|--info"
    "2|--check takes one module|--check $module $work/out.wav"
    "2|unknown option --bogus|--bogus $module $work/out.wav"
    "2|--seconds takes a number|--seconds -1 $module $work/out.wav"
    "2|--seconds takes a number of seconds from 0 to 24347,|--seconds 24348 $module $work/out.wav"
    "2|--trace needs a file name|$module $work/out.wav --trace"
    "2|no channel $((channels + 1)): the module has $channels channels|--solo 1,$((channels + 1)) $module $work/out.wav"
    "2|--mute takes channels from 1 to 32 like 1,3-5, not '2-1'|--mute 2-1 $module $work/out.wav"
    "2|--solo takes channels from 1 to 32 like 1,3-5, not '1,'|--solo 1, $module $work/out.wav"
    "2|--start 200: the song has|--start 200 $module $work/out.wav"
    "2|--loops takes a number of passes from 1|--loops 0 $module $work/out.wav"
    "2|--stems DIR takes one module|--stems $work/out-stems $module $work/out.wav"
    "2|--play takes one module|--play $module $work/out.wav"
    "2|--play plays; --stems, --trace and --fade are for renders|--play --fade 1 $module"
)
expect_refusals "${refusal_cases[@]}"
[ -p "$work/pipe" ] || fail "a refused output was replaced"

# A render that fails leaves an existing WAV as it was.
cp "$work/a.wav" "$work/keep.wav"
"$tool" "$work/end-cut.xm" "$work/keep.wav" 2>/dev/null && fail "rendered a cut module"
cmp -s "$work/a.wav" "$work/keep.wav" || fail "a failed run changed the existing WAV"

# Terminated mid-render, it leaves neither the outputs nor their temporaries, and ends as the
# signal ends a program.
"$tool" --seconds 20000 --trace "$work/out-killed.trace" "$module" "$work/out-killed.wav" \
    2>/dev/null &
render=$!
retry_until 100 test -e "$work/out-killed.wav.partial" || fail "no temporary WAV while rendering"
kill -TERM "$render"
status=0
wait "$render" || status=$?
[ "$status" -eq $((128 + 15)) ] || fail "exit $status after SIGTERM, not 143"
[ -z "$(find "$work" -name 'out-killed*')" ] || fail "left behind after SIGTERM: $(find "$work" -name 'out-killed*')"

"$tool" --help | grep -q '^usage: xmrender' || fail "--help prints the usage"
echo "PASS: xmrender renders deterministically and refuses bad input cleanly"
