# shellcheck shell=bash
# Shared pieces of the window tests: a private X server, finding and driving the
# intro's window, and cleanup that touches only what the calling script started.
# Source it from a script that runs under `set -euo pipefail`.

# Processes this script started and has not yet reaped; cleanup kills only these.
E2E_PIDS=()
# Functions to run at exit before those processes are killed (e.g. stopping a wineserver).
E2E_CLEANUP_HOOKS=()
# Set by wait_for_exit and wait_for_window.
E2E_EXIT_CODE=
E2E_WINDOW=
# Progress lines carry the seconds since the script started.
E2E_START_SECONDS=$SECONDS

note() {
    printf '... [%4ds] %s\n' "$((SECONDS - E2E_START_SECONDS))" "$*"
}

pass() {
    echo "PASS: $*"
}

# What the run's summary repeats under the test's suite (tests/suite_summary.py): one line each.
summary() {
    printf 'SUMMARY: %s\n' "$@"
}

# Prints any given log files first, so the one FAIL line is the last thing said.
fail() {
    local message=$1
    shift
    local log
    for log in "$@"; do
        if [[ -s "$log" ]]; then
            echo "--- $log" >&2
            cat "$log" >&2
            echo "---" >&2
        fi
    done
    echo "FAIL: $message" >&2
    exit 1
}

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || fail "required tool '$tool' is not installed"
    done
}

track_pid() {
    E2E_PIDS+=("$1")
}

untrack_pid() {
    local kept=() pid
    for pid in "${E2E_PIDS[@]}"; do
        [[ "$pid" == "$1" ]] || kept+=("$pid")
    done
    E2E_PIDS=("${kept[@]}")
}

# A child that has exited but is not yet waited for is a zombie, which `kill -0` still sees.
is_running() {
    local state
    kill -0 "$1" 2>/dev/null || return 1
    state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
    [[ "$state" != "Z" ]]
}

