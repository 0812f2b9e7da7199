#!/usr/bin/env bash
# Builds the Debian package, installs it as a user would (apt-get install ./trelvane_*.deb), checks the
# installed programs, desktop entry, metadata, icons and manual page, and removes the package again.
# Needs root (through sudo otherwise).
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
package=$(tools/package.sh | tail -n 1)
echo "== package: $package =="
dpkg-deb --field "$package" Package Version Architecture Depends

work=$(mktemp -d)
cleanup() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq trelvane >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
cp "$package" "$work/"
(cd "$work" && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq ./trelvane_*.deb)

fail() { echo "package check failed: $*" >&2; exit 1; }
app_id=org.trelvane.Trelvane
for file in /usr/bin/trelvane /usr/bin/trelvane-csv /usr/share/applications/$app_id.desktop \
            /usr/share/metainfo/$app_id.metainfo.xml /usr/share/man/man1/trelvane-csv.1.gz \
            /usr/share/icons/hicolor/48x48/apps/$app_id.png /usr/share/icons/hicolor/256x256/apps/$app_id.png; do
    [ -f "$file" ] || fail "$file is not installed"
done

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
zcat /usr/share/man/man1/trelvane-csv.1.gz | grep -q '^\.TH TRELVANE-CSV 1' || fail "the manual page has no title line"

DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq trelvane
[ ! -e /usr/bin/trelvane ] || fail "/usr/bin/trelvane is still there after removal"
echo "== package check passed =="
