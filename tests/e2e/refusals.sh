# shellcheck shell=bash
# Checks that a command-line tool refuses bad input cleanly. Source it after lib.sh and set
# REFUSING_TOOL (the command, an array), REFUSING_TOOL_NAME (as it names itself in messages) and
# REFUSAL_WORK (a folder in which no file named out* may be left behind).

# Expects a refusal of the arguments: exit CODE, "NAME: EXPECTED" on stderr (usage errors add
# the usage after it, other errors say one line), nothing on stdout, no output left behind.
expect_refusal() {
    local code=$1 expected=$2 status=0
    shift 2
    local stdout="$REFUSAL_WORK/refusal.stdout" stderr="$REFUSAL_WORK/refusal.stderr"
    "${REFUSING_TOOL[@]}" "$@" >"$stdout" 2>"$stderr" || status=$?
    [ "$status" -eq "$code" ] || fail "exit $status, not $code, for: $*" "$stderr"
    grep -qF -- "$REFUSING_TOOL_NAME: $expected" "$stderr" || fail "expected '$expected' for: $*" "$stderr"
    if [ "$code" -eq 1 ]; then
        [ "$(wc -l <"$stderr")" -eq 1 ] || fail "not one line for: $*" "$stderr"
    else
        grep -q "^usage: $REFUSING_TOOL_NAME" "$stderr" || fail "no usage after a usage error: $*"
    fi
    [ ! -s "$stdout" ] || fail "output on stdout for: $*"
    local left
    left=$(find "$REFUSAL_WORK" -name 'out*')
    [ -z "$left" ] || fail "output left behind for: $*: $left"
}

# expect_refusal for each case "CODE|EXPECTED|ARGUMENTS", the arguments split at blanks.
expect_refusals() {
    local refusal_case code expected words
    for refusal_case in "$@"; do
        IFS='|' read -r code expected words <<<"$refusal_case"
        # shellcheck disable=SC2086  # the words are split on purpose
        expect_refusal "$code" "$expected" $words
    done
}
