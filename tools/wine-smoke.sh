#!/usr/bin/env bash
# Cross-compiles the Windows WMI source with MinGW-w64 into tools/wmi-smoke.cpp's console program and
# runs it under Wine in a fresh, throw-away prefix. Wine's WMI is incomplete: the program reports what
# Wine lacks as known gaps and ends with "N passed, N failed, N known gaps". Real Windows remains the
# platform that counts.
#   tools/wine-smoke.sh [output folder]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$src/build-wine}
mkdir -p "$out"

cxx=x86_64-w64-mingw32-g++
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
for tool in "$cxx" "$wine" "$wineserver"; do
    if ! command -v "$tool" >/dev/null; then
        echo "wine smoke skipped: $tool is missing (tools/install-deps.sh test installs it)"
        exit 77
    fi
done

sources=(tools/wmi-smoke.cpp disks/WindowsWmiSource.cpp disks/SystemWmiSource.cpp disks/WmiConnection.cpp
         disks/SystemErrorText.cpp disks/PartitionScan.cpp disks/PartitionUnits.cpp disks/PartitionRow.cpp
         disks/WqlText.cpp)
# The table the scan fills is the plain C++ list of table/: take the core sources listed there.
for file in $(tr '\n' ' ' <"$src/table/CMakeLists.txt" | grep -o 'target_sources(trelvane_core[^)]*)' |
              grep -o '[A-Za-z0-9_]*\.cpp'); do
    sources+=("table/$file")
done
echo "== building $out/wmi-smoke.exe"
(cd "$src" && "$cxx" -std=c++20 -O1 -Wall -Wextra -Wpedantic -Werror -I. -o "$out/wmi-smoke.exe" "${sources[@]}" \
    -static -lole32 -loleaut32 -lwbemuuid)

prefix=$(mktemp -d "${TMPDIR:-/tmp}/trelvane-wine.XXXXXX")
cleanup() {
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
    WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT

export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
# No display, no Mono or Gecko installers: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

echo "== running under $("$wine" --version) in a fresh prefix"
log=$out/wmi-smoke.log
status=0
timeout 600 "$wine" "$out/wmi-smoke.exe" >"$log" 2>&1 || status=$?
tr -d '\r' <"$log" | tee "$log.txt"

summary=$(tr -d '\r' <"$log" | grep -E '^[0-9]+ passed, [0-9]+ failed' | tail -n 1 || true)
if ! tr -d '\r' <"$log" | grep -qx 'Connected to ROOT\\CIMV2 WMI namespace'; then
    echo "FAIL: the line \"Connected to ROOT\\CIMV2 WMI namespace\" was not written"
    status=1
fi
if [ -z "$summary" ]; then
    echo "FAIL: the smoke program ended without its summary (exit status $status)"
    exit 1
fi
echo "wine smoke: $summary"
exit "$status"
