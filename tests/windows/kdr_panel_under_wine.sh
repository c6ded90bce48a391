#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kdr-panel.exe under Wine, end to end over COM ports, beside the Linux build of the
# same sources:
#   kdr_panel_under_wine.sh KDR-PANEL.EXE PANEL-SIM KDR-PANEL
# Each case runs the Linux kdr-panel against panel-sim on a pseudo-terminal, then
# kdr-panel.exe against a fresh panel-sim whose pseudo-terminal is a COM port of the
# Wine prefix (scripts/wine-run --com), and checks on both: the exit status, what the
# case is about, and the wire. Both builds must send the same frames, each as long
# after the one before as in the other build (within 30 ms); where the panel answers
# at once, each command comes at once after a write's acknowledgement or one tick
# (100-130 ms) after the command before, so that a doubled wait fails.
set -uo pipefail
exe=$(realpath "$1") sim=$(realpath "$2") linux=$(realpath "$3")
wine_run="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-run"
here=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$here"' EXIT
failures=0
pass() { printf '  ok    %s\n' "$*"; }
fail() { printf '  FAIL  %s\n' "$*"; failures=$((failures + 1)); }
check() { # what command...: passes when the command succeeds
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

# The frames sent, one per line, and their times in ms, from a --trace.
sent_frames() { tr -d '\r' <"$1" | sed -n 's/^kdr\.link: [0-9.]* ms .* -> //p'; }
sent_times() { tr -d '\r' <"$1" | sed -n 's/^kdr\.link: \([0-9.]*\) ms .* -> .*/\1/p'; }
gaps() { sent_times "$1" | awk 'NR > 1 { printf "%.1f\n", $1 - last } { last = $1 }'; }
# Every command at once (under 30 ms: a read-back after its acknowledgement) or one
# tick after the command before.
paced() {
    gaps "$1" | awk '($1 >= 30 && $1 < 100) || $1 > 130 { bad = 1; print "        a gap of " $1 " ms" }
        END { exit bad || NR < 1 }'
}
# The two traces' gaps, one beside the other, none more than 30 ms apart (a doubled wait is 100).
same_timing() {
    paste -d' ' <(gaps "$1") <(gaps "$2") | awk '{ d = $1 - $2; if (d < 0) d = -d }
        d > 30 { bad = 1; print "        gap " NR ": " $1 " ms (Linux) against " $2 " ms (Windows)" } END { exit bad }'
}
same_wire() { diff <(sent_frames "$1") <(sent_frames "$2") >/dev/null && same_timing "$1" "$2"; }

# Starts panel-sim with a link at $here/NAME; the rest are its options.
start_panel() {
    local name=$1
    shift
    "$sim" "$@" --link "$here/$name" >"$here/$name.sim" 2>&1 &
    for _ in $(seq 100); do [ -e "$here/$name" ] && return 0; sleep 0.05; done
    return 1
}
stop_panels() { kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; }

# run_on SIDE CASE PANELS SIM-OPTIONS ARGUMENTS...: one build's run of a case against
# PANELS fresh panels, in the side's own folder ($here/linux or $here/windows); @1@
# and @2@ in the arguments stand for the first and second port. Leaves
# CASE-SIDE.{out,err,status} and each panel's log.
run_on() {
    local side=$1 name=$2 panels=$3 sim_options=$4 i a
    shift 4
    local args=() coms=() status
    for i in $(seq "$panels"); do
        # shellcheck disable=SC2086
        start_panel "$name-$side-$i" $sim_options || { fail "$name: no simulator"; return; }
        coms+=(--com "COM$((4 + i))=$(readlink -f "$here/$name-$side-$i")")
    done
    for a in "$@"; do
        for i in $(seq "$panels"); do
            [ "$side" = linux ] && a=${a//@$i@/$here/$name-$side-$i} || a=${a//@$i@/COM$((4 + i))}
        done
        args+=("$a")
    done
    if [ "$side" = linux ]; then
        (cd "$here/$side" && "$linux" "${args[@]}" --trace >"../$name-$side.out" 2>"../$name-$side.err")
    else
        (cd "$here/$side" && "$wine_run" "${coms[@]}" "$exe" "${args[@]}" --trace >"../$name-$side.out" \
            2>"../$name-$side.err")
    fi
    status=$?
    echo "$status" >"$here/$name-$side.status"
    stop_panels
}

# on_both CASE STATUS PANELS SIM-OPTIONS ARGUMENTS...: the case on both builds; both
# end with STATUS and put the same wire on each port.
on_both() {
    local name=$1 want=$2 panels=$3 got_linux got_windows i
    run_on linux "$name" "$panels" "$4" "${@:5}"
    run_on windows "$name" "$panels" "$4" "${@:5}"
    got_linux=$(cat "$here/$name-linux.status") got_windows=$(cat "$here/$name-windows.status")
    if [ "$got_linux" = "$want" ] && [ "$got_windows" = "$want" ]; then pass "$name: exit $want"; else
        fail "$name: exit $got_windows (Linux build: $got_linux), expected $want"
        sed 's/^/        /' "$here/$name-windows.out" "$here/$name-windows.err" | grep -v 'kdr\.link' | head -n 12
    fi
    # Each port's part of the trace on its own.
    for i in $(seq "$panels"); do
        grep -a -F " $here/$name-linux-$i " "$here/$name-linux.err" >"$here/$name-linux-$i.trace"
        grep -a -F " COM$((4 + i)) " "$here/$name-windows.err" >"$here/$name-windows-$i.trace"
        if same_wire "$here/$name-linux-$i.trace" "$here/$name-windows-$i.trace"; then
            pass "$name: the same wire as the Linux build ($(sent_frames "$here/$name-windows-$i.trace" | wc -l) frames)"
        else
            fail "$name: the wire differs from the Linux build's"
            diff <(sent_frames "$here/$name-linux-$i.trace") <(sent_frames "$here/$name-windows-$i.trace") | head -n 6
        fi
    done
}
out() { cat "$here/$1-windows.out"; }
err() { cat "$here/$1-windows.err"; }
stored() { sed -n 's/^stored //p' "$here/$1-windows-${2:-1}.sim" | tail -n 1; }

codes=13,160,159,0,25,99,150,42,7,158
file_line='"COACH","",1,"",2,"",3,"",4,"",5,"",6,"",7,"",8,"",159,"",160,159'
for side in linux windows; do
    mkdir -p "$here/$side"
    printf '%s\r\n' "$file_line" >"$here/$side/coach.kdc"
    printf '%s\r\n' '"COACH","",13,"",160,"",159,"",0,"",26,"",99,"",150,"",42,"",7,"",160,159' \
        >"$here/$side/other.kdc"
done

echo "kdr-panel.exe through COM ports, beside the Linux build"
on_both read 0 1 "--codes $codes" read --port @1@ --output sample.kdc --name SAMPLE
check "read: the file is byte for byte the Linux build's" cmp -s "$here/linux/sample.kdc" "$here/windows/sample.kdc"
check "read: every command paced" paced "$here/read-windows-1.trace"
check "read: the ten codes shown" grep -q '^SW10  P  9  (158)' <(out read)

on_both write 0 2 "" write coach.kdc --port @1@ --port @2@
check "write: both panels programmed" test "$(stored write 1)" = "1,2,3,4,5,6,7,8,159,160,159" -a \
    "$(stored write 2)" = "1,2,3,4,5,6,7,8,159,160,159"
check "write: one handshake, eleven writes each with its read-back" \
    test "$(sent_frames "$here/write-windows-1.trace" | wc -l)" = 23
check "write: every command paced" paced "$here/write-windows-1.trace"

on_both verify-differs 1 1 "--codes $codes" verify other.kdc --port @1@
check "verify: the differences named" grep -q '^SW5   panel C  6  (25)  file C  7  (26)' <(out verify-differs)

on_both silent 4 1 "--silent" read --port @1@
check "silent: six handshakes a tick apart" test "$(grep -c ' <- 41$' "$here/silent-windows-1.sim")" = 6
check "silent: paced" paced "$here/silent-windows-1.trace"

on_both late 0 1 "--delay 60 --codes $codes" read --port @1@
on_both dripped 0 1 "--drip 12 --codes $codes" read --port @1@
on_both junk 5 1 "--read-reply 3=XYZZY" read --port @1@
check "junk: stopped at SW4" grep -q 'bad switch panel data at SW4' <(err junk)
on_both hang-up 5 1 "--hang-up-after 6" read --port @1@ --json
check "hang-up: the lost connection said" grep -q 'the connection was lost' <(err hang-up)
check "hang-up: stopped at SW5, the switch it hit" grep -q '"failedSwitch":5' <(out hang-up)

# A configuration sheet from a read, drawn with Windows' own fonts: the same text, in
# the same order, as the Linux build's in Wine's locale (en-US: Letter); its page
# rendered beside the programs (sheet-windows.png) holds the panel's face.
on_both read-sheet 0 1 "--codes $codes" read --port @1@ --output sheet.kdc --sheet sheet.pdf
sheet_text() { pdftotext -raw "$1" - | sed 's/ MADE .* KDR / MADE KDR /'; }
check "sheet: the Linux build's text and order" diff <(sheet_text "$here/windows/sheet.pdf") \
    <(LC_ALL=en_US.UTF-8 "$linux" sheet "$here/windows/sheet.kdc" --output "$here/linux/again.pdf" &&
        sheet_text "$here/linux/again.pdf")
check "sheet: SW6 J 10 99, on Letter paper" \
    test "$(sheet_text "$here/windows/sheet.pdf" | grep -c '^SW6 J 10 99')" = 1 -a \
    "$(pdfinfo "$here/windows/sheet.pdf" | grep -c 'letter')" = 1
pdftoppm -r 50 -png -singlefile "$here/windows/sheet.pdf" "$(dirname "$exe")/../sheet-windows"
# The share of the page in the face's grey.
face=$(convert "$(dirname "$exe")/../sheet-windows.png" -fuzz 3% -fill magenta -opaque 'rgb(96,94,93)' -fuzz 0 \
    -fill black +opaque magenta -fill white -opaque magenta -format '%[fx:mean]' info: 2>/dev/null || echo 0)
check "sheet: the panel's face on the page ($face of it)" awk -v f="$face" 'BEGIN { exit !(f > 0.12) }'

# Finding the panel: three COM ports greeted at once, the one with a panel named; the
# others hear handshakes only.
for i in 1 2 3; do
    # shellcheck disable=SC2046
    start_panel "find-$i" $([ "$i" = 2 ] || echo --silent) || fail "find: no simulator"
done
began=$(date +%s%N)
"$wine_run" --com COM5="$(readlink -f "$here/find-1")" --com COM6="$(readlink -f "$here/find-2")" \
    --com COM7="$(readlink -f "$here/find-3")" "$exe" find --port COM5 --port COM6 --port COM7 >"$here/find.out" 2>&1
status=$?
took=$((($(date +%s%N) - began) / 1000000))
stop_panels
check "find: exit $status, SWITCH PANEL FOUND ON COM6 ($took ms with Wine's start)" \
    grep -q 'SWITCH PANEL FOUND ON COM6' "$here/find.out"
check "find: only handshakes to the silent ports" \
    test "$(cat "$here"/find-[13].sim | grep -c ' <- ')" = "$(cat "$here"/find-[13].sim | grep -c ' <- 41$')"

# Without the modem-status stand-in Wine 10 cancels the comm-event wait on a
# pseudo-terminal (ERROR_OPERATION_ABORTED), as a driver does for a removed device.
start_panel cancelled || fail "cancelled: no simulator"
"$wine_run" --no-modem-status --com COM5="$(readlink -f "$here/cancelled")" "$exe" read --port COM5 \
    >"$here/cancelled.out" 2>"$here/cancelled.err"
status=$?
stop_panels
check "a cancelled wait: exit 5 (got $status)" test "$status" = 5
check "a cancelled wait: the lost connection said" grep -q 'the connection was lost' "$here/cancelled.err"

# No such port: nothing to compare on the wire.
"$wine_run" "$exe" read --port COM9 >"$here/missing.out" 2>"$here/missing.err"
status=$?
check "a port that does not exist (COM9): exit 3 (got $status)" test "$status" = 3

# Ctrl+C in the middle of a write: Wine turns SIGINT into the console's Ctrl+C event.
start_panel ctrl-c || fail "ctrl-c: no simulator"
(cd "$here/windows" && exec "$wine_run" --com COM5="$(readlink -f "$here/ctrl-c")" "$exe" write coach.kdc --port COM5 \
    --trace >"$here/ctrl-c.out" 2>"$here/ctrl-c.err") &
program=$!
# Up to 15 s for the eighth frame, as Wine may be slow to start on a machine that has
# just built Qt; a write that ends first fails the checks below.
for _ in $(seq 750); do
    [ "$(sent_frames "$here/ctrl-c.err" | wc -l)" -ge 8 ] && break
    kill -0 $program 2>/dev/null || break
    sleep 0.02
done
kill -INT $program
wait $program
status=$?
sleep 0.3 # nothing may follow the stop: give a late frame time to show
frames=$(sent_frames "$here/ctrl-c.err" | wc -l)
received=$(grep -c ' <- ' "$here/ctrl-c.sim")
check "Ctrl+C during a write: exit 130 (got $status)" test "$status" = 130
check "Ctrl+C: stopped after $frames of 23 frames, nothing sent after" test "$frames" -lt 23 -a "$received" = "$frames"
stop_panels

echo "kdr-panel.exe station through two COM ports, three panels each in turn"
start_panel station-1 --plug-cycle 2500,2500,3 || fail "station: no simulator"
start_panel station-2 --plug-cycle 2500,2500,3 || fail "station: no simulator"
(cd "$here/windows" && "$wine_run" --com COM5="$(readlink -f "$here/station-1")" \
    --com COM6="$(readlink -f "$here/station-2")" "$exe" station coach.kdc --port COM5 --port COM6 --count 3 \
    --log station.jsonl >"$here/station.out" 2>"$here/station.err")
status=$?
stop_panels
check "station: exit $status, six panels programmed" test "$status" = 0 -a \
    "$(grep -cE 'HAS BEEN PROGRAMMED  1\.[0-9] s' "$here/station.out")" = 6
"$wine_run" "$exe" log 'Z:'"$(echo "$here/windows/station.jsonl" | tr / '\\')" --csv >"$here/station.csv"
sha=$(sha256sum <"$here/windows/coach.kdc" | cut -d' ' -f1)
check "station: six lines in the record, each with the file's SHA-256 and the codes read back" \
    test "$(grep -c ",station,COM[56],,,coach.kdc,$sha,COACH,1 2 3 4 5 6 7 8 159 160,1 2 3 4 5 6 7 8 159 160," \
        "$here/station.csv")" = 6
check "station: the CSV starts with a byte order mark" test "$(head -c 3 "$here/station.csv" | od -An -tx1 | tr -d ' ')" = efbbbf
check "station: each panel programmed once" test "$(grep -c ' <- 53 00 00 ' "$here/station-1.sim")" = 3

echo "names, text and ports as a hostile user gives them"
names="$here/names"
mkdir -p "$names/sub"
cd "$names" || exit 1
run_exe() { "$wine_run" "$exe" "$@" >"$here/exe.out" 2>"$here/exe.err"; echo $?; }
exe_err() { cat "$here/exe.err"; }
"$wine_run" "$exe" read --simulated-panel --output COACH.kdc >/dev/null
cp COACH.kdc before.kdc
# Windows' ANSI arguments would have made these COACH.kdc, sub/evil.kdc, C:\windows\win.ini and "?".
status=$(run_exe read --simulated-panel --output ＣＯＡＣＨ.kdc --name COACH)
check "full-width ＣＯＡＣＨ.kdc is a file of its own (exit $status)" test "$status" = 0 -a -f ＣＯＡＣＨ.kdc
check "COACH.kdc is left as it was" cmp -s COACH.kdc before.kdc
status=$(run_exe read --simulated-panel --output 'sub∕evil.kdc')
check "'sub∕evil.kdc' is a name, not a folder (exit $status)" test "$status" = 0 -a -f 'sub∕evil.kdc' -a ! -e sub/evil.kdc
status=$(run_exe show '..∕..∕windows∕win.ini')
check "show '..∕..∕windows∕win.ini' reads no win.ini (exit $status)" test "$status" = 2
status=$(run_exe read --simulated-panel --output x.kdc --name Ж)
check "--name Ж is refused by name (exit $status)" grep -q 'cannot store "Ж"' "$here/exe.err"
# A console expects its own code page: the text reaches it as wide characters.
printf '"CAF\xc9","",1,"",2,"",3,"",4,"",5,"",6,"",7,"",8,"",159,"",160,159\r\n' >cafe.kdc
script -q -c "'$wine_run' '$exe' show cafe.kdc" /dev/null >console.out 2>&1
check "a console shows CAFÉ" grep -q 'PANEL NAME  CAFÉ' console.out
check "a pipe gets CAFÉ in UTF-8" grep -q 'PANEL NAME  CAFÉ' <("$wine_run" "$exe" show cafe.kdc)
for port in CON NUL 'C:\windows\win.ini'; do
    status=$(run_exe read --port "$port")
    check "--port $port: exit $status, NOT A SERIAL PORT" \
        grep -qF "SERIAL PORT $port COULD NOT BE OPENED - NOT A SERIAL PORT" "$here/exe.out"
done
check "a backslash in a path is shown as it is" grep -qF 'C:\windows\win.ini: could not open' "$here/exe.err"
start_panel names || fail "names: no simulator"
for output in CON.kdc 'a?.kdc' 'a.kdc:evil' "$(printf 'a%.0s' $(seq 300)).kdc"; do
    status=$("$wine_run" --com COM5="$(readlink -f "$here/names")" "$exe" read --port COM5 --output "$output" \
        2>"$here/exe.err" >/dev/null; echo $?)
    check "--output ${output:0:12}: refused before the port opens, in the tool's words (exit $status)" \
        test "$status" = 2 -a "$(grep -c ' <- ' "$here/names.sim")" = 0 -a \
        "$(grep -c 'cannot save there' "$here/exe.err")" = 1 -a "$(grep -c QSaveFile "$here/exe.err")" = 0
done
stop_panels
status=$("$wine_run" "$exe" --help >/dev/full 2>"$here/exe.err"; echo $?)
check "--help to a full disk: exit $status, said" test "$status" = 6 -a -s "$here/exe.err"
"$wine_run" "$exe" --help >"$here/help.txt"
check "--help fits 79 columns and names COM ports" \
    test "$(tr -d '\r' <"$here/help.txt" | awk 'length($0) > 79' | wc -l)" = 0 -a "$(grep -c ttyUSB "$here/help.txt")" = 0 \
    -a "$(grep -c COM3 "$here/help.txt")" -gt 0
cd "$here" || exit 1

[ "$failures" = 0 ] && echo "kdr-panel.exe under Wine: all passed" || echo "kdr-panel.exe under Wine: $failures failed"
exit $((failures > 0))
