#!/usr/bin/env bash
# xmrender from the command line: deterministic renders of the length asked for, the module's
# facts with --info, and one clear line and a non-zero exit for files it cannot use, without
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
# A truncated module that still carries its identification loads with zeros for what is missing.
"$tool" --seconds 0.1 "$work/header-only.xm" "$work/short.wav" 2>/dev/null ||
    fail "a truncated module is refused"

"$tool" --help | grep -q '^usage: xmrender' || fail "--help prints the usage"
echo "PASS: xmrender renders deterministically and refuses bad input cleanly"
