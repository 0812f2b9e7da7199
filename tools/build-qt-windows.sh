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

# What Trelvane links of Qt and nothing more: qtbase's core, gui and widgets with the Windows platform
# plugin and the native style. Every switch below turns off what neither the programs nor their tests
# use (each one was checked against the sources), so a fresh machine compiles about 790 steps instead
# of 1,080. Turning one on again means building Qt for Windows again: the stamp holds the switches.
features_off=(
    # Modules and system libraries: no SQL, network, D-Bus, printing, concurrency or XML DOM; no
    # OpenGL or Vulkan (the window paints with the raster engine). Qt Test is left out too: the tests
    # that need it are skipped on Windows and say so. The MinGW root has no zlib, PCRE2, libpng or
    # HarfBuzz, so Qt's bundled copies are built.
    sql network dbus printsupport concurrent xml testlib opengl dynamicgl vulkan icu glib
    system_zlib system_pcre2 system_png system_harfbuzz
    # Debian's tarball lacks the tablet header wintab.h.
    tabletevent
    # Platform and font engines: the windows platform plugin alone, drawing with GDI and DirectWrite.
    # The Direct2D platform plugin (direct2d1_1) would compile the whole platform plugin a second
    # time; Direct2D itself stays, Qt's DirectWrite font engine (high DPI, colour fonts) is built on
    # it. FreeType is only an opt-in engine there, and the offscreen platform that needs it is not used
    # on Windows.
    direct2d1_1 freetype
    # Image formats: PNG (Save Chart As, pictures on the clipboard), BMP (the clipboard's DIB), XPM
    # (the styles' own pixmaps) and the small XBM and PPM readers stay.
    jpeg gif ico movie
    # Text formats: the HTML parser stays (labels, tooltips and message boxes show a text that looks
    # like HTML as rich text); Markdown, ODF and PDF writing go.
    textmarkdownreader textmarkdownwriter textodfwriter pdf
    # Widgets and services nobody shows. Qt's own file dialog (Windows tests use it) keeps its list,
    # tree, splitter, completer and file system model; the accessibility bridge stays, screen readers
    # read the window through it. Qt 6.4 needs three more whatever the switches: the widgets library
    # compiles its compatibility definitions of QToolBar members (so the tool bar, and the main window
    # it needs, stay) and the native style includes the input dialog's header.
    systemtrayicon undocommand whatsthis graphicsview mdiarea dockwidget statusbar
    calendarwidget datetimeedit dial lcdnumber keysequenceedit fontcombobox fontdialog colordialog
    errormessage progressdialog wizard commandlinkbutton splashscreen toolbox columnview
    listwidget treewidget tablewidget textbrowser syntaxhighlighter datawidgetmapper
    style_fusion style_stylesheet
    # Core: calendars, shared memory, futures and proxy models nothing uses.
    jalalicalendar hijricalendar islamiccivilcalendar sharedmemory systemsemaphore future
    transposeproxymodel concatenatetablesproxymodel
)
# The stamp is written last: a build that was interrupted has none and is made again from scratch, and
# so is one made with other switches.
base_stamp=$prefix/.trelvane-complete
stamp_text="qtbase $version without: ${features_off[*]}"
if [ -f "$base_stamp" ] && [ "$(cat "$base_stamp")" = "$stamp_text" ] && [ -x "$prefix/bin/qt-cmake" ]; then
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
jobs=${TRELVANE_QT_JOBS:-$(nproc)}

switches=()
for feature in "${features_off[@]}"; do
    switches+=("-DFEATURE_$feature=OFF")
done

rm -rf "$prefix"
srcdir=$(fetch_source qt6-base)
echo "== configuring Qt $version for Windows (static) into $prefix" >&2
cmake -S "$srcdir" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    "${switches[@]}" >&2
echo "== building Qt with $jobs jobs ($(ninja -C "$work/build" -n | grep -c "^\[") steps)" >&2
nice -n 5 cmake --build "$work/build" -j "$jobs" >&2
cmake --install "$work/build" >&2
echo "$stamp_text" >"$base_stamp"

rm -rf "$work"
echo "$prefix"
