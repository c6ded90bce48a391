#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kdr-panel station's costs and pace, against panel-sim on pseudo-terminals:
#   station_bench.sh BUILD [SECONDS]   (default 20)
# 1. four ports with no panel on their cables for SECONDS: the station's CPU time
#    against the wall time (goal under 1 % of a core);
# 2. four ports, four panels each plugged in and out in turn: from a panel's plugging
#    in to its greeting (goal at most a second), from its first answer to its first
#    write, and each panel's wall time against the write's 12-tick floor.
set -uo pipefail
build=$(realpath "$1") seconds=${2:-20}
here=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$here"' EXIT
printf '%s\r\n' '"COACH","",1,"",2,"",3,"",4,"",5,"",6,"",7,"",8,"",159,"",160,159' >"$here/coach.kdc"

start_panels() { # options...: four panel-sims, links $here/p1 … p4
    local i
    for i in 1 2 3 4; do "$build/bin/panel-sim" "$@" --link "$here/p$i" >"$here/p$i.log" 2>&1 & done
    for i in 1 2 3 4; do for _ in $(seq 100); do [ -e "$here/p$i" ] && break; sleep 0.05; done; done
}
ports() { for i in 1 2 3 4; do printf -- '--port %s ' "$here/p$i"; done; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; } # utime + stime, in clock ticks

start_panels --silent
# shellcheck disable=SC2046
"$build/bin/kdr-panel" station "$here/coach.kdc" $(ports) >/dev/null &
station=$!
sleep 2 # past the start
before=$(ticks $station) began=$(date +%s%N)
sleep "$seconds"
used=$(($(ticks $station) - before)) wall=$((($(date +%s%N) - began) / 1000000))
kill -INT $station
wait $station 2>/dev/null
kill $(jobs -p) 2>/dev/null
wait 2>/dev/null
awk -v t="$used" -v hz="$(getconf CLK_TCK)" -v w="$wall" \
    'BEGIN { printf "four idle ports: %.2f %% of a core over %.0f s (goal under 1 %%)\n", 100 * t / hz * 1000 / w, w / 1000 }'

start_panels --plug-cycle 2500,2500,4
# shellcheck disable=SC2046
"$build/bin/kdr-panel" station "$here/coach.kdc" $(ports) --count 4 --log "$here/line.jsonl" >/dev/null
for i in 1 2 3 4; do cat "$here/p$i.log"; echo "end"; done | awk '
    /^panel on/ { plugged = 0; greeted = ""; written = "" }
    /panel plugged in/ { plugged = $1; greeted = ""; written = "" }
    / <- 41$/ && plugged != "" && greeted == "" { greeted = $1 }
    / <- 53 00 00 / && greeted != "" && written == "" {
        written = $1; waits[++n] = greeted - plugged; toWrite[n] = written - greeted }
    END {
        for (i = 1; i <= n; i++) { w += waits[i]; if (waits[i] > most) most = waits[i]; f += toWrite[i] }
        printf "%d panels: plugged in to greeted %.0f ms on average, %.0f ms at most (goal 1000 ms); first answer to first write %.0f ms on average\n", n, w / n, most, f / n }'
"$build/bin/kdr-panel" log "$here/line.jsonl" --csv | tail -n +2 | awk -F, '{ s += $NF; if ($NF > m) m = $NF; n++ }
    END { printf "wall time of a panel: %.3f s on average, %.3f s at most; against the 12-tick floor %.4f (goal 1.03 or less)\n", s / n, m, s / n / 1.2 }'
