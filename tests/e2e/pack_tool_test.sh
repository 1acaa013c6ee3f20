#!/usr/bin/env bash
# omra-pack from the command line: a good pack from the project's sources, one clear line and a
# non-zero exit for bad input, and never a half-written output.
set -euo pipefail
tool=$1
data=$2

# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
work=$(mktemp -d)
remove_work() { rm -rf "$work"; }
E2E_CLEANUP_HOOKS+=(remove_work)

sources=(--logo "$data/logo.tga" --module "$data/module.xm" --scroller "$data/scroller.txt"
    --font "$data/font.tga")

# Expects the tool to refuse: exit 1, one stderr line containing $1, no output file left.
expect_refusal() {
    local expected=$1
    shift
    local status=0
    "$tool" "$@" --output "$work/bad.bin" 2>"$work/stderr" || status=$?
    [ "$status" -eq 1 ] || fail "exit $status, not 1, for: $*"
    [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "more than one line for: $*: $(cat "$work/stderr")"
    grep -qF -- "$expected" "$work/stderr" || fail "expected '$expected', got: $(cat "$work/stderr")"
    [ ! -e "$work/bad.bin" ] && [ ! -e "$work/bad.bin.partial" ] || fail "output left behind for: $*"
}

"$tool" "${sources[@]}" --page "$data/pages/1-title.txt" --output "$work/pack.bin" ||
    fail "a pack from the project's sources"
[ -s "$work/pack.bin" ] || fail "the pack is empty"

"$tool" --help | grep -q '^usage: omra-pack' || fail "--help prints the usage"

status=0
"$tool" --logo "$data/logo.tga" 2>"$work/stderr" || status=$?
[ "$status" -eq 2 ] && grep -q 'missing --module' "$work/stderr" || fail "missing options: exit 2"

printf 'ok\n\tindented\n' >"$work/tab.txt"
expect_refusal "tab.txt:2:1: tab" "${sources[@]}" --page "$work/tab.txt"
printf 'snow \xe2\x98\x83\n' >"$work/snow.txt"
expect_refusal "snow.txt:1:6: character U+2603" "${sources[@]}" --page "$work/snow.txt"
expect_refusal "$work/none.txt: No such file" "${sources[@]}" --page "$work/none.txt"
: >"$work/empty.xm"
expect_refusal "module: not an XM module" --logo "$data/logo.tga" --module "$work/empty.xm" \
    --scroller "$data/scroller.txt" --font "$data/font.tga"
head -c 1000 "$data/font.tga" >"$work/cut.tga"
expect_refusal "font: not a TGA image" --logo "$data/logo.tga" --module "$data/module.xm" \
    --scroller "$data/scroller.txt" --font "$work/cut.tga"
expect_refusal "is a directory" --logo "$data" --module "$data/module.xm" \
    --scroller "$data/scroller.txt" --font "$data/font.tga"

# A failed run leaves an existing pack as it was.
cp "$work/pack.bin" "$work/bad.bin"
"$tool" "${sources[@]}" --page "$work/tab.txt" --output "$work/bad.bin" 2>/dev/null && fail "accepted a tab"
cmp -s "$work/pack.bin" "$work/bad.bin" || fail "a failed run changed the existing pack"

echo "PASS: omra-pack builds good packs and refuses bad input cleanly"
