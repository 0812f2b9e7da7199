#!/usr/bin/env bash
# Builds a static Qt 6.4.2 for 64-bit Windows with MinGW-w64 from Debian's own qt6-base source package
# and installs it into a cache folder outside the work tree, so a machine builds it once (12 to 15
# minutes on two cores). Debian ships no Qt for MinGW, but its source cross-builds against the host
# moc, rcc and uic of the installed qt6-base-dev-tools, which are the same version.
#   tools/build-qt-windows.sh          prints the install folder; builds it first when it is missing
set -euo pipefail

version=6.4.2
cache=${XDG_CACHE_HOME:-$HOME/.cache}/trelvane
prefix=$cache/qt-$version-mingw64
# The stamp is written last: a build that was interrupted has none and is made again from scratch.
# qtbase is the only module: Trelvane writes its SVG pictures itself.
base_stamp=$prefix/.trelvane-complete
if [ -f "$base_stamp" ] && [ -x "$prefix/bin/qt-cmake" ]; then
    echo "$prefix"
    exit 0
fi

for tool in x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix cmake ninja dpkg-source apt-get; do
    if ! command -v "$tool" >/dev/null; then
        echo "building Qt for Windows needs $tool (tools/install-deps.sh test installs it)" >&2
        exit 1
    fi
done

work=$cache/qt-$version-mingw64-build
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/src"

# The source packages come from wherever this machine gets its binary packages: every "deb" entry of
# its own apt configuration again as "deb-src" (one-line lists and deb822 stanzas alike), in a private
# copy, so a machine behind another mirror fetches from that mirror and its apt configuration stays as
# it is.
eval "$(apt-config shell source_list Dir::Etc::sourcelist/f source_parts Dir::Etc::sourceparts/d)"
mkdir -p "$work/apt/sources.list.d"
: >"$work/apt/sources.list"
for list in "$source_list" "$source_parts"/*.list; do
    [ -f "$list" ] || continue
    sed -n -E 's/^[[:space:]]*deb-?(src)?([[:space:]])/deb-src\2/p' "$list" >>"$work/apt/sources.list"
done
sort -u -o "$work/apt/sources.list" "$work/apt/sources.list"
for stanzas in "$source_parts"/*.sources; do
    [ -f "$stanzas" ] || continue
    sed -E 's/^Types:.*$/Types: deb-src/I' "$stanzas" >"$work/apt/sources.list.d/$(basename "$stanzas")"
done
apt_private=(-o "Dir::Etc::sourcelist=$work/apt/sources.list" -o "Dir::Etc::sourceparts=$work/apt/sources.list.d"
             -o "Dir::State::Lists=$work/apt/lists")
apt-get "${apt_private[@]}" update -qq >&2

# Unpacks Debian's source package $1 under $work/src and prints its folder. The host tools must match
# the sources (moc's output format changes between releases), hence the fixed version.
fetch_source() {
    echo "== fetching the $1 source package" >&2
    (cd "$work/src" && apt-get "${apt_private[@]}" source -qq "$1" >&2)
    local dir
    dir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "$1-$version*" | head -n 1)
    if [ -z "$dir" ] || [ ! -f "$dir/CMakeLists.txt" ]; then
        echo "the $1 source was not unpacked under $work/src" >&2
        exit 1
    fi
    echo "$dir"
}

toolchain=$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw-w64.cmake
jobs=${TRELVANE_QT_JOBS:-2}

if [ ! -f "$base_stamp" ]; then
    rm -rf "$prefix"
    srcdir=$(fetch_source qt6-base)
    echo "== configuring Qt $version for Windows (static) into $prefix" >&2
    # Only what Trelvane uses: core, gui, widgets and the Windows platform plugin. Debian's tarball lacks
    # the tablet header wintab.h, hence no tablet events; without OpenGL there is no dynamic GL either.
    cmake -S "$srcdir" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=OFF \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=OFF \
        -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF >&2
    echo "== building Qt with $jobs jobs (about 960 steps)" >&2
    nice -n 5 cmake --build "$work/build" -j "$jobs" >&2
    cmake --install "$work/build" >&2
    touch "$base_stamp"
fi

rm -rf "$work"
echo "$prefix"