# Runs COMMAND every tenth of a second until it succeeds, TRIES times at most; fails when it
# never does.
retry_until() {
    local tries=$1
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

e2e_cleanup() {
    local status=$? hook pid i
    set +e
    for hook in "${E2E_CLEANUP_HOOKS[@]}"; do
        "$hook"
    done
    # Newest first: the programs before the X server they draw on.
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${E2E_PIDS[i]}
        if is_running "$pid"; then
            kill "$pid" 2>/dev/null
            for _ in 1 2 3 4 5 6 7 8 9 10; do
                is_running "$pid" || break
                sleep 0.2
            done
            is_running "$pid" && kill -9 "$pid" 2>/dev/null
        fi
        wait "$pid" 2>/dev/null
    done
    exit "$status"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

# A fresh X server on the first free display; exports DISPLAY.
start_xvfb() {
    local display_file="$1/xvfb.display" log="$1/xvfb.log" display pid
    : >"$display_file"
    # Xvfb writes the display number it picked, and a newline, to the fd once it accepts clients.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$log" 2>&1 &
    pid=$!
    track_pid "$pid"
    for _ in $(seq 100); do
        if grep -q '^[0-9][0-9]*$' "$display_file"; then
            display=$(head -n 1 "$display_file")
            export DISPLAY=":$display"
            note "Xvfb (pid $pid) is up on display $DISPLAY"
            return 0
        fi
        is_running "$pid" || fail "Xvfb exited before it reported a display" "$log"
        sleep 0.1
    done
    fail "Xvfb reported no display within 10 s" "$log"
}

# Sets E2E_WINDOW to the first visible window titled exactly TITLE, waiting up to SECONDS.
# Fails early if PID (the program expected to own the window) dies meanwhile.
# LOGs are shown on failure.
# Not meant for $(...): it must be able to reap PID, which a subshell cannot.
wait_for_window() {
    local title=$1 seconds=$2 pid=$3 deadline id
    shift 3
    deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        # Short slices so a crashed program is reported at once rather than at the timeout.
        id=$(timeout 5 xdotool search --sync --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1) || true
        if [[ -n "$id" ]]; then
            # shellcheck disable=SC2034  # read by the calling script
            E2E_WINDOW=$id
            return 0
        fi
        if ! is_running "$pid"; then
            wait "$pid" && E2E_EXIT_CODE=0 || E2E_EXIT_CODE=$?
            untrack_pid "$pid"
            fail "the program exited with code $E2E_EXIT_CODE before a window titled '$title' appeared" "$@"
        fi
        sleep 0.2
    done
    fail "no visible window titled '$title' within ${seconds} s" "$@"
}

# Gives WINDOW the keyboard focus, then types KEYS (xdotool key syntax) through XTEST,
# so the program sees them as real key presses rather than synthetic sent events.
send_keys() {
    local window=$1
    shift
    timeout 10 xdotool windowfocus --sync "$window" || fail "could not focus window $window"
    # Some programs (Wine) activate their window only after handling the FocusIn event.
    sleep "${E2E_FOCUS_SETTLE:-0.2}"
    timeout 10 xdotool key "$@" || fail "xdotool could not send key(s) $*"
}

# Usage: assert_running PID WHAT [LOG...]
assert_running() {
    local pid=$1 what=$2
    shift 2
    if ! is_running "$pid"; then
        wait "$pid" && E2E_EXIT_CODE=0 || E2E_EXIT_CODE=$?
        untrack_pid "$pid"
        fail "$what: the program is no longer running (exit code $E2E_EXIT_CODE)" "$@"
    fi
}

# Waits up to SECONDS for the child PID to end; its exit code goes to E2E_EXIT_CODE.
# Returns 1 (leaving the process running) on timeout.
wait_for_exit() {
    local pid=$1 seconds=$2 deadline
    deadline=$((SECONDS + seconds))
    while is_running "$pid"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
    wait "$pid" && E2E_EXIT_CODE=0 || E2E_EXIT_CODE=$?
    untrack_pid "$pid"
}

# Usage: assert_exits_with PID SECONDS EXPECTED_CODE WHAT [LOG...]
assert_exits_with() {
    local pid=$1 seconds=$2 expected=$3 what=$4
    shift 4
    wait_for_exit "$pid" "$seconds" || fail "$what: the program was still running ${seconds} s later" "$@"
    [[ "$E2E_EXIT_CODE" == "$expected" ]] || fail "$what: exit code $E2E_EXIT_CODE, expected $expected" "$@"
}

# Saves WINDOW as a PNG and checks the picture is at least MIN_W x MIN_H pixels.
screenshot() {
    local window=$1 file=$2 min_width=$3 min_height=$4 size width height
    timeout 30 import -window "$window" "$file" || fail "could not take a screenshot of window $window"
    size=$(identify -format '%w %h' "$file") || fail "the screenshot $file is not a readable image"
    read -r width height <<<"$size"
    ((width >= min_width && height >= min_height)) ||
        fail "the screenshot is ${width}x${height}, expected at least ${min_width}x${min_height}"
    note "screenshot ${width}x${height}, $(identify -format '%k' "$file") colours: $file"
}

# True where the kernel itself runs 32-bit x86 programs, as 32-bit Wine needs: the 32-bit
# dynamic loader runs, and no binfmt_misc entry hands such programs to an emulator instead.
i386_runs_natively() {
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 && ! grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386
}

# Starts a window manager on the display, so a close request can reach the program the way
# a click on its title bar's close button does. Returns 1 when none is installed.
start_window_manager() {
    local log="$1/openbox.log" pid
    command -v openbox >/dev/null 2>&1 && command -v wmctrl >/dev/null 2>&1 || return 1
    openbox --sm-disable >"$log" 2>&1 &
    pid=$!
    track_pid "$pid"
    for _ in $(seq 100); do
        if wmctrl -m >/dev/null 2>&1; then
            note "openbox (pid $pid) manages display $DISPLAY"
            return 0
        fi
        is_running "$pid" || fail "openbox exited at start" "$log"
        sleep 0.1
    done
    fail "openbox did not announce itself within 10 s" "$log"
}

# Asks the window manager to close the window titled exactly TITLE (_NET_CLOSE_WINDOW);
# it passes that on to the program as a WM_DELETE_WINDOW message, as its close button would.
close_via_window_manager() {
    local title=$1
    for _ in $(seq 100); do
        # Only a window the manager has taken on can be closed through it.
        if wmctrl -l | grep -q " ${title}\$"; then
            wmctrl -F -c "$title" || fail "wmctrl could not ask for window '$title' to close"
            return 0
        fi
        sleep 0.1
    done
    fail "the window manager did not take on window '$title' within 10 s"
}

# The mean colour of a WIDTHxHEIGHT box at X,Y (from the top-left) of an image, as "R G B" in
# 0-255.
region_mean() {
    local file=$1 width=$2 height=$3 x=$4 y=$5
    convert "$file" -crop "${width}x${height}+${x}+${y}" +repage -format \
        '%[fx:round(mean.r*255)] %[fx:round(mean.g*255)] %[fx:round(mean.b*255)]\n' info:
}

# The brightest value any channel reaches in a box, 0-255.
region_max() {
    local file=$1 width=$2 height=$3 x=$4 y=$5
    convert "$file" -crop "${width}x${height}+${x}+${y}" +repage -format '%[fx:round(maxima*255)]\n' info:
}

# Checks that a screenshot of the intro's client area shows its scene, by colours in places
# the scene fixes whatever the moment: the two purple-to-grey bars along the top and bottom
# edges, the dark purple gradient with its scan lines at the left, and a bright logo at the top.
check_scene_colours() {
    local file=$1 width height r g b even odd
    read -r width height < <(identify -format '%w %h\n' "$file")
    # The bars fill the outer 160th of the height: their first two rows at least.
    for y in 0 $((height - 2)); do
        read -r r g b < <(region_mean "$file" "$width" 2 0 "$y")
        ((r >= 120 && r <= 136 && b >= 120 && b <= 136 && g <= 136)) ||
            fail "rows $y-$((y + 1)) of $file are $r,$g,$b on average, not a bar's purple to grey"
    done
    pass "bars along the top and bottom edges"
    # Left of the objects' ring and below the logo, above the scroller: the gradient, red and
    # blue alike, no green but for a few stars, and every other window row at half brightness.
    local top=$((height * 55 / 100)) box=$((height / 8))
    read -r r g b < <(region_mean "$file" 100 "$box" 20 "$top")
    ((r >= 8 && r <= 45 && b >= 8 && b <= 50 && g <= 12 && r - b <= 6 && b - r <= 8)) ||
        fail "the background at 20,$top of $file is $r,$g,$b on average, not the dark purple gradient"
    read -r even _ _ < <(region_mean "$file" 100 1 20 "$top")
    read -r odd _ _ < <(region_mean "$file" 100 1 20 $((top + 1)))
    ((even * 10 <= odd * 6 || odd * 10 <= even * 6)) ||
        fail "rows $top and $((top + 1)) of $file have red $even and $odd: no scan lines"
    # The gradient fades to black towards the top.
    local upper lower
    read -r upper _ _ < <(region_mean "$file" 100 "$box" 20 $((height / 4)))
    read -r lower _ _ < <(region_mean "$file" 100 "$box" 20 $((height * 3 / 4)))
    ((upper + 5 <= lower)) ||
        fail "the background of $file is not darker above (red $upper) than below (red $lower)"
    pass "the gradient background with scan lines"
    # The logo: centred, from a 56th of the height below the top.
    local logo_left=$(((width - 425) / 2 - 16)) logo_top=$((height / 56))
    (($(region_max "$file" 425 81 "$logo_left" "$logo_top") >= 150)) ||
        fail "nothing bright where the logo belongs in $file"
    pass "the logo at the top"
}

# The near-white pixels of a screenshot's middle, where a text page is held: their number and
# the longest horizontal run of them, as "COUNT RUN". The box, from an eighth of the width and a
# fifth of the height in, is clear of the logo, the scroller and the bars; nothing there but the
# page's text is pure white.
page_text_figures() {
    local file=$1 width height
    read -r width height < <(identify -format '%w %h\n' "$file")
    local left=$((width / 8)) top=$((height / 5)) box_width=$((width * 3 / 4)) box_height=$((height * 3 / 5))
    convert "$file" -crop "${box_width}x${box_height}+${left}+${top}" +repage -channel RGB \
        -threshold 92% -separate -evaluate-sequence min -compress none pgm:- |
        awk '{
            for (i = 1; i <= NF; i++) {
                token++
                if (token == 2) width = $i
                if (token <= 4) continue
                if ((token - 5) % width == 0) run = 0
                if ($i > 0) { white++; run++; if (run > longest) longest = run } else run = 0
            }
        } END { print white + 0, longest + 0 }'
}

# Succeeds when a screenshot shows a page of box-drawing text held in the middle: plenty of
# white, and the long unbroken runs that box lines and blocks draw and letters never do.
shows_page_text() {
    local white longest
    read -r white longest < <(page_text_figures "$1")
    note "$1: $white white pixels in the page region, longest run $longest"
    ((white >= 1500 && longest >= 40))
}

# Takes screenshots of WINDOW (at least MIN_W x MIN_H) into FILE, one every ATTEMPT_SECONDS for
# up to ATTEMPTS tries, until one shows a page of box-drawing text.
screenshot_page_text() {
    local window=$1 file=$2 min_width=$3 min_height=$4 attempts=$5 attempt_seconds=$6 attempt
    for ((attempt = 1; attempt <= attempts; attempt++)); do
        screenshot "$window" "$file" "$min_width" "$min_height"
        shows_page_text "$file" && return 0
        sleep "$attempt_seconds"
    done
    fail "no screenshot of $attempts showed a page of box-drawing text in the middle (last: $file)"
}
