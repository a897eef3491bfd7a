#!/usr/bin/env bash
# Checks from outside, over AT-SPI, that a screen reader is told of each new result: starts
# the program under Xvfb with its own session bus and accessibility bus, presses "Berechnen"
# through AT-SPI and looks for the notification event that Orca speaks.
#
#   scripts/check-announcement.sh [PROGRAM]   (default: build/src/app/Davudeviredidara)
#
# Needs xvfb, dbus-x11, at-spi2-core and python3-pyatspi: scripts/install-deps.sh
# screen-reader-check installs them. Takes about 4 seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:-$here/../build/src/app/Davudeviredidara}")

for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
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
cleanup() {
    [ -n "$bus" ] && kill "$bus" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 LANG=de_DE.UTF-8 LC_ALL=
/usr/bin/python3 "$here/atspi-announcement.py" "$program"
INNER
