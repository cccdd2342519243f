#!/usr/bin/env bash
# Builds files of a release from the tree this script is in, into OUTPUT-FOLDER, one for each
# PART named:
#   tarball      quillon-tool-<version>.tar.gz, the source of the commit (git archive)
#   cli-linux    quillon-settings-<version>-linux-x86_64, the static command line for servers
#   cli-windows  quillon-settings-<version>-windows-x64.exe (not published: a Windows program
#                without Qt, for comparing builds)
#   deb          quillon-tool_<version>_amd64.deb, as `make package` builds and checks it
#   zip          quillon-tool-<version>-windows-x64.zip, as `make windows` builds and checks it
# Every time the files hold is SOURCE_DATE_EPOCH: the commit's time, unless the caller sets it.
# Usage: build-release.sh OUTPUT-FOLDER PART...
#        build-release.sh --version    (prints the project's version)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fail() { echo "build-release: $*" >&2; exit 1; }

# The version is the CMake project's, as the configured build has it.
version() {
    cmake --preset cli-static >/dev/null
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/cli-static/CMakeCache.txt
}
if [ "${1:-}" = --version ]; then
    version
    exit 0
fi

out=${1:?"the folder to build into"}
shift
mkdir -p "$out"
out=$(cd "$out" && pwd)
: "${SOURCE_DATE_EPOCH:=$(git log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH
version=$(version)
[ -n "$version" ] || fail "cannot read the project's version from build/cli-static"

part_tarball() {
    local name=quillon-tool-$version
    # git archive sorts the entries and gives each the commit's time; its modes and line ends
    # are pinned here against the user's git settings, and gzip -n writes no name or time.
    git -c tar.umask=0022 -c core.autocrlf=false archive --format=tar --prefix="$name/" HEAD |
        gzip -9 -n >"$out/$name.tar.gz"
    if tar -tzf "$out/$name.tar.gz" | grep -q "^$name/build/"; then
        fail "$name.tar.gz holds files of the build"
    fi
}

part_cli_linux() {
    cmake --build --preset cli-static --target quillon-settings
    strip -o "$out/quillon-settings-$version-linux-x86_64" build/cli-static/src/cli/quillon-settings
}

part_cli_windows() {
    cmake --preset cli-windows >/dev/null
    cmake --build --preset cli-windows --target quillon-settings
    x86_64-w64-mingw32-strip -o "$out/quillon-settings-$version-windows-x64.exe" \
        build/cli-windows/src/cli/quillon-settings.exe
}

part_deb() {
    make --no-print-directory package
    cp "build/quillon-tool_${version}_amd64.deb" "$out/"
}

part_zip() {
    make --no-print-directory windows
    cp "build/windows/quillon-tool-$version-windows-x64.zip" "$out/"
}

for part in "$@"; do
    case $part in
    tarball | cli-linux | cli-windows | deb | zip) "part_${part//-/_}" ;;
    *) fail "no part $part (tarball, cli-linux, cli-windows, deb or zip)" ;;
    esac
done
