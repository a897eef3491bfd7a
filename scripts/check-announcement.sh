#!/usr/bin/env bash
# Checks from outside, over AT-SPI, that a screen reader is told what a sighted user sees: starts
# the program under Xvfb with a window manager, its own session bus and accessibility bus,
# presses "Berechnen", asks the grid for a row's inputs, steps through the Moody chart and
# closes it, and looks each time for the events that Orca speaks (atspi-announcement.py).
#
#   scripts/check-announcement.sh [PROGRAM]   (default: build/src/app/Davudeviredidara)
#
# Needs xvfb, openbox, xdotool, dbus-x11, at-spi2-core and python3-pyatspi:
# scripts/install-deps.sh screen-reader-check installs them. Takes about 15 seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:-$here/../build/src/app/Davudeviredidara}")

for tool in Xvfb openbox xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
/usr/bin/python3 -c 'import pyatspi' || { echo "missing: python3-pyatspi" >&2; exit 2; }

exec dbus-run-session -- bash -s "$program" "$here" <<'INNER'
set -euo pipefail
program=$1
here=$2
display_file=$(mktemp)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$display_file" 2>/dev/null &
xvfb=$!
bus=""
wm=""
cleanup() {
    [ -n "$bus" ] && kill "$bus" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"
# Keys go to the active window, and only a window manager makes one active.
openbox >/dev/null 2>&1 &
wm=$!
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 LANG=de_DE.UTF-8 LC_ALL=
/usr/bin/python3 "$here/atspi-announcement.py" "$program"
INNER
