#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Both window programs under Wine on Xvfb:
#   windows_under_wine.sh BIN-DIR [SCREENSHOT.png]
# Each shows the program's title and a 736 × 594 client area (without a window
# manager an X window is exactly the client area). The simulated one is read by
# keyboard, as the focus starts on the read button, and must turn the status box
# green; its picture is saved (build-windows/simulated-read.png by default).
set -uo pipefail
bin=$1
shot=${2:-$bin/../simulated-read.png}
title="RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM"
failures=0
pass() { printf '  ok    %s\n' "$*"; }
fail() { printf '  FAIL  %s\n' "$*"; failures=$((failures + 1)); }

# A Wine session started earlier without a display (the console tests) would keep
# the windows from it: start afresh.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $(jobs -p) 2>/dev/null; wineserver -k 2>/dev/null' EXIT
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

for program in kdr-switch-panel kdr-switch-panel-simulated; do
    expected=$title
    [ "$program" = kdr-switch-panel-simulated ] && expected="$title - SIMULATED PANEL"
    began=$(date +%s%N)
    wine "$bin/$program.exe" >/dev/null 2>&1 &
    pid=$!
    if ! id=$(window_named "$expected"); then
        fail "$program.exe: no window titled \"$expected\""
        kill "$pid" 2>/dev/null
        continue
    fi
    shown_ms=$(( ($(date +%s%N) - began) / 1000000 ))
    pass "$program.exe: titled \"$expected\", shown $shown_ms ms after the start"
    size=$(client_size "$id")
    if [ "$size" = 736x594 ]; then pass "$program.exe: client area $size"; else fail "$program.exe: client area $size"; fi
    if [ "$program" = kdr-switch-panel-simulated ]; then
        sleep 0.5
        xdotool windowfocus --sync "$id" key --window "$id" space
        green=0
        for _ in $(seq 60); do
            sleep 0.1
            import -window "$id" "$shot" 2>/dev/null || continue
            # The status box (256, 112; 217 × 41 pixels) in the green of a whole read.
            green=$(convert "$shot" -crop 217x41+256+112 -fill black +opaque 'rgb(0,255,0)' \
                -fill white -opaque 'rgb(0,255,0)' -format '%[fx:int(mean*w*h)]' info: 2>/dev/null || echo 0)
            [ "${green:-0}" -gt 4000 ] && break
        done
        if [ "${green:-0}" -gt 4000 ]; then pass "read by keyboard: the status box is green (picture: $shot)"; else
            fail "read by keyboard: the status box did not turn green ($green green pixels)"
        fi
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
done
kill "$xvfb" 2>/dev/null

[ "$failures" = 0 ] && echo "windows under Wine: all passed" || echo "windows under Wine: $failures failed"
exit $((failures > 0))
