#!/usr/bin/env bash
# Builds the parts of a release that `make test` compares (scripts/build-release.sh: the source
# tarball, the static quillon-settings, quillon-settings.exe and the Debian package) twice, from
# two copies of the tree as it stands in two folders, under two clocks, time zones, umasks and
# locales, and compares them byte for byte. A file that differs is named, and where it differs
# is shown by diffoscope (make test installs it). The copies keep their build folders between
# runs, so a later run builds only what changed. Then checks that the files, and any FILE given
# (the zip that `make test` packed), name one version.
# Usage: check-reproducible.sh [FILE...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/build/repro
parts=(tarball cli-linux cli-windows deb)
fail() { echo "check-reproducible: $*" >&2; exit 1; }
command -v faketime >/dev/null || fail "faketime not found (make test installs it)"
also=()
for file in "$@"; do
    also+=("$(realpath "$file")")
done

# copy_tree FOLDER: the tree's files as they stand, tracked or new (not those git ignores), with
# their times, so that the build kept in FOLDER/build sees only what changed since.
copy_tree() {
    mkdir -p "$1"
    find "$1" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
    (cd "$root" && git ls-files -z --cached --others --exclude-standard |
        tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$1"
}
one=$work/one/quillon-tool
two=$work/elsewhere/second-copy
copy_tree "$one"
copy_tree "$two"

# The copies are no repositories: git archive and the commit's time come from this one's.
GIT_DIR=$(git -C "$root" rev-parse --absolute-git-dir)
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
export GIT_DIR SOURCE_DATE_EPOCH
rm -rf "$work/out-one" "$work/out-two"
echo "check-reproducible: the first build, in $one"
(umask 022 && LC_ALL=C.UTF-8 TZ=UTC "$one/scripts/build-release.sh" "$work/out-one" "${parts[@]}")
echo "check-reproducible: the second build, in $two, 1000 days later, another umask and locale"
(umask 077 && LC_ALL=C TZ=Pacific/Kiritimati faketime -f +1000d \
    "$two/scripts/build-release.sh" "$work/out-two" "${parts[@]}")

cd "$work"
[ "$(ls out-one)" = "$(ls out-two)" ] || fail "the two builds made other files: $(ls out-one) / $(ls out-two)"
failed=0
for file in out-one/*; do
    name=$(basename "$file")
    if cmp -s "$file" "out-two/$name"; then
        echo "check-reproducible: $name: the same bytes ($(sha256sum <"$file" | cut -c1-16))"
        continue
    fi
    failed=1
    echo "check-reproducible: $name differs between the two builds" >&2
    if command -v diffoscope >/dev/null; then
        # Its first lines show where; the whole report of a program runs to thousands.
        diffoscope --text - "$file" "out-two/$name" 2>&1 | head -n 60 >&2 || true
    fi
done
[ "$failed" = 0 ] || exit 1

version=$("$one/scripts/build-release.sh" --version)
"$root/scripts/check-versions.sh" "$version" "$SOURCE_DATE_EPOCH" out-one/* "${also[@]}"
