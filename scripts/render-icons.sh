#!/usr/bin/env bash
# Renders the program's icon (data/icons/quillon-tool.svg) as PNGs at the usual hicolor sizes,
# into data/icons/<size>x<size>/. The PNGs are committed; run this after changing the drawing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found (Debian package librsvg2-bin)" >&2; exit 1; }
for size in 16 24 32 48 64 128 256; do
    mkdir -p "$root/data/icons/${size}x${size}"
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$root/data/icons/${size}x${size}/quillon-tool.png" "$root/data/icons/quillon-tool.svg"
done
