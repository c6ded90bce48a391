#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The simulated window as a screen reader meets it:
#   accessibility_on_the_bus.sh PATH-TO-kdr-switch-panel-simulated
# Starts a private X server, session bus and accessibility bus, turns accessibility
# on as a screen reader would, and runs the window on the X platform (the
# offscreen one has no accessibility bridge); atspi_client.py then reads the tree,
# presses READ, opens the context menu from the keyboard and checks what reaches the bus.
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${KDR_INSIDE_BUS:-}" ]; then
    display=:$((200 + RANDOM % 300))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null' EXIT
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
    DISPLAY=$display KDR_INSIDE_BUS=1 dbus-run-session -- "$0" "$@" 2> >(grep -v -e '^dbus-daemon' -e 'fd limit' >&2)
    exit $?
fi

dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
    string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null || exit 1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
window=$!
trap 'kill $window 2>/dev/null' EXIT
# Without a window manager nothing gives the window the keyboard; the focus starts
# on the read button once it has it.
for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name 'SIMULATED PANEL$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.1
done
[ -n "$id" ] && xdotool windowfocus --sync "$id"
# Debian's own Python: the GObject bindings are Debian packages.
/usr/bin/python3 "$here/atspi_client.py"
