#!/usr/bin/env bash
# Validates the AppStream metadata (offline, every issue but pedantic hints failing) and checks
# that each screenshot it names under the project's address is a picture in the repository.
# Usage: check-metainfo.sh METAINFO.xml SOURCE-DIR
set -euo pipefail

metainfo=$1
source=$2
command -v appstreamcli >/dev/null || { echo "appstreamcli not found (Debian package appstream)" >&2; exit 1; }
appstreamcli validate --no-net --strict "$metainfo"

site=https://quillon-tool.example.org/
images=$(sed -n 's|.*<image>\(.*\)</image>.*|\1|p' "$metainfo")
[ -n "$images" ] || { echo "no screenshot in $metainfo" >&2; exit 1; }
failed=0
for url in $images; do
    case $url in
    "$site"*) [ -f "$source/${url#"$site"}" ] || { echo "$url: no ${url#"$site"} in the repository" >&2; failed=1; } ;;
    *) echo "$url is not under $site" >&2; failed=1 ;;
    esac
done
exit $failed
