#!/usr/bin/env bash
# Checks the zip for Windows players as a player gets it: unpacked into a folder of its own, far
# from the build and from any Qt, its program needs no DLL that Windows itself lacks, and it
# starts (under Wine, in a scratch prefix, on a private X display) and shows its main menu.
set -euo pipefail

fail() { echo "check-windows-zip: $*" >&2; exit 1; }
zip=${1:?"the zip to check"}
[ -f "$zip" ] || fail "$zip does not exist"
zip=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
# Wine's own copies of the DLLs that come with Windows.
system_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
[ -d "$system_dlls" ] || fail "Wine's 64-bit DLLs are not in $system_dlls (run: make deps-windows)"

scratch=$(mktemp -d)
xvfb=
stop() {
    WINEPREFIX="$scratch/wine" wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; }
    rm -rf "$scratch"
}
trap stop EXIT

mkdir "$scratch/player"
(cd "$scratch/player" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
exe=$(find "$scratch/player" -name quillon-tool.exe)
[ -n "$exe" ] || fail "the zip holds no quillon-tool.exe"
folder=$(dirname "$exe")
for file in README.txt LICENSE.txt licences/qt/LGPL-3.0-only.txt licences/qt/copyright.txt \
    licences/qt/SOURCE.txt; do
    [ -s "$folder/$file" ] || fail "the zip lacks $file beside the program"
done

headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" ||
    fail "quillon-tool.exe is not a windowed program: Windows would open a console beside it"
# Only DLLs that Windows has: no Qt, no compiler runtime (libstdc++, libgcc, winpthread). An
# api-ms-win-* name is one of Windows' own API sets, which its loader maps onto system DLLs.
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ -n "$imports" ] || fail "cannot read the DLL imports of $exe"
for dll in $imports; do
    lower=$(echo "$dll" | tr '[:upper:]' '[:lower:]')
    [[ $lower == api-ms-win-* ]] && continue
    [ -f "$system_dlls/$lower" ] && [[ $lower != qt* && $lower != lib* ]] ||
        fail "quillon-tool.exe needs $dll, which Windows does not have"
done
echo "check-windows-zip: quillon-tool.exe imports only system DLLs:" $imports

# Started from its own folder, in a prefix where nothing else was ever installed.
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$scratch/display" && break
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$scratch/display")"
wineboot -i </dev/null >"$scratch/wine.log" 2>&1 || { cat "$scratch/wine.log" >&2; exit 1; }
(cd "$folder" && exec wine quillon-tool.exe </dev/null >"$scratch/program.log" 2>&1) &
program=$!
# The main menu is the program's window with a caption: the splash has none.
shown=
for _ in $(seq 300); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"Brackens' Quillon Tool\""; then
        shown=yes
        break
    fi
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
[ -n "$shown" ] || { cat "$scratch/program.log" >&2; fail "quillon-tool.exe showed no main menu"; }
echo "check-windows-zip: quillon-tool.exe started from $folder and showed its main menu"
