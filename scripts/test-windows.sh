#!/usr/bin/env bash
# Runs the tests of the Windows build (preset mingw, already built) under Wine, in a scratch
# prefix under build/mingw that is set up on first use. Extra arguments go to ctest.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# The same environment as the mingw test preset: no dialogs asking to install Mono or Gecko.
export WINEPREFIX="$root/build/mingw/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
log="$root/build/mingw/wine-setup.log"

wineserver -k >/dev/null 2>&1 || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Setting up the Wine prefix $WINEPREFIX"
    wineboot -i </dev/null >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
    wineserver -w
fi
# One wine server and one set of Wine's own background processes for the whole run, started
# here: otherwise every test starts them anew and ctest waits for them to go away.
wineserver -p </dev/null >>"$log" 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineboot </dev/null >>"$log" 2>&1
ctest --preset mingw "$@"
