#!/usr/bin/env bash
# Builds Qt 6 qtbase for 64-bit Windows (static, Release) with Debian's MinGW-w64 compiler, from
# Debian's own qt6-base source package of the host Qt's version, and installs it into a cache
# outside the work tree that later runs reuse. Prints the install prefix on its last line.
#
# Only Core, Gui, Widgets, Test and the Windows platform plugin are wanted; everything else the
# program does not use is switched off. A build counts as a cache hit only when its completion
# mark holds the same recipe, and the mark is written last, so an interrupted build is redone.
set -euo pipefail

version=6.4.2
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quillon
prefix=$cache/qt-$version-mingw
mark=$prefix/.quillon-build-complete
toolchain=$root/cmake/mingw-w64.cmake

fail() { echo "build-windows-qt: $*" >&2; exit 1; }
say() { echo "build-windows-qt: $*" >&2; }

# What makes one build differ from another; a change here invalidates the cache.
features=(
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_system_zlib=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_direct2d=OFF
    -DFEATURE_tabletevent=OFF
)
recipe="qtbase $version; $(sha256sum "$toolchain" | cut -c1-16); ${features[*]}"

if [ -f "$mark" ] && [ "$(cat "$mark")" = "$recipe" ]; then
    echo "$prefix"
    exit 0
fi

# The host Qt supplies moc, rcc and uic; its version must be the one being built.
host_cmake=/usr/lib/x86_64-linux-gnu/cmake
host_version=$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' \
    "$host_cmake/Qt6/Qt6ConfigVersionImpl.cmake" 2>/dev/null || true)
[ -n "$host_version" ] || fail "the host Qt 6 is not installed (package qt6-base-dev)"
[ "$host_version" = "$version" ] ||
    fail "the host Qt is $host_version, but this recipe builds $version; both must match"
for tool in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-gcc-posix cmake ninja apt-get \
    dpkg-source; do
    command -v "$tool" >/dev/null || fail "$tool is missing (run: make deps-windows)"
done

mkdir -p "$cache"
free_kib=$(df -Pk "$cache" | awk 'NR == 2 {print $4}')
[ "$free_kib" -ge $((6 * 1024 * 1024)) ] ||
    fail "only $((free_kib / 1024)) MiB free under $cache; the build needs about 6 GiB"

# Whatever an earlier, unfinished run left is never trusted.
rm -rf "$prefix"
work=$(mktemp -d "$cache/qt-build.XXXXXX")
trap 'rm -rf "$work"' EXIT

# A private apt configuration with a deb-src line for the mirror the system already uses; the
# system's own apt configuration is left as it is.
read -r mirror suite keyring < <(python3 - <<'PY' || true
import glob, re
def stanzas():
    for path in sorted(glob.glob('/etc/apt/sources.list.d/*.sources')):
        for block in re.split(r'\n\s*\n', open(path).read()):
            fields = {}
            for line in block.splitlines():
                if line.startswith('#') or ':' not in line or line[0].isspace():
                    continue
                k, v = line.split(':', 1)
                fields[k.strip().lower()] = v.split()
            if 'deb' in fields.get('types', []) and fields.get('enabled', ['yes'])[0] != 'no':
                yield fields.get('uris', [''])[0], fields.get('suites', [''])[0], \
                      (fields.get('signed-by') or [''])[0]
    for path in ['/etc/apt/sources.list'] + sorted(glob.glob('/etc/apt/sources.list.d/*.list')):
        try:
            lines = open(path).read().splitlines()
        except OSError:
            continue
        for line in lines:
            words = re.sub(r'\[[^]]*\]', '', line.split('#')[0]).split()
            if len(words) >= 3 and words[0] == 'deb':
                yield words[1], words[2], ''
for uri, suite, key in stanzas():
    if uri and suite and not suite.endswith(('-security', '-updates', '-backports')):
        print(uri, suite, key or '-')
        break
PY
)
[ -n "${mirror:-}" ] || fail "no Debian mirror found in the system's apt sources"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/parts"
options="[arch=amd64"
[ "$keyring" != "-" ] && options+=" signed-by=$keyring"
echo "deb-src $options] $mirror $suite main" >"$work/apt/sources.list"
apt_opts=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o "Dir::Etc::SourceParts=$work/apt/parts"
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
    -o "APT::Sandbox::User=root" -o "Debug::NoLocking=1")

say "fetching the qt6-base source from $mirror ($suite)"
apt-get "${apt_opts[@]}" -qq update ||
    fail "cannot reach the package mirror $mirror for the qt6-base source"
(cd "$work" && apt-get "${apt_opts[@]}" -qq source "qt6-base" >"$work/source.log" 2>&1) ||
    { cat "$work/source.log" >&2; fail "apt-get source qt6-base failed"; }
src=$(find "$work" -mindepth 2 -maxdepth 2 -name .cmake.conf -path '*qt*6*' -printf '%h\n' |
    head -n 1)
[ -n "$src" ] || fail "the qt6-base source did not unpack"
grep -q "QT_REPO_MODULE_VERSION \"$version\"" "$src/.cmake.conf" ||
    fail "the mirror's qt6-base source is not Qt $version"

say "configuring (about a minute)"
cmake -G Ninja -S "$src" -B "$work/build" -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${features[@]}" >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log" >&2; fail "configure failed"; }

say "building with $(nproc) cores (30 to 40 minutes on two)"
cmake --build "$work/build" --parallel "$(nproc)" >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log" >&2; fail "the build failed"; }
cmake --install "$work/build" >"$work/install.log" 2>&1 ||
    { tail -n 20 "$work/install.log" >&2; rm -rf "$prefix"; fail "the install failed"; }

echo "$recipe" >"$mark.tmp" && mv "$mark.tmp" "$mark"
say "Qt $version for Windows is in $prefix"
echo "$prefix"
