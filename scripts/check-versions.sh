#!/usr/bin/env bash
# Checks that files of a release all name one version, the CMake project's, each where it shows
# one: the source tarball's folder, `quillon-settings --version`, the Debian package's version,
# changelog and AppStream release (dated from the commit), the zip's name, its README and its
# program's version resource, and the release notes' heading. The splash and the help window
# keep the "Version 1.1 Beta" of the program of 1999, and are not checked here.
# Usage: check-versions.sh VERSION SOURCE_DATE_EPOCH FILE...
set -euo pipefail

version=${1:?"the project's version"}
day=$(date -u -d "@${2:?"the commit's time"}" +%Y-%m-%d)
shift 2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

# expect WHAT ACTUAL EXPECTED: one agreement, told when it fails.
expect() {
    if [ "$2" != "$3" ]; then
        echo "check-versions: $1 is \"$2\", expected \"$3\"" >&2
        failed=1
    fi
}

tarball() {
    expect "the top folder of $(basename "$1")" "$(tar -tzf "$1" | head -n 1)" "quillon-tool-$version/"
}

static-cli() {
    expect "quillon-settings --version" "$("$1" --version)" \
        "quillon-settings $version (Brackens' Quillon Tool)"
}

deb() {
    expect "the package's version" "$(dpkg-deb --field "$1" Version)" "$version"
    dpkg-deb -x "$1" "$scratch/deb"
    local changelog metainfo
    changelog=$(gzip -dc "$scratch/deb/usr/share/doc/quillon-tool/changelog.gz" | head -n 1)
    expect "the changelog's newest entry" "$changelog" "quillon-tool ($version) unstable; urgency=medium"
    metainfo=$(grep -o '<release [^>]*>' "$scratch"/deb/usr/share/metainfo/*.metainfo.xml)
    expect "the AppStream release" "$metainfo" "<release version=\"$version\" date=\"$day\"/>"
}

zip() {
    expect "the zip's name" "$(basename "$1")" "quillon-tool-$version-windows-x64.zip"
    mkdir "$scratch/zip"
    (cd "$scratch/zip" && cmake -E tar xf "$1")
    local folder resource
    folder=$(dirname "$(find "$scratch/zip" -name quillon-tool.exe)")
    expect "the zip's README heading" "$(head -n 1 "$folder/README.txt" | tr -d '\r')" \
        "Brackens' Quillon Tool $version for Windows"
    resource=$(x86_64-w64-mingw32-windres -i "$folder/quillon-tool.exe" -O rc |
        sed -n 's/.*VALUE "\(File\|Product\)Version", "\(.*\)"/\1 \2/p' | tr '\n' ' ')
    expect "quillon-tool.exe's version resource" "$resource" "File $version Product $version "
}

notes() {
    expect "the release notes' heading" "$(head -n 1 "$1")" "# Brackens' Quillon Tool $version"
}

for file in "$@"; do
    file=$(realpath "$file")
    case $(basename "$file") in
    quillon-tool-*.tar.gz) tarball "$file" ;;
    quillon-settings-*-linux-x86_64) static-cli "$file" ;;
    quillon-tool_*.deb) deb "$file" ;;
    quillon-tool-*-windows-x64.zip) zip "$file" ;;
    RELEASE-NOTES.md) notes "$file" ;;
    *) ;; # no version inside: SHA256SUMS, and the Windows command line compared for its bytes
    esac
done
[ "$failed" = 0 ] && echo "check-versions: every file names version $version"
exit "$failed"
