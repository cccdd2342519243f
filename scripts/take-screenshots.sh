#!/usr/bin/env bash
# Takes the README's pictures of each window: runs the screenshot program on a private X display
# (Xvfb on a display number it picks itself) against a scratch copy of the sample settings files.
# Usage: take-screenshots.sh SCREENSHOT-PROGRAM OUTPUT-FOLDER
set -euo pipefail

program=$(realpath "$1")
output=$2
root=$(cd "$(dirname "$0")/.." && pwd)
command -v Xvfb >/dev/null || { echo "Xvfb not found (Debian package xvfb)" >&2; exit 1; }

scratch=$(mktemp -d)
xvfb=
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    [ -z "$xvfb" ] || wait "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# Xvfb writes the display number it chose to the descriptor given to -displayfd.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
display=":$(head -n 1 "$scratch/display")"

# A runtime folder of its own, so a copy of the program the user is running does not stop it.
mkdir -m 700 "$scratch/runtime"
prefix=$("$root/scripts/demo-system.sh" "$scratch/wine")
DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" WINEPREFIX="$prefix" \
    "$program" "$output"
