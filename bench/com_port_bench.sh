#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A full panel read and a full panel write, against panel-sim answering at once, by the
# Linux kdr-panel on a pseudo-terminal and by kdr-panel.exe under Wine on a COM port
# that is one, in the same run: each operation's own time (kdr-panel's "seconds")
# against its pacing floor, 11 ticks for a read and 12 for a write. Beside them, what
# each system's own timer and line cost without the tool (bench/line_floor.cpp).
#   com_port_bench.sh BUILD-WINDOWS BUILD [ROUNDS]   (default 5)
# Exits 1 when a median is above 1.02 × its floor (1.122 s and 1.224 s).
set -uo pipefail
windows_build=$(realpath "$1") linux_build=$(realpath "$2") rounds=${3:-5}
exe=$windows_build/bin/kdr-panel.exe sim=$linux_build/bin/panel-sim linux=$linux_build/bin/kdr-panel
wine_run="$(cd "$(dirname "$0")/.." && pwd)/scripts/wine-run"
here=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$here"' EXIT
printf '%s\r\n' '"COACH","",1,"",2,"",3,"",4,"",5,"",6,"",7,"",8,"",159,"",160,159' >"$here/coach.kdc"

"$sim" --link "$here/panel" >/dev/null 2>&1 &
for _ in $(seq 100); do [ -e "$here/panel" ] && break; sleep 0.05; done
tty=$(readlink -f "$here/panel")

# seconds SIDE COMMAND...: the operation's time, from its JSON line.
seconds() {
    local side=$1
    shift
    if [ "$side" = linux ]; then "$linux" "$@" --port "$here/panel" --json; else
        "$wine_run" --com COM5="$tty" "$exe" "$@" --port COM5 --json
    fi | sed -n 's/.*"seconds":\([0-9.]*\).*/\1/p'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

worst=0
echo "the system alone, Linux: $("$linux_build/bench/line-floor" "$tty" 20)"
echo "the system alone, Wine:  $("$wine_run" --com COM5="$tty" "$windows_build/bench/line-floor.exe" COM5 20 | tr -d '\r')"
for side in linux windows; do
    for operation in read write; do
        ticks=11
        arguments=(read)
        [ $operation = write ] && ticks=12 arguments=(write "$here/coach.kdc")
        m=$(for _ in $(seq "$rounds"); do seconds $side "${arguments[@]}"; done | median)
        ratio=$(awk -v m="$m" -v t="$ticks" 'BEGIN { printf "%.4f", m / (t * 0.1) }')
        label="Linux build on a pseudo-terminal"
        [ $side = windows ] && label="Windows build under Wine on COM5"
        echo "$label: full $operation $m s (median of $rounds), wall / pacing floor ($ticks ticks) = $ratio (goal 1.02 or less)"
        awk -v r="$ratio" 'BEGIN { exit !(r > 1.02) }' && worst=1
    done
done
exit $worst
