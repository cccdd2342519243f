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

. "$root/scripts/private-display.sh"
start_private_display "$scratch"

# A runtime folder of its own, so a copy of the program the user is running does not stop it.
mkdir -m 700 "$scratch/runtime"
prefix=$("$root/scripts/demo-system.sh" "$scratch/wine")
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" WINEPREFIX="$prefix" \
    "$program" "$output"
