#!/usr/bin/env bash
# xmrender from the command line: deterministic renders of the length asked for, the module's
# facts with --info, a deterministic per-tick trace, and one clear line and a non-zero exit for files it cannot use, without
# leaving a half-written WAV behind.
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

"$tool" --info "$module" >"$work/info" || fail "--info"
for fact in channels patterns instruments samples "song length" "restart position" speed bpm \
    "frequency table"; do
    grep -q "^$fact: " "$work/info" || fail "--info does not print '$fact'"
done

# Expects a refusal: exit $1, one stderr line containing $2, no output left.
expect_refusal() {
    local code=$1 expected=$2 status=0
    shift 2
    "$tool" "$@" 2>"$work/stderr" || status=$?
    [ "$status" -eq "$code" ] || fail "exit $status, not $code, for: $*"
    grep -qF -- "$expected" "$work/stderr" || fail "expected '$expected', got: $(cat "$work/stderr")"
    [ -z "$(ls "$work" | grep '^out')" ] || fail "output left behind for: $*"
}

: >"$work/empty.xm"
head -c 10 "$module" >"$work/cut.xm"
printf 'Extended Module: but short' >"$work/header-only.xm"
expect_refusal 1 "No such file" "$work/none.xm" "$work/out.wav"
expect_refusal 1 "not a module the player accepts" "$work/empty.xm" "$work/out.wav"
expect_refusal 1 "not a module the player accepts" "$work/cut.xm" "$work/out.wav"
expect_refusal 1 "is a directory" "$work" "$work/out.wav"
expect_refusal 1 "$work/no-such-folder/out.wav" "$module" "$work/no-such-folder/out.wav"
expect_refusal 2 "need IN.xm and OUT.wav" "$module"
expect_refusal 2 "--seconds takes a number" --seconds -1 "$module" "$work/out.wav"
expect_refusal 2 "--trace needs a file name" "$module" "$work/out.wav" --trace
# A truncated module that still carries its identification loads with zeros for what is missing.
"$tool" --seconds 0.1 "$work/header-only.xm" "$work/short.wav" 2>/dev/null ||
    fail "a truncated module is refused"

"$tool" --help | grep -q '^usage: xmrender' || fail "--help prints the usage"
echo "PASS: xmrender renders deterministically and refuses bad input cleanly"
