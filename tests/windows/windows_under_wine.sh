#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Both window programs under Wine on Xvfb:
#   windows_under_wine.sh BIN-DIR PANEL-SIM [SCREENSHOT.png]
# Each shows the program's title and a 736 × 594 client area (without a window
# manager an X window is exactly the client area). The focus starts on the read
# button, so a space reads: the simulated one reads its sample panel, and the tool
# reads panel-sim holding the same sample over a COM port. Both turn the status box
# green and, with the same panel read, show the same picture pixel for pixel (the
# simulated one is saved, build-windows/simulated-read.png by default), and the
# simulated one's system menu (Alt+Space) ends in the tool's extras, the last of which
# shows the About box (the menu's picture: system-menu.png). Then the tool,
# started with a file over another COM port, writes it by keyboard (Tab, space) and
# panel-sim holds the file's codes. Last, at 96, 120 and 144 DPI (100, 125 and 150 %) on the
# 1366 × 768 screen of a small laptop, the window is drawn at the largest scale that
# fits, above 100 %, in its own proportions, and still reads (pictures beside the
# simulated one: window-at-96-dpi.png and so on).
set -uo pipefail
bin=$(realpath "$1") sim=$(realpath "$2")
shot=${3:-$bin/../simulated-read.png}
wine_run="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-run"
title="RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM"
sample=0,13,25,37,160,159,42,58,160,99
here=$(mktemp -d)
failures=0
pass() { printf '  ok    %s\n' "$*"; }
fail() { printf '  FAIL  %s\n' "$*"; failures=$((failures + 1)); }

# The display's scale, as Windows keeps it for the user.
set_dpi() {
    "$wine_run" --server -k 2>/dev/null
    "$wine_run" --server -w
    "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    "$wine_run" --server -k 2>/dev/null
    "$wine_run" --server -w
}
# From 100 %, in a Wine session of its own: one started earlier without a display
# (the console tests) would keep the windows from it.
set_dpi 96

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $(jobs -p) 2>/dev/null; "$wine_run" --server -k 2>/dev/null; rm -rf "$here"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# Waits for a window whose name is exactly $1 and prints its id.
window_named() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "^$(printf '%s' "$1" | sed 's/[][\.*^$]/\\&/g')\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
client_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
client_place() { xwininfo -id "$1" | awk '/upper-left X:/ {x=$4} /upper-left Y:/ {y=$4} END {print x, y}'; }
# Takes pictures of window $1 into $2 until the status box (256, 112; 217 × 41 pixels
# at 100 %, scaled to a client area $3 pixels wide) is green as after a whole read or
# write; fails after six seconds.
turns_green() {
    local green=0 box
    box=$(awk -v w="${3:-736}" 'BEGIN { s = w / 736; printf "%dx%d+%d+%d", 217 * s, 41 * s, 256 * s, 112 * s }')
    for _ in $(seq 60); do
        sleep 0.1
        import -window "$1" "$2" 2>/dev/null || continue
        green=$(convert "$2" -crop "$box" -fill black +opaque 'rgb(0,255,0)' \
            -fill white -opaque 'rgb(0,255,0)' -format '%[fx:mean]' info: 2>/dev/null || echo 0)
        [ "$(awk -v g="${green:-0}" 'BEGIN { print (g > 0.45) }')" = 1 ] && return 0
    done
    return 1
}
# Starts panel-sim with a link at $here/NAME; the rest are its options.
start_panel() {
    local name=$1
    shift
    "$sim" "$@" --link "$here/$name" >"$here/$name.sim" 2>&1 &
    for _ in $(seq 100); do [ -e "$here/$name" ] && return 0; sleep 0.05; done
    return 1
}

# start_window PROGRAM TITLE [wine-run options --] [ARGUMENTS...]: starts it, checks its
# title and client area, and leaves its window id in $id and its process in $pid.
start_window() {
    local program=$1 expected=$2 began shown_ms size
    shift 2
    local options=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    began=$(date +%s%N)
    "$wine_run" "${options[@]}" "$bin/$program.exe" "$@" >/dev/null 2>&1 &
    pid=$!
    if ! id=$(window_named "$expected"); then
        fail "$program.exe: no window titled \"$expected\""
        return 1
    fi
    shown_ms=$((($(date +%s%N) - began) / 1000000))
    pass "$program.exe: titled \"$expected\", shown $shown_ms ms after the start"
    size=$(client_size "$id")
    if [ "$size" = "${expected_size:-736x594}" ] || [ "${expected_size:-}" = any ]; then
        pass "$program.exe: client area $size"
    else fail "$program.exe: client area $size"; fi
    sleep 0.5
}
stop_window() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
keys() { xdotool windowfocus --sync "$id" key --window "$id" "$@"; }

