#!/usr/bin/env bash
# Builds Qt 6 qtbase for 64-bit Windows (static, Release) with Debian's MinGW-w64 compiler, from
# Debian's own qt6-base source package of the host Qt's version, and installs it into a cache
# outside the work tree that later runs reuse. Prints the install prefix on its last line.
#
# Only Core, Gui, Widgets, Test and the Windows platform plugin are wanted; everything else the
# program does not use is switched off. A build counts as a cache hit only when its completion
# mark holds the same recipe, and the mark is written last, so an interrupted build is redone.
# Beside the libraries go the licence texts that a program linking this Qt must carry, and where
# its source is (licenses/ in the prefix, with a mark of its own, also written last).
set -euo pipefail

version=6.4.2
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quillon
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
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_tabletevent=OFF
)
# Direct2D stays on although the program does not use it: without it Qt 6.4's Gui leaves out
# the DirectWrite font database, which its Windows platform plugin still calls, and no program
# using that plugin links.
recipe="qtbase $version; $(sha256sum "$toolchain" | cut -c1-16); ${features[*]}"
# Each recipe has a folder of its own, so that a checkout with another recipe never takes or
# throws away this one's build.
prefix=$cache/qt-$version-mingw-$(echo "$recipe" | sha256sum | cut -c1-12)
mark=$prefix/.quillon-build-complete

licences=$prefix/licenses
licences_mark=$licences/.quillon-complete

built() { [ -f "$mark" ] && [ "$(cat "$mark")" = "$recipe" ]; }
if built && [ -f "$licences_mark" ]; then
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
    dpkg-source python3; do
    command -v "$tool" >/dev/null || fail "$tool is missing (run: make deps-windows)"
done

mkdir -p "$cache"
# One run at a time: a second one waits, then finds what the first one built.
exec 9>"$cache/.lock"
flock 9
if built && [ -f "$licences_mark" ]; then
    echo "$prefix"
    exit 0
fi

free_kib=$(df -Pk "$cache" | awk 'NR == 2 {print $4}')
needed_gib=6
built && needed_gib=1 # only the source is fetched, for its licence texts
[ "$free_kib" -ge $((needed_gib * 1024 * 1024)) ] ||
    fail "only $((free_kib / 1024)) MiB free under $cache; this needs about $needed_gib GiB"

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
package_version=$(find "$work" -maxdepth 1 -name 'qt6-base_*.dsc' -printf '%f\n' |
    sed -n 's/^qt6-base_\(.*\)\.dsc$/\1/p')

# The licence texts that a program linking this Qt statically must carry, and where its source
# is; their mark is written last.
install_licences() {
    rm -rf "$licences"
    mkdir -p "$licences"
    for text in LGPL-3.0-only.txt GPL-3.0-only.txt; do
        cp "$src/LICENSES/$text" "$licences/" || fail "the Qt source lacks LICENSES/$text"
    done
    cp "$src/debian/copyright" "$licences/copyright.txt" ||
        fail "the Qt source lacks Debian's copyright file"
    cat >"$licences/SOURCE.txt" <<EOF
Qt in this program
==================

The program contains Qt $version: the qtbase module (Qt Core, Qt Gui, Qt Widgets and the
Windows platform and style plugins), linked statically into its .exe file. Qt is used under
the GNU Lesser General Public License version 3: LGPL-3.0-only.txt, which adds its permissions
to the GNU General Public License version 3 in GPL-3.0-only.txt.

copyright.txt names the copyright holders and the licence of every part of that Qt source,
including the libraries Qt carries within it (FreeType, HarfBuzz, PCRE2, zlib, libpng,
double-conversion and others), with the texts of their licences.

Where the source is
-------------------
The Qt used is Debian's qt6-base source package, version $package_version, unchanged. On
Debian 12 it is fetched with:

    apt-get source qt6-base=$package_version

It was built for 64-bit Windows with Debian's MinGW-w64 compiler (x86_64-w64-mingw32-g++-posix)
and configured with these CMake options:

    ${features[*]}

The program's own source comes with the script that builds this Qt
(scripts/build-windows-qt.sh), so that the program can be linked again with a changed Qt.
EOF
    touch "$licences_mark"
}

if built; then
    say "adding the licence texts to the Qt built earlier"
    install_licences
    echo "$prefix"
    exit 0
fi
# Whatever an earlier, unfinished build left is never trusted.
rm -rf "$prefix"

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

install_licences
echo "$recipe" >"$mark.tmp" && mv "$mark.tmp" "$mark"
say "Qt $version for Windows is in $prefix"
echo "$prefix"
