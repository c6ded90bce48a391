#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kdr-panel.exe under Wine, end to end, next to the Linux build of the same sources:
#   kdr_panel_under_wine.sh KDR-PANEL.EXE PANEL-SIM KDR-PANEL
# Over a COM port of the Wine prefix that is a pseudo-terminal with the simulator at
# its far end: a silent panel (exit 4, six handshakes a tick apart, sent as the Linux
# build sends them) and a port that does not exist (exit 3). Wine 8.0 delivers no
# received byte to Qt Serial Port (see README, "Windows"), so the cases that need
# the panel's answers run on the panel inside the program (--simulated-panel): read
# with --output (the same file as the Linux build's), write (the same wire, commands
# a tick apart, each write followed by its read-back), verify with a difference
# (exit 1), and Ctrl+C during a write (exit 130, nothing more sent).
set -uo pipefail
exe=$(realpath "$1") sim=$(realpath "$2") linux=$(realpath "$3")
here=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$here"' EXIT
failures=0
pass() { printf '  ok    %s\n' "$*"; }
fail() { printf '  FAIL  %s\n' "$*"; failures=$((failures + 1)); }
expect_status() { # what status command...
    local what=$1 want=$2 got
    shift 2
    "$@" >"$here/out" 2>"$here/err"
    got=$?
    if [ "$got" = "$want" ]; then pass "$what: exit $got"; else
        fail "$what: exit $got, expected $want"; sed 's/^/        /' "$here/out" "$here/err" | head -n 20
    fi
}
wine_exe() { wine "$exe" "$@"; }

# Frames sent, one per line, from a --trace on standard error.
sent_frames() { tr -d '\r' <"$1" | sed -n 's/^kdr\.link: [0-9.]* ms [^ ]* -> //p'; }
# The times of the frames sent, in ms.
sent_times() { tr -d '\r' <"$1" | sed -n 's/^kdr\.link: \([0-9.]*\) ms [^ ]* -> .*/\1/p'; }
# Every frame but a read-back must come a tick (100 ms) after the frame before it.
paced_a_tick_apart() {
    paste -d' ' <(sent_times "$1") <(sent_frames "$1" | cut -c1-2) | awk '
        NR > 1 && $2 != "56" && $1 - last < 99.5 { bad = 1; print "        " $1 " ms is " $1 - last " ms after the frame before" }
        { last = $1 } END { exit bad || NR < 2 }'
}

echo "kdr-panel.exe on a COM port that is a pseudo-terminal"
"$sim" --silent --link "$here/panel" >"$here/sim.log" 2>&1 &
for _ in $(seq 50); do [ -e "$here/panel" ] && break; sleep 0.1; done
ln -sfn "$here/panel" "$WINEPREFIX/dosdevices/com5"
# While the program holds the port, the line must be set as the panel needs it.
(
    for _ in $(seq 100); do
        sleep 0.05
        settings=$(stty -F "$(readlink -f "$here/panel")" -a 2>/dev/null)
        [[ "$settings" == *"speed 9600"* ]] && { echo "$settings" >"$here/line-settings"; break; }
    done
) &
expect_status "silent panel on COM5" 4 wine_exe read --port COM5 --trace
cp "$here/err" "$here/silent-windows.trace"
wait $!
if grep -q 'speed 9600' "$here/line-settings" 2>/dev/null && grep -qw cs8 "$here/line-settings" &&
    grep -qw -- -parenb "$here/line-settings" && grep -qw -- -cstopb "$here/line-settings"; then
    pass "the line is set to 9600 8N1"
else
    fail "the line is not set to 9600 8N1"
fi
handshakes=$(grep -c ' <- 41$' "$here/sim.log")
if [ "$handshakes" = 6 ]; then pass "the simulator saw six handshakes"; else fail "the simulator saw $handshakes handshakes"; fi
if paced_a_tick_apart "$here/silent-windows.trace"; then pass "handshakes a tick apart"; else fail "handshakes not a tick apart"; fi
"$linux" read --port "$here/panel" --trace >/dev/null 2>"$here/silent-linux.trace"
if diff <(sent_frames "$here/silent-linux.trace") <(sent_frames "$here/silent-windows.trace") >/dev/null; then
    pass "the same frames as the Linux build"
else
    fail "frames differ from the Linux build's"
fi
rm -f "$WINEPREFIX/dosdevices/com5"
expect_status "a port that does not exist (COM9)" 3 wine_exe read --port COM9

echo "kdr-panel.exe on the panel inside the program"
cd "$here" || exit 1
expect_status "read --output" 0 wine_exe read --simulated-panel --output windows.kdc --name SAMPLE
"$linux" read --simulated-panel --output linux.kdc --name SAMPLE >/dev/null
if cmp -s windows.kdc linux.kdc; then pass "the file is byte for byte the Linux build's"; else fail "the files differ"; fi
expect_status "write" 0 wine_exe write windows.kdc --simulated-panel --trace
cp err write-windows.trace
"$linux" write linux.kdc --simulated-panel --trace >/dev/null 2>write-linux.trace
if diff <(sent_frames write-linux.trace) <(sent_frames write-windows.trace) >/dev/null &&
    [ "$(sent_frames write-windows.trace | grep -c '^41$')" = 1 ] &&
    [ "$(sent_frames write-windows.trace | wc -l)" = 23 ]; then
    pass "one handshake, eleven writes each with its read-back, as the Linux build sends them"
else
    fail "the write's frames differ from the Linux build's"
fi
if paced_a_tick_apart write-windows.trace; then pass "commands a tick apart"; else fail "commands not a tick apart"; fi
sed 's/^"SAMPLE","",0,/"SAMPLE","",1,/' windows.kdc >different.kdc
expect_status "verify a file that differs" 1 wine_exe verify different.kdc --simulated-panel
grep -q 'SW1' out && pass "the difference is named" || fail "the difference is not named"

# Ctrl+C: Wine turns SIGINT into the console's Ctrl+C event.
wine "$exe" write windows.kdc --simulated-panel --trace >/dev/null 2>ctrl-c.trace &
pid=$!
for _ in $(seq 100); do [ "$(sent_frames ctrl-c.trace | wc -l)" -ge 4 ] && break; sleep 0.05; done
kill -INT $pid
wait $pid
status=$?
sent_when_stopped=$(sent_frames ctrl-c.trace | wc -l)
if [ "$status" = 130 ]; then pass "Ctrl+C during a write: exit 130"; else fail "Ctrl+C during a write: exit $status"; fi
if [ "$sent_when_stopped" -ge 1 ] && [ "$sent_when_stopped" -lt 23 ]; then pass "stopped after $sent_when_stopped of 23 frames"; else fail "the write ran to its end"; fi

[ "$failures" = 0 ] && echo "kdr-panel.exe under Wine: all passed" || echo "kdr-panel.exe under Wine: $failures failed"
exit $((failures > 0))
