#!/usr/bin/env bash
# Every program of the project, the intro included, answers the same command-line conventions:
# --help prints the usage on stdout with status 0; --version and -V print "NAME VERSION" with
# status 0; an unknown option prints "NAME: unknown option ..." and the usage on stderr with
# status 2. None of them writes a file, let alone one named after the option.
#   command_line_conventions_test.sh VERSION PROGRAM...
set -euo pipefail
version=$1
shift

# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
work=$(mktemp -d)
remove_work() { rm -rf "$work"; }
E2E_CLEANUP_HOOKS+=(remove_work)
mkdir "$work/run"

# Runs PROGRAM with the words in an empty folder; sets status, and leaves its output in $work.
run_in_empty_folder() {
    status=0
    (cd "$work/run" && "$@") >"$work/stdout" 2>"$work/stderr" || status=$?
    local left
    left=$(ls -A "$work/run")
    [ -z "$left" ] || fail "$* wrote: $left"
}

for program in "$@"; do
    name=$(basename "$program")
    run_in_empty_folder "$program" --help
    [ "$status" -eq 0 ] || fail "$name --help: status $status" "$work/stderr"
    grep -q "^usage: $name" "$work/stdout" || fail "$name --help: no usage on stdout" "$work/stdout"
    [ ! -s "$work/stderr" ] || fail "$name --help: said something on stderr" "$work/stderr"
    for word in --version -V; do
        run_in_empty_folder "$program" "$word"
        [ "$status" -eq 0 ] || fail "$name $word: status $status" "$work/stderr"
        [ "$(cat "$work/stdout")" = "$name $version" ] ||
            fail "$name $word: not '$name $version'" "$work/stdout"
    done
    run_in_empty_folder "$program" --no-such-option
    [ "$status" -eq 2 ] || fail "$name --no-such-option: status $status" "$work/stderr"
    [ "$(head -n 1 "$work/stderr")" = "$name: unknown option --no-such-option" ] ||
        fail "$name --no-such-option: no line naming the option" "$work/stderr"
    grep -q "^usage: $name" "$work/stderr" || fail "$name --no-such-option: no usage on stderr"
    [ ! -s "$work/stdout" ] || fail "$name --no-such-option: said something on stdout" "$work/stdout"
done
pass "$# programs answer --help, --version and -V, and refuse an unknown option alike"