# The simulated window reads its sample panel.
if start_window kdr-switch-panel-simulated "$title - SIMULATED PANEL"; then
    keys space
    if turns_green "$id" "$shot"; then pass "simulated: read by keyboard, the status box green (picture: $shot)"; else
        fail "simulated: read by keyboard, the status box did not turn green"
    fi
    # The extras in the window's system menu, by keyboard: Alt+Space, then the last item.
    shown() { xdotool search --onlyvisible --class kdr-switch-panel-simulated.exe 2>/dev/null | wc -l; }
    before=$(shown)
    keys alt+space
    for _ in $(seq 50); do [ "$(shown)" -gt "$before" ] && break; sleep 0.1; done
    menu_picture="$(dirname "$shot")/system-menu.png"
    read -r left top < <(client_place "$id")
    import -window root -crop "300x260+$left+$top" "$menu_picture" 2>/dev/null
    xdotool key Up Return
    if about=$(window_named "ABOUT THIS PROGRAM"); then
        pass "system menu: Alt+Space, Up, Enter shows ABOUT THIS PROGRAM (picture: $menu_picture)"
        xdotool key --window "$about" Escape
    else fail "system menu: its last item showed no ABOUT THIS PROGRAM"; fi
    stop_window
fi

# The tool reads the same sample from panel-sim over COM5.
start_panel read --codes "$sample" || fail "read: no simulator"
if start_window kdr-switch-panel "$title" --com COM5="$(readlink -f "$here/read")" -- --port COM5; then
    keys space
    if turns_green "$id" "$here/com-read.png"; then pass "COM5: read by keyboard, the status box green"; else
        fail "COM5: read by keyboard, the status box did not turn green"
    fi
    # Everything but the port chooser (16, 305; 161 × 22 pixels), which names its port.
    for picture in "$shot" "$here/com-read.png"; do
        convert "$picture" -fill black -draw 'rectangle 16,305 176,326' "$here/masked-$(basename "$picture")"
    done
    differing=$(compare -metric AE "$here/masked-$(basename "$shot")" "$here/masked-com-read.png" null: 2>&1)
    if [ "$differing" = 0 ]; then pass "COM5: the lists show the panel's codes (the same picture as the simulated read)"
    else
        cp "$here/com-read.png" "${shot%.png}-com5.png"
        fail "COM5: $differing pixels differ from the simulated read (picture: ${shot%.png}-com5.png)"
    fi
    stop_window
fi

# The tool writes a file over COM6, opened from a folder whose name is no Windows-1252
# (as a user's folder C:\Users\Иван would be).
mkdir -p "$here/Иван"
printf '%s\r\n' '"COACH","PORCH",1,"",2,"",3,"",4,"",5,"",6,"",7,"",8,"",159,"",160,159' >"$here/Иван/coach.kdc"
start_panel write || fail "write: no simulator"
if start_window kdr-switch-panel "coach.kdc - $title" --com COM6="$(readlink -f "$here/write")" -- \
    --port COM6 "Z:$(echo "$here/Иван/coach.kdc" | tr / '\\')"; then
    keys Tab space
    if turns_green "$id" "$here/com-write.png"; then pass "COM6: written by keyboard, the status box green"; else
        fail "COM6: written by keyboard, the status box did not turn green"
    fi
    stored=$(sed -n 's/^stored //p' "$here/write.sim" | tail -n 1)
    if [ "$stored" = 1,2,3,4,5,6,7,8,159,160,159 ]; then pass "COM6: the panel holds the file's codes"; else
        fail "COM6: the panel holds $stored"
    fi
    stop_window
fi
for dpi in 96 120 144; do
    set_dpi "$dpi"
    expected_size=any
    [ "$dpi" = 96 ] && expected_size=736x594
    if start_window kdr-switch-panel-simulated "$title - SIMULATED PANEL"; then
        read -r width height < <(client_size "$id" | tr x ' ')
        read -r left top < <(client_place "$id")
        keys space
        picture="$(dirname "$shot")/window-at-$dpi-dpi.png"
        if turns_green "$id" "$here/scaled.png" "$width"; then pass "$dpi DPI: read by keyboard, the status box green"
        else fail "$dpi DPI: read by keyboard, the status box did not turn green"; fi
        import -window root "$picture" 2>/dev/null
        # Larger than at 100 % (at 96 DPI, 100 %), no larger than the full scale, on the
        # screen, 736:594.
        if { [ "$width" -gt 736 ] || [ "$dpi" = 96 ]; } && [ "$width" -le $((736 * dpi / 96)) ] && [ $((top + height)) -le 768 ] &&
            [ "$left" -ge 0 ] && [ $((left + width)) -le 1366 ] &&
            [ "$(awk -v w="$width" -v h="$height" 'BEGIN { r = (w / h) / (736 / 594); print (r > 0.99 && r < 1.01) }')" = 1 ]; then
            pass "$dpi DPI: drawn at ${width}x$height from ($left, $top), on the 1366x768 screen (picture: $picture)"
        else
            fail "$dpi DPI: drawn at ${width}x$height from ($left, $top)"
        fi
        stop_window
    fi
done
set_dpi 96
unset expected_size
kill "$xvfb" 2>/dev/null

[ "$failures" = 0 ] && echo "windows under Wine: all passed" || echo "windows under Wine: $failures failed"
exit $((failures > 0))
