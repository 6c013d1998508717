#!/usr/bin/env bash
# Starts the program on a virtual 640x480 display under a real window manager
# (openbox) and checks that every screen's frame, title bar included, stands
# at 1,1 and stays there while the operator goes from screen to screen.
# Usage: wm-check.sh BUILD_DIR (the shop is laid out in a folder of at most 8
# characters, so the printer stays enabled and no warning stands in the way)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build-release}" && pwd)

work=$(mktemp -d /tmp/zwXXXXXX)
shop="$work/shop"
scripts/layout.sh "$build" "$shop" >/dev/null
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
(cd "$shop" && exec ./zorvi) >/dev/null 2>&1 &
app=$!

# The frame's corner of the one visible program window whose title starts
# with $1, as left,top.
frame_of() {
    local title=$1 id
    for _ in $(seq 50); do
        id=$(xdotool search --onlyvisible --pid "$app" --name "^$title" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { echo "no window \"$title\"" >&2; return 1; }
    sleep 0.5
    local x y extents
    x=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print $4}')
    y=$(xwininfo -id "$id" | awk '/Absolute upper-left Y/ {print $4}')
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/ //g')
    IFS=, read -r left _ top _ <<<"$extents"
    echo "$((x - left)),$((y - top))"
}

failed=0
expect() {
    local what=$1 title=$2 got
    got=$(frame_of "$title") || got="missing"
    if [ "$got" = "1,1" ]; then echo "ok: $what at 1,1"; else echo "FAILED: $what at $got, not 1,1"; failed=1; fi
}

expect "main screen at start" "Zorvi"
xdotool key s
expect "sales screen" "SALES SCREEN"
xdotool key Escape
expect "main screen after a sale" "Zorvi"
xdotool key e
expect "expense screen" "EXPENSE SCREEN"
xdotool key Escape
expect "main screen after an expense" "Zorvi"
xdotool key s
expect "sales screen again" "SALES SCREEN"
xdotool key Escape
expect "main screen after the second sale" "Zorvi"
xdotool key m s
expect "setup screen" "CONFIGURE ZORVI"
xdotool key alt+x
expect "main screen after setup" "Zorvi"
xdotool key m i
expect "inventory update screen" "   INVENTORY UPDATE"
xdotool key Escape
expect "main screen after the inventory" "Zorvi"
xdotool key m p
expect "price list editor" "PRICE LIST SCREEN"
xdotool key alt+x
expect "main screen after the price list" "Zorvi"
xdotool key w
expect "view and print screen" "  VIEW & PRINT"
xdotool key Escape
expect "main screen after view and print" "Zorvi"
exit $failed
