#!/usr/bin/env bash
# Builds the Debian package, installs it as a user would (apt-get install ./trelvane_*.deb), checks the
# installed programs, desktop entry, metadata, icons, manual pages and documents folder, that a text
# editor stays the default for text files, and removes the package again.
# Needs root (through sudo otherwise).
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
package=$(tools/package.sh | tail -n 1)
echo "== package: $package =="
dpkg-deb --field "$package" Package Version Architecture Depends
version=$(dpkg-deb --field "$package" Version)

work=$(mktemp -d)
cleanup() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq trelvane >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
cp "$package" "$work/"

# Which application opens a text file by default, asked as the desktops ask (xdg-mime; GLib's gio for
# GNOME and Xfce), with no choice of the user's: where none is chosen, they take the first application
# that lists the type, in the order of the desktop files' names. A stand-in text editor whose name
# sorts after Trelvane's is listed in a data folder searched last, so the check means the same on a
# machine with no editor; an editor installed here answers before it.
command -v xdg-mime > /dev/null || { echo "the package check needs xdg-mime: tools/install-deps.sh test" >&2; exit 1; }
mkdir -p "$work/editor/applications" "$work/home-data" "$work/home-config"
printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Stand-in Text Editor' 'Exec=true %f' \
    'MimeType=text/plain;' > "$work/editor/applications/zz.stand-in.TextEditor.desktop"
update-desktop-database "$work/editor/applications"
text_default() {
    local dirs="/usr/local/share:/usr/share:$work/editor"
    XDG_DATA_DIRS="$dirs" XDG_DATA_HOME="$work/home-data" XDG_CONFIG_HOME="$work/home-config" \
        xdg-mime query default text/plain
    if command -v gio > /dev/null; then
        XDG_DATA_DIRS="$dirs" XDG_DATA_HOME="$work/home-data" XDG_CONFIG_HOME="$work/home-config" \
            gio mime text/plain | sed -n 1p # reads to the end: gio never writes into a closed pipe
    fi
}
text_default_before=$(text_default)
(cd "$work" && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq ./trelvane_*.deb)

fail() { echo "package check failed: $*" >&2; exit 1; }
app_id=org.trelvane.Trelvane
doc=/usr/share/doc/trelvane
for file in /usr/bin/trelvane /usr/bin/trelvane-csv /usr/share/applications/$app_id.desktop \
            /usr/share/metainfo/$app_id.metainfo.xml /usr/share/man/man1/trelvane.1.gz \
            /usr/share/man/man1/trelvane-csv.1.gz \
            /usr/share/icons/hicolor/48x48/apps/$app_id.png /usr/share/icons/hicolor/256x256/apps/$app_id.png \
            $doc/README.md $doc/copyright; do
    [ -f "$file" ] || fail "$file is not installed"
done
# The documents folder holds every example report and every picture the README shows.
for example in examples/*.txt; do
    cmp -s "$example" "$doc/$example" || fail "$doc/$example is not the example"
done
for picture in $(grep -o 'docs/screenshots/[^)]*\.png' README.md | sort -u); do
    [ -f "$doc/$picture" ] || fail "the README's picture $picture is not in $doc"
done
grep -q '^Copyright: ' "$doc/copyright" || fail "the copyright file names no copyright"

# The installed companion on an example: twenty runs, a header line, the success status, exit 0.
/usr/bin/trelvane-csv examples/multi_run_crlf.txt > "$work/runs.csv" 2> "$work/status.txt" ||
    fail "trelvane-csv exited with $?"
[ "$(wc -l < "$work/runs.csv")" -eq 21 ] || fail "trelvane-csv wrote $(wc -l < "$work/runs.csv") lines, not 21"
grep -q '^Report successfully loaded' "$work/status.txt" || fail "trelvane-csv status: $(cat "$work/status.txt")"
/usr/bin/trelvane-csv examples/one_run_fails.txt > /dev/null 2>&1 && fail "a failed run did not exit with 1"

# The installed window, offscreen, on a report named on the command line, with a settings store of its
# own: still running after five seconds means it started, loaded and waits for the user.
status=0
HOME="$work" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
    timeout 5 /usr/bin/trelvane examples/multi_run_crlf.txt > "$work/window.txt" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/window.txt" >&2; fail "trelvane ended with $status before it was stopped"; }

desktop-file-validate /usr/share/applications/$app_id.desktop
appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml
grep -qx 'Exec=trelvane %f' /usr/share/applications/$app_id.desktop || fail "the desktop entry does not pass the file"
for page in trelvane trelvane-csv; do
    [ "$(man -w "$page")" = "/usr/share/man/man1/$page.1.gz" ] || fail "man $page finds $(man -w "$page" 2>&1)"
    title=$(echo "$page" | tr '[:lower:]' '[:upper:]')
    zcat "/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH $title 1 .*Trelvane $version" ||
        fail "the manual page of $page has no title line with the version"
done
# The window and the companion say the package's version, the window without a display.
window_version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/trelvane --version 2>&1) || true
[ "$window_version" = "trelvane $version" ] || fail "trelvane --version: $window_version"
[ "$(/usr/bin/trelvane-csv --version)" = "trelvane-csv $version" ] || fail "trelvane-csv --version"

# Trelvane is offered for text reports but never becomes the default for every text file.
text_default_after=$(text_default)
echo "== default for text/plain before installing: $(echo $text_default_before)"
echo "== default for text/plain after installing:  $(echo $text_default_after)"
[ "$text_default_after" = "$text_default_before" ] ||
    fail "installing changed the default for text files from [$text_default_before] to [$text_default_after]"
case "$text_default_after" in *"$app_id"*) fail "Trelvane is the default for text files" ;; esac

DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq trelvane
[ ! -e /usr/bin/trelvane ] || fail "/usr/bin/trelvane is still there after removal"
echo "== package check passed =="
