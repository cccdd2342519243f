#!/usr/bin/env bash
# Checks a Debian package as Debian checks one: Debian's lintian finds no error and no warning
# in it, and every manual page it holds renders without a warning (man --warnings, 80 columns
# wide, as man formats a page for a file or a pipe).
# Usage: check-package.sh PACKAGE.deb
set -euo pipefail

fail() { echo "check-package: $*" >&2; exit 1; }
deb=${1:?"the package to check"}
[ -f "$deb" ] || fail "$deb does not exist"
for tool in lintian man dpkg-deb; do
    command -v "$tool" >/dev/null || fail "$tool not found (make package installs it)"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Run as root, lintian says so on standard error: that is no finding about the package.
if ! lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2); then
    fail "lintian finds errors or warnings in $deb"
fi
echo "check-package: lintian finds no error and no warning in $(basename "$deb")"

dpkg-deb -x "$deb" "$scratch/root"
pages=("$scratch"/root/usr/share/man/man*/*)
[ -f "${pages[0]}" ] || fail "$deb holds no manual page"
failed=0
# man's sandbox refuses the shared memory a faked clock uses (faketime, in the comparisons of
# builds); the pages are our own, and render the same without it.
export MAN_DISABLE_SECCOMP=1
for page in "${pages[@]}"; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
        echo "check-package: man warns of ${page#"$scratch/root"}:" >&2
        echo "$warnings" >&2
        failed=1
    fi
done
[ "$failed" = 0 ] || exit 1
echo "check-package: ${#pages[@]} manual pages render without a warning"
