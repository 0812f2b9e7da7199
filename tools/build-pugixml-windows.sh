#!/usr/bin/env bash
# Builds pugixml (the XML reader of DiskSpd's -Rxml reports) as a static library for 64-bit Windows
# with MinGW-w64 from Debian's own pugixml source package, of the version the Linux build uses, and
# installs it into a cache folder outside the work tree, as tools/build-qt-windows.sh does for Qt:
# Debian ships pugixml for Linux only. RapidJSON, the JSON reader, is headers alone and needs no build.
#   tools/build-pugixml-windows.sh     prints the install folder; builds it first when it is missing
set -euo pipefail

for tool in x86_64-w64-mingw32-g++-posix cmake ninja dpkg-source apt-get dpkg-query; do
    if ! command -v "$tool" >/dev/null; then
        echo "building pugixml for Windows needs $tool (tools/install-deps.sh test installs it)" >&2
        exit 1
    fi
done
version=$(dpkg-query -W -f='${source:Upstream-Version}' libpugixml-dev 2>/dev/null || true)
if [ -z "$version" ]; then
    echo "building pugixml for Windows needs libpugixml-dev (tools/install-deps.sh installs it)" >&2
    exit 1
fi
cache=${XDG_CACHE_HOME:-$HOME/.cache}/trelvane
prefix=$cache/pugixml-$version-mingw64
# The stamp is written last: an interrupted build has none and is made again.
stamp=$prefix/.trelvane-complete
if [ -f "$stamp" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/pugixml-$version-mingw64-build
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/sources.list.d" "$work/src"
# Source entries made from this machine's own apt configuration, so the source comes from wherever its
# packages come from; the machine's configuration itself stays as it is.
: >"$work/apt/sources.list"
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list" >>"$work/apt/sources.list"
done
for sources in /etc/apt/sources.list.d/*.sources; do
    [ -f "$sources" ] && sed 's/^Types:.*/Types: deb-src/' "$sources" >"$work/apt/sources.list.d/${sources##*/}"
done
apt_private=(-o "Dir::Etc::sourcelist=$work/apt/sources.list" -o "Dir::Etc::sourceparts=$work/apt/sources.list.d"
             -o "Dir::State::Lists=$work/apt/lists")
apt-get "${apt_private[@]}" update -qq >&2
echo "== fetching the pugixml source package" >&2
(cd "$work/src" && apt-get "${apt_private[@]}" source -qq "pugixml=$(dpkg-query -W -f='${Version}' libpugixml-dev)" >&2)
srcdir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "pugixml-*" | head -n 1)
if [ -z "$srcdir" ] || [ ! -f "$srcdir/CMakeLists.txt" ]; then
    echo "the pugixml source was not unpacked under $work/src" >&2
    exit 1
fi
toolchain=$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw-w64.cmake
echo "== building pugixml $version for Windows (static) into $prefix" >&2
cmake -S "$srcdir" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF >&2
cmake --build "$work/build" >&2
cmake --install "$work/build" >&2
touch "$stamp"
rm -rf "$work"
echo "$prefix"
