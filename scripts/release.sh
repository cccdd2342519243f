#!/usr/bin/env bash
# `make release`: builds everything a release publishes from the commit checked out, into
# build/release: the zip for Windows, the Debian package, the source tarball, the static
# quillon-settings, the release notes from NEWS.md, and SHA256SUMS over them all. A tree with
# changes that are not committed is refused: the files must be those of the commit alone, so
# that anyone can build the same bytes from it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fail() { echo "release: $*" >&2; exit 1; }

changes=$(git status --porcelain --untracked-files=all)
if [ -n "$changes" ]; then
    {
        echo "release: the tree has changes that are not committed, and a release is built from"
        echo "a commit alone. Commit them, or stash them (git stash -u), and run it again:"
        echo "$changes"
    } >&2
    exit 1
fi

commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
out=$root/build/release
rm -rf "$out"
scripts/build-release.sh "$out" tarball cli-linux deb zip
version=$(scripts/build-release.sh --version)
python3 scripts/news.py notes NEWS.md --version "$version" --time "$SOURCE_DATE_EPOCH" \
    >"$out/RELEASE-NOTES.md"

cd "$out"
# In the C locale's order, whatever the caller's.
files=$(LC_ALL=C ls)
# shellcheck disable=SC2086 # one name a line, none with a space
"$root/scripts/check-versions.sh" "$version" "$SOURCE_DATE_EPOCH" $files
# shellcheck disable=SC2086
sha256sum $files >SHA256SUMS
echo
echo "Brackens' Quillon Tool $version, commit $commit ($(date -u -d "@$SOURCE_DATE_EPOCH" +%F))"
echo "SHA256SUMS:"
cat SHA256SUMS
echo "The release is in $out:"
ls -l --time-style=+ "$out" | sed 1d
