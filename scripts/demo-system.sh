#!/usr/bin/env bash
# Prepares a scratch Wine prefix for `make run`: drive C: holds a copy of the sample settings
# files in one of the folders the program searches by itself, so it finds them with no game
# installed, and the prefix's registry names that folder as the game's install folder, as a
# game installer would. The copy is kept between runs so edits can be seen again; delete the
# prefix to start afresh. Prints the prefix's path.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-$root/build/demo-wine}
system="$prefix/drive_c/Games/Unreal Tournament/System"

mkdir -p "$prefix/dosdevices" "$system"
[ -e "$prefix/dosdevices/c:" ] || ln -s ../drive_c "$prefix/dosdevices/c:"
[ -e "$prefix/dosdevices/z:" ] || ln -s / "$prefix/dosdevices/z:"
for f in "$root"/examples/System/*.ini; do
    [ -e "$system/$(basename "$f")" ] || cp "$f" "$system/"
done
if [ ! -e "$prefix/system.reg" ]; then
    cat >"$prefix/system.reg" <<'REG'
WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win64

[Software\\Unreal Technology\\Installed Apps\\UnrealTournament] 1700000000
"Folder"="C:\\Games\\Unreal Tournament"
REG
fi
echo "$prefix"
