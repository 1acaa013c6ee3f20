#!/usr/bin/env bash
# Installs what is missing, builds the native intro and runs it. Without a usable display it runs
# on a virtual display for about 20 seconds and leaves a screenshot in out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-packages.sh run
cmake --preset release >/dev/null
cmake --build --preset release

intro=build/release/omra
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$intro"
fi

out="$root/out/run-$(date +%Y%m%d-%H%M%S)"
mkdir -p "$out"
echo "No display found: running the intro on a virtual display for 20 seconds."

# Xvfb picks a free display and writes its number to file descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -s "$out/display" ] && break
    sleep 0.2
done
export DISPLAY=":$(cat "$out/display")"

"$intro" >"$out/intro.log" 2>&1 &
intro_pid=$!
sleep 20
import -window root "$out/screenshot.png"
window=$(xdotool search --name '^Omra$' | head -n 1)
xdotool windowfocus --sync "$window"
xdotool key Escape
status=0
wait "$intro_pid" || status=$?
echo "The intro ended with exit code $status."
echo "Screenshot and logs: $out"
exit "$status"
