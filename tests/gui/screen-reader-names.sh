#!/usr/bin/env bash
# Reads the real program's windows as a screen reader does: on a private X display (Xvfb), with
# a session bus of its own (dbus-run-session) that starts the accessibility bus (at-spi2-core),
# the program runs on a scratch copy of the sample settings files and screen_reader_names.py
# reads it through AT-SPI (Debian's python3-pyatspi). Everything goes with the test's own folder.
# Usage: screen-reader-names.sh PROGRAM
set -euo pipefail

program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
python=/usr/bin/python3 # Debian's, which python3-pyatspi installs for
for need in Xvfb dbus-run-session setsid "$python"; do
    command -v "$need" >/dev/null || { echo "$need not found (make test installs it)" >&2; exit 1; }
done
"$python" -c 'import pyatspi' ||
    { echo "pyatspi not found (Debian package python3-pyatspi)" >&2; exit 1; }

scratch=$(mktemp -d)
xvfb=
session=
cleanup() {
    # The session's group holds the bus, the accessibility bus and registry, and the program.
    [ -z "$session" ] || kill -- "-$session" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

. "$root/scripts/private-display.sh"
start_private_display "$scratch"

# A home and a runtime folder of its own: the single-instance lock and the accessibility bus's
# socket go there, so a copy of the program the user is running is neither seen nor disturbed.
mkdir -m 700 "$scratch/runtime" "$scratch/home"
prefix=$("$root/scripts/demo-system.sh" "$scratch/wine")
# The accessibility bus is the one the session below starts, never a desktop's that this runs in.
unset AT_SPI_BUS_ADDRESS
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime" WINEPREFIX="$prefix" \
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# In a process group of its own, so that the clean-up ends whatever the session started.
setsid dbus-run-session -- "$python" "$here/screen_reader_names.py" "$program" \
    2> >(grep -v 'Failed to set fd limit' >&2) &
session=$!
status=0
wait "$session" || status=$?
exit "$status"
