#!/usr/bin/env bash
# Runs a command with Qt's X11 platform on a private Xvfb display with one screen of the given size.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
#   tests/run-on-xvfb.sh WIDTHxHEIGHT command [arguments...]
set -euo pipefail
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is missing (tools/install-deps.sh test installs it)"
        exit 77
    fi
done
size=$1
shift
work=$(mktemp -d "${TMPDIR:-/tmp}/trelvane-xvfb.XXXXXX")
# -displayfd picks a free display number and writes it once the server is ready.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start:"
    cat "$work/xvfb.log"
    exit 1
fi
export DISPLAY=:$(head -n 1 "$work/display") QT_QPA_PLATFORM=xcb
"$@"
