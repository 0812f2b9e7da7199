#!/usr/bin/env bash
# Runs a command with Qt's X11 platform on a private Xvfb display with one screen of the given size;
# with --window-manager, under a window manager (openbox) that frames the windows as a desktop does.
# Exits 77 (skipped) when Xvfb, xdotool or the window manager is missing.
#   tests/run-on-xvfb.sh [--window-manager] WIDTHxHEIGHT command [arguments...]
set -euo pipefail
manager=
if [ "${1:-}" = --window-manager ]; then
    manager=openbox
    shift
fi
for tool in Xvfb xdotool $manager; do
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
wm=
trap 'if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi; kill "$xvfb" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
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
if [ -n "$manager" ]; then
    # A configuration of its own: the user's openbox settings play no part.
    export XDG_CONFIG_HOME="$work/config"
    openbox --sm-disable >"$work/wm.log" 2>&1 &
    wm=$!
    # Ready once it has claimed the screen (the EWMH check window on the root).
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
fi
"$@"
