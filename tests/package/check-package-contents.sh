#!/usr/bin/env bash
# Builds the Debian package from a build folder into a scratch folder and checks it: the files it
# installs are exactly those of the expected lists, its control fields name the package, the
# project's version and the libraries dpkg-shlibdeps found, and lintian and man find nothing
# wrong with it (scripts/check-package.sh).
# Usage: check-package-contents.sh CPackConfig.cmake VERSION EXPECTED-LIST...
set -euo pipefail

config=$1
version=$2
shift 2
for tool in cpack dpkg-deb dpkg; do
    command -v "$tool" >/dev/null || { echo "$tool not found" >&2; exit 1; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# CPack gives the package's members the modes of the files it writes, which follow the umask.
umask 022
if ! cpack --config "$config" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
debs=("$scratch"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no single .deb" >&2; exit 1; }
deb=${debs[0]}
expectedName="quillon-tool_${version}_$(dpkg --print-architecture).deb"
[ "$(basename "$deb")" = "$expectedName" ] ||
    { echo "package named $(basename "$deb"), expected $expectedName" >&2; exit 1; }

# dpkg-deb -c lists "mode owner size date time ./path"; keep the files' paths.
dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}\.//' | grep -v '/$' | sort >"$scratch/actual"
sort "$@" >"$scratch/expected"
if ! diff -u "$scratch/expected" "$scratch/actual"; then
    echo "the package's files differ from the expected lists (- expected, + in the package)" >&2
    exit 1
fi

failed=0
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quillon-tool ] || { echo "Package: $(field Package)" >&2; failed=1; }
[ "$(field Version)" = "$version" ] || { echo "Version: $(field Version), expected $version" >&2; failed=1; }
for dependency in libqt6widgets6 libstdc++6 fonts-liberation; do
    field Depends | grep -q "$dependency" ||
        { echo "Depends lacks $dependency: $(field Depends)" >&2; failed=1; }
done
"$(dirname "$0")/../../scripts/check-package.sh" "$deb" || failed=1
exit $failed
