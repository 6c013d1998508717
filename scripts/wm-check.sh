#!/usr/bin/env bash
# Starts the program under a real window manager (openbox) on two virtual
# displays: 640x480, where the screens are drawn as laid out, and 1920x1080,
# where they are drawn twice as large. On each it goes from screen to screen
# as an operator would and checks that every window of the program, frame
# and title bar included, lies within the display; that every screen but the
# consolidation screen has its frame at the shared position 1,1 (2,2 on the
# display's pixels when drawn twice as large) and keeps it; and that the
# consolidation screen stands centred. Last, the screen tests' caption check
# runs on a third display under the window manager, with the fonts it gives.
# Usage: wm-check.sh BUILD_DIR [SCREENSHOT_DIR] (the shop is laid out in a
# folder of at most 8 characters, so the printer stays enabled and no
# warning stands in the way; with SCREENSHOT_DIR a picture of the display is
# kept at each step)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build-release}" && pwd)
shots=${2:-}
[ -z "$shots" ] || { mkdir -p "$shots" && shots=$(cd "$shots" && pwd); }

work=$(mktemp -d /tmp/zwXXXXXX)
app=""
wm=""
xvfb=""
stop() {
    local pid
    for pid in "$app" "$wm" "$xvfb"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
    app=""
    wm=""
    xvfb=""
}
cleanup() {
    stop
    rm -rf "$work"
}
trap cleanup EXIT

# A virtual display of size $1 under openbox; Xvfb takes a display number no
# other server has and says which in the file $work/$2.
start_display() {
    local number="$work/$2"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do [ -s "$number" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$number")"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
}

failed=0
fail() {
    echo "FAILED: $1"
    failed=1
}

# The visible program window whose title starts with $1 (xdotool takes a
# window that meets any one condition unless told --all).
window_of() {
    local title=$1 id=""
    for _ in $(seq 50); do
        id=$(xdotool search --all --onlyvisible --pid "$app" --name "^$title" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || return 1
    echo "$id"
}

# A framed window's frame as "left top width height" on the display; nothing
# for a window that is not framed (yet), hidden or gone.
frame_of() {
    local id=$1 info x y w h extents left right top bottom
    info=$(xwininfo -id "$id" 2>/dev/null) || return 0
    grep -q 'Map State: IsViewable' <<<"$info" || return 0
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    w=$(awk '/^ *Width:/ {print $2}' <<<"$info")
    h=$(awk '/^ *Height:/ {print $2}' <<<"$info")
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed 's/.*= //; s/ //g') || return 0
    [[ $extents =~ ^[0-9]+,[0-9]+,[0-9]+,[0-9]+$ ]] || return 0
    IFS=, read -r left right top bottom <<<"$extents"
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

shot() {
    [ -z "$shots" ] || import -window root "$shots/$display_size-$(printf %02d "$step")-$1.png"
    step=$((step + 1))
}

# Every visible window of the program lies within the display.
all_within() {
    local what=$1 id frame l t w h
    for id in $(xdotool search --all --onlyvisible --pid "$app" --name . 2>/dev/null || true); do
        frame=$(frame_of "$id")
        [ -n "$frame" ] || continue
        read -r l t w h <<<"$frame"
        if ((l < 0 || t < 0 || l + w > display_w || t + h > display_h)); then
            fail "$what: \"$(xdotool getwindowname "$id")\" at $l,$t ${w}x$h is not within $display_size"
        fi
    done
}

# Whether the frame "left top width height" stands at $1: "corner", the
# shared position, or "centre" of the display.
placed() {
    local where=$1 l=$2 t=$3 w=$4 h=$5
    if [ "$where" = centre ]; then
        local dx=$((display_w - w - 2 * l)) dy=$((display_h - h - 2 * t))
        ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2))
    else
        # A one-pixel border is half a pixel of the layout when drawn twice
        # as large, which Qt rounds either way.
        ((l >= corner && l <= corner + slack && t >= corner && t <= corner + slack))
    fi
}

