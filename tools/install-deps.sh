#!/usr/bin/env bash
# Installs the Debian 12 packages Trelvane needs that are missing. "run" installs what building and
# starting the program needs; "test" adds what the tests need (loop-device filesystems, the Windows
# cross-compiler and Wine for the WMI smoke test, Python for the CSV reader check, locales for the
# decimal-comma test, Qt's SVG renderer to draw a saved chart, a window manager to frame the window on
# Xvfb, GNOME's Adwaita style to render the window in, what builds and checks the Debian package, its
# manual pages and the desktop's default for text files); "package" adds what building the Debian
# package needs.
set -euo pipefail
mode=${1:-run}
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libblkid-dev libgl-dev libpugixml-dev rapidjson-dev
          fonts-dejavu-core)
if [ "$mode" = test ] || [ "$mode" = package ]; then
    packages+=(dpkg-dev file)
fi
if [ "$mode" = test ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev libqt6svg6-dev python3 fdisk util-linux e2fsprogs dosfstools ntfs-3g
               g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix googletest wine64 xvfb clang-format clang libclang-rt-14-dev locales xdotool
               openbox x11-utils adwaita-qt6 desktop-file-utils appstream xdg-utils man-db)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
