#!/usr/bin/env bash
# The window against the console program, both under Wine on the same 5,000,000-line
# file (the conversion benchmark's, cached under build/bench): a whole run through the
# real window (Text4 set, Command2 clicked, completion box answered) and quenlo-split.exe,
# alternately, after a warm-up. Reports median times, their ratios, and the longest
# gap between two ticks of a 10 ms timer of the window's thread during the runs: an
# upper bound of the longest stretch without a message pump.
#
# The window's own figure is the run, from the click to the completion box: starting
# the process and mapping its window cost Wine about 2-3 s on a display without a
# window manager, which no user's run includes. The console figure is its whole
# process, start-up included, so the run ratio is, if anything, unkind to the window.
#
# Then the costly-line case: a 20,000-line file with Text7 = "1", so that every line
# opens a file of its own. STOPS runs, each stopped by a mouse click on Command2 after
# STOP_MS: the longest timer gap, how far Label6 fell behind the wall clock, and the
# time from the click to Command2 reading "开始处理". (Not run to its end: under Wine
# every file opened in a folder of n files costs a scan of the folder, and a whole
# run takes some 20 minutes.)
#
# Usage: bench/window/window_benchmark.sh [PAIRS [STOPS [STOP_MS [all|5m|one]]]]
#        (defaults 3, 3, 10000, all; needs scripts/build.sh). QUENLO_BENCH_TREE names
#        another Windows build tree to measure (default build/win64), e.g. main's.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
pairs=${1:-3}
stops=${2:-3}
stop_ms=${3:-10000}
which=${4:-all}
work=build/bench
tree=${QUENLO_BENCH_TREE:-build/win64}
driver=$tree/bench/window/quenlo_window_bench.exe
console=$tree/cli/quenlo-split.exe
mkdir -p "$work"
for exe in "$driver" "$console"; do
    [[ -f $exe ]] || { echo "missing $exe: run scripts/build.sh first" >&2; exit 1; }
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

five_million() {
    local lines=$work/lines-5m.txt results measured c w r g
    if [[ ! -f $lines ]]; then
        echo "== generating $lines (once)"
        python3 bench/make_lines.py "$lines.part" 5000000 && mv "$lines.part" "$lines"
    fi

    cat >"$work/window_runs.sh" <<RUNS
set -e
wall() { awk -v a="\$1" -v b="\$2" 'BEGIN { printf "%.3f", b - a }'; }
for ((i = 0; i <= $pairs; i++)); do
    rm -rf "$work/out-console" "$work/out-window"
    start=\$EPOCHREALTIME
    /usr/lib/wine/wine64 "$console" --out "$work/out-console" "$lines" 30000 >/dev/null 2>&1 </dev/null
    end=\$EPOCHREALTIME
    console=\$(wall \$start \$end)
    start=\$EPOCHREALTIME
    figures=\$(/usr/lib/wine/wine64 "$driver" "$lines" "$work/out-window" 30000 2>/dev/null </dev/null)
    end=\$EPOCHREALTIME
    echo "\$i \$console \$(wall \$start \$end) \$figures"
done
cmp <(cat "$work"/out-console/*) <(cat "$work"/out-window/*) >/dev/null && echo same || echo DIFFERENT
RUNS

    echo "== 5M lines under Wine: quenlo-split.exe and the window, $pairs pairs after a warm-up"
    results=$(scripts/windows_session.sh bash "$work/window_runs.sh")
    rm -rf "$work/out-console" "$work/out-window" "$work/window_runs.sh"

    # Columns: pair, console wall s, window process wall s, window run s, longest gap ms,
    # 99th-percentile gap ms, gaps, click to first tick ms, last tick to completion ms,
    # Label6 behind, stop latency
    echo "$results" | awk '$1 == 0 { printf "   warm-up: console %s s, window %s s\n", $2, $3 }
                           $1 > 0 && NF == 13 { printf "   pair %s: console %s s, window %s s (run %s s), longest timer gap %s ms, 99%% %s ms over %s gaps; start %s ms, end %s ms\n", $1, $2, $3, $4, $5, $6, $7, $8, $9 }'
    measured=$(echo "$results" | awk '$1 > 0 && NF == 13')
    c=$(echo "$measured" | awk '{ print $2 }' | median)
    w=$(echo "$measured" | awk '{ print $3 }' | median)
    r=$(echo "$measured" | awk '{ print $4 }' | median)
    g=$(echo "$measured" | awk '{ print $5 }' | sort -n | tail -n 1)
    echo "   median: console $c s; window run $r s, ratio $(ratio "$r" "$c") (target <= 1.3);" \
         "window process $w s, ratio $(ratio "$w" "$c")"
    echo "   longest timer gap over all window runs: $g ms (target <= 50)"
    echo "   load average: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "   outputs of the last pair: $(echo "$results" | tail -n 1)"
}

one_line_per_file() {
    local input=$work/lines-20k.txt results
    if [[ ! -f $input ]]; then
        python3 bench/make_lines.py "$input.part" 20000 && mv "$input.part" "$input"
    fi
    cat >"$work/window_one_runs.sh" <<RUNS
set -e
for ((i = 1; i <= $stops; i++)); do
    rm -rf "$work/out-one"
    echo "stop \$(/usr/lib/wine/wine64 "$driver" "$input" "$work/out-one" 1 $stop_ms 2>/dev/null </dev/null)" \\
         "\$(ls "$work/out-one" | wc -l) \$(cat "$work"/out-one/* | grep -c \$'\\r\$')"
done
RUNS
    echo "== 20,000 lines, Text7 = 1, under Wine: $stops runs stopped by a click after $stop_ms ms"
    results=$(scripts/windows_session.sh bash "$work/window_one_runs.sh")
    rm -rf "$work/out-one" "$work/window_one_runs.sh"
    # Columns after the tag: run s, longest gap ms, 99% gap ms, gaps, start ms, end ms,
    # Label6 behind, stop latency ms, click taken from the queue ms, Label7's total,
    # files written, lines in them. Gaps: up to the stop click.
    echo "$results" | awk '$1 == "stop" && NF == 13 { printf "   run: %s s, longest timer gap %s ms, 99%% %s ms over %s gaps; Label6 at most %s s behind the wall clock; click to \"开始处理\" %s ms (taken from the queue after %s ms); Label7 %s, %s files holding %s lines\n", $2, $3, $4, $5, $8, $9, $10, $11, $12, $13 }'
    echo "   median stop latency: $(echo "$results" | awk '$1 == "stop" && NF == 13 { print $9 }' | median) ms" \
         "(target <= 100); longest gap: target <= 50 ms; Label6: never more than 1 s behind"
    echo "   load average: $(cut -d' ' -f1-3 /proc/loadavg)"
}

case $which in
    5m) five_million ;;
    one) one_line_per_file ;;
    *) five_million; one_line_per_file ;;
esac