# The screen whose title starts with $3 stands at $2 and stays there, within
# the display. On a busy machine the window manager may take a while to
# frame a window, and the screen a moment after that to take its place.
expect() {
    local what=$1 where=$2 title=$3 id frame=""
    if ! id=$(window_of "$title"); then
        fail "$what: no window \"$title\""
        return
    fi
    for _ in $(seq 50); do
        frame=$(frame_of "$id")
        # shellcheck disable=SC2086
        [ -n "$frame" ] && placed "$where" $frame && break
        sleep 0.1
    done
    sleep 0.6
    frame=$(frame_of "$id")
    # shellcheck disable=SC2086
    if [ -z "$frame" ]; then
        fail "$what: the window \"$title\" has no frame"
    elif placed "$where" $frame; then
        echo "ok: $what at the $where (${frame// /,})"
    else
        fail "$what: frame at ${frame// /,} (left, top, width, height), not at the $where"
    fi
    all_within "$what"
    shot "$(tr -cs 'a-z' '-' <<<"$what" | sed 's/-$//')"
}

# Runs the program on a fresh display of $1 pixels, where it draws its
# screens $2 times as large.
check_display() {
    display_size=$1
    local factor=$2
    display_w=${display_size%x*}
    display_h=${display_size#*x}
    corner=$factor
    slack=$((factor - 1))
    step=0
    echo "== ${display_size}: screens drawn ${factor} times as large"
    local shop="$work/s$factor"
    scripts/layout.sh "$build" "$shop" >/dev/null
    start_display "$display_size" "display$factor"
    (cd "$shop" && exec ./zorvi) >/dev/null 2>&1 &
    app=$!

    expect "main screen at start" corner "Zorvi"
    local id w
    if id=$(window_of "Zorvi"); then
        w=$(xwininfo -id "$id" | awk '/^ *Width:/ {print $2}')
        [ "$w" = $((632 * factor)) ] || fail "the main screen is $w pixels wide, not $((632 * factor))"
    fi
    xdotool key s
    expect "sales screen" corner "SALES SCREEN"
    xdotool key Escape
    expect "main screen after a sale" corner "Zorvi"
    xdotool key e
    expect "expense screen" corner "EXPENSE SCREEN"
    xdotool key Escape
    expect "main screen after an expense" corner "Zorvi"
    xdotool key s
    expect "sales screen again" corner "SALES SCREEN"
    xdotool key Escape
    expect "main screen after the second sale" corner "Zorvi"
    xdotool key m s
    expect "setup screen" corner "CONFIGURE ZORVI"
    xdotool key alt+x
    expect "main screen after setup" corner "Zorvi"
    xdotool key m i
    expect "inventory update screen" corner "   INVENTORY UPDATE"
    xdotool key Escape
    expect "main screen after the inventory" corner "Zorvi"
    xdotool key m p
    expect "price list editor" corner "PRICE LIST SCREEN"
    xdotool key alt+x
    expect "main screen after the price list" corner "Zorvi"
    xdotool key w
    expect "view and print screen" corner "  VIEW & PRINT"
    xdotool key Escape
    expect "main screen after view and print" corner "Zorvi"
    # Exit asks whether to consolidate, over today's totals.
    xdotool key alt+x
    sleep 1
    all_within "the question at exit"
    shot "question-at-exit"
    xdotool key y
    expect "consolidation screen" centre "ZORVI  CONSOLIDATE"
    xdotool key alt+x
    stop
}

# Every caption and label of the eight screens fits its control in the fonts
# that a real display under the window manager gives it.
check_captions() {
    echo "== 640x480: captions measured under the window manager"
    start_display 640x480 display-captions
    ZORVI_TEST_PLATFORM=xcb TZ=UTC LC_ALL=C "$build/tests/ui_tests" --gtest_filter='ScreenTexts.*' \
        >"$work/captions.log" 2>&1 || { cat "$work/captions.log"; fail "a caption is clipped under the window manager"; }
    stop
}

check_display 640x480 1
check_display 1920x1080 2
check_captions
exit $failed
