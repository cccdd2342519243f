#!/usr/bin/env bash
# `make release-check`: builds the whole release of the commit checked out twice, as
# `make release` builds it, from two clones in two folders under two clocks, time zones, umasks
# and locales, and compares their SHA256SUMS. Each clone keeps its builds between runs.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/build/release-check
commit=$(git -C "$root" rev-parse HEAD)
fail() { echo "release-check: $*" >&2; exit 1; }

# clone FOLDER: the commit, checked out there alone.
clone() {
    [ -d "$1/.git" ] || git clone --quiet --no-checkout "$root" "$1"
    git -C "$1" fetch --quiet "$root" "$commit"
    git -C "$1" checkout --quiet --force --detach "$commit"
    git -C "$1" clean --quiet -fdx --exclude=/build/
}
one=$work/one/quillon-tool
two=$work/elsewhere/second-copy
clone "$one"
clone "$two"

(cd "$one" && umask 022 && LC_ALL=C.UTF-8 TZ=UTC scripts/release.sh)
(cd "$two" && umask 077 && LC_ALL=C TZ=Pacific/Kiritimati faketime -f +1000d scripts/release.sh)

echo
echo "release-check: the SHA256SUMS of $one and of $two, side by side:"
join -j 2 <(sort -k 2 "$one/build/release/SHA256SUMS") <(sort -k 2 "$two/build/release/SHA256SUMS") |
    awk '{ printf "%-36s %s %s %s\n", $1, $2, $3, ($2 == $3 ? "same" : "DIFFERENT") }'
cmp -s "$one/build/release/SHA256SUMS" "$two/build/release/SHA256SUMS" ||
    fail "the two releases of $commit differ: $(diff "$one/build/release/SHA256SUMS" "$two/build/release/SHA256SUMS")"
echo "release-check: both releases of $commit are the same, byte for byte"
