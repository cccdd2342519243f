#!/usr/bin/env bash
# Runs the tests of a Windows build under Wine, built already: preset `mingw` (the core's suites)
# or `windows` (the window suites and the program itself). Each preset has a scratch Wine prefix
# under its build folder, set up on first use, and the run has an X display of its own (a
# private Xvfb), so that windows really show. Extra arguments go to ctest.
set -euo pipefail

preset=${1:?"which build: mingw or windows"}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build="$root/build/$preset"
[ -d "$build" ] || { echo "test-windows: $build is not built yet" >&2; exit 1; }
# The same environment as the test presets: no dialogs asking to install Mono or Gecko.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes the ANSI code page from the locale, and the charset of Unix file names too. C.UTF-8,
# which every Debian system has, gives Windows-1252, the usual Western code page, holding neither
# Cyrillic nor Japanese, so that the tests of such folder names show that no name passes through
# it; and UTF-8 file names, without which Wine cannot name such a folder on disk at all. A suite
# that wants another code page sets its own.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
log="$build/wine-setup.log"
# The suites that run in the double-byte Japanese code page (932) ask for ja_JP.UTF-8, which few
# systems have built: it is built here, from the system's own locale sources, into the build
# folder, and found through LOCPATH (C.UTF-8 is built into the C library and needs none).
locales="$build/locales"
if [ ! -d "$locales/ja_JP.UTF-8" ]; then
    mkdir -p "$locales"
    localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" ||
        { echo "test-windows: cannot build the ja_JP.UTF-8 locale (Debian package locales)" >&2; exit 1; }
fi
export LOCPATH="$locales"

# The display: Xvfb takes the first free number and writes it to the file once it is ready.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>"$build/xvfb.log" &
xvfb=$!
stop() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -f "$display_file"
}
trap stop EXIT
for _ in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$display_file" && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$build/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$display_file")"

wineserver -k >/dev/null 2>&1 || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Setting up the Wine prefix $WINEPREFIX"
    wineboot -i </dev/null >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
    wineserver -w
fi
# One wine server and one set of Wine's own background processes for the whole run, started
# here: otherwise every test starts them anew and ctest waits for them to go away.
wineserver -p </dev/null >>"$log" 2>&1
# The programs' windows open inside a desktop window of Wine's own: Wine, not an X window manager
# (the private display has none), then frames, places and activates them, as Windows does.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >>"$log" 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null \
    >>"$log" 2>&1
# A server started before the desktop was named makes every window of a new prefix wait two
# seconds to appear; one started afterwards does not.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wineserver -p </dev/null >>"$log" 2>&1
wineboot </dev/null >>"$log" 2>&1
ctest --preset "$preset" "$@"
