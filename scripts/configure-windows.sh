#!/usr/bin/env bash
# Configures the windows preset against the Qt for Windows that scripts/build-windows-qt.sh
# builds, or finds in its cache. CMake reads a toolchain only when a build folder is first
# configured, so a folder made against another build of that Qt is configured afresh.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
QUILLON_QT_MINGW=$("$root/scripts/build-windows-qt.sh")
export QUILLON_QT_MINGW
fresh=()
cache="$root/build/windows/CMakeCache.txt"
if [ -f "$cache" ] && ! grep -qF "$QUILLON_QT_MINGW/" "$cache"; then
    fresh=(--fresh)
fi
cd "$root"
cmake --preset windows "${fresh[@]}"
