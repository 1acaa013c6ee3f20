#!/usr/bin/env bash
# The Linux intro with no display to open its window on: one line on stderr that says so and
# points at the run script, and a failure status that is not an abort.
#   intro_without_display_test.sh OMRA
set -euo pipefail
intro=$1

# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
work=$(mktemp -d)
remove_work() { rm -rf "$work"; }
E2E_CLEANUP_HOOKS+=(remove_work)

status=0
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
    timeout 60 "$intro" >"$work/stdout" 2>"$work/stderr" || status=$?
[ "$status" -ne 0 ] || fail "the intro ran without a display"
[ "$status" -ne 134 ] || fail "the intro aborted (status 134)" "$work/stderr"
[ "$status" -ne 124 ] || fail "the intro was still running after a minute" "$work/stderr"
[ "$(grep -c '^omra: ' "$work/stderr")" -eq 1 ] || fail "not one 'omra:' line" "$work/stderr"
grep -q '^omra: no display.*scripts/run-intro.sh' "$work/stderr" ||
    fail "the line does not say there is no display and name the run script" "$work/stderr"
pass "without a display the intro says so in one line and ends with status $status"
