#!/usr/bin/env bash
# One build against another on the same 5,000,000-line file (the conversion benchmark's,
# cached under build/bench), in one run: did a change of compiler or linker flags cost
# speed?
# - quenlo-split (native): instructions executed, counted by callgrind on the first
#   1,000,000 lines. The count does not depend on the machine's load, so a shared, busy
#   machine gives the same answer as an idle one.
# - quenlo-split.exe and a whole run through the window (bench/window's driver) under
#   Wine: wall and processor times of interleaved pairs (old, new, new, old, ...) after a
#   warm-up, and their medians; load that comes and goes falls on both sides alike. These
#   read and write in memory (/dev/shm): the disk, shared with other work, takes no part.
# Usage: bench/compare_builds.sh OLD_NATIVE_TREE OLD_WIN64_TREE [PAIRS]   (default 5)
#        The new builds are build/native and build/win64 (scripts/build.sh native
#        quenlo-split; win64 quenlo-split quenlo_window_bench). An old tree needs only
#        cli/quenlo-split, or cli/quenlo-split.exe and bench/window/quenlo_window_bench.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
old_native=$1 old_win64=$2 pairs=${3:-5}
work=build/bench
mkdir -p "$work"
lines=$work/lines-5m.txt
if [[ ! -f $lines ]]; then
    echo "== generating $lines (once)"
    python3 bench/make_lines.py "$lines.part" 5000000 && mv "$lines.part" "$lines"
fi
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
change() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%+.2f %%", (b - a) * 100 / a }'; }

echo "== quenlo-split, instructions on 1,000,000 lines (callgrind)"
head -n 1000000 "$lines" >"$work/lines-1m.txt"
declare -A counted
for side in old new; do
    exe=$old_native/cli/quenlo-split
    [[ $side == new ]] && exe=build/native/cli/quenlo-split
    rm -rf "$work/out-count"
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
        "$exe" --out "$work/out-count" "$work/lines-1m.txt" 30000 >/dev/null 2>"$work/callgrind.log"
    counted[$side]=$(sed -n 's/^summary: //p' "$work/callgrind.out")
    echo "   $side: ${counted[$side]} instructions ($exe)"
done
echo "   change: $(change "${counted[old]}" "${counted[new]}")"
rm -rf "$work/out-count" "$work/callgrind.out" "$work/callgrind.log" "$work/lines-1m.txt"

ram=$(mktemp -d /dev/shm/quenlo-compare.XXXXXX)
trap 'rm -rf "$ram"' EXIT
cp "$lines" "$ram/lines-5m.txt"
lines=$ram/lines-5m.txt
cat >"$work/compare_runs.sh" <<RUNS
set -e
# Bash's own timing: wall, user and system seconds to the millisecond.
TIMEFORMAT='%3R %3U %3S'
timed() { { time "\$@" >"$work/stdout.txt" 2>/dev/null </dev/null; } 2>"$work/time.txt"; }
wall_cpu() { awk '{ printf "%.3f %.3f", \$1, \$2 + \$3 }' "$work/time.txt"; }
for ((i = 0; i <= $pairs; i++)); do
    sides="old new"; ((i % 2)) || sides="new old"  # ABBA: a drift favours neither side
    for side in \$sides; do
        tree=$old_win64; [[ \$side == new ]] && tree=build/win64
        rm -rf "$ram/out-compare"
        timed /usr/lib/wine/wine64 "\$tree/cli/quenlo-split.exe" --out "$ram/out-compare" "$lines" 30000
        console=\$(wall_cpu)
        rm -rf "$ram/out-compare"
        timed /usr/lib/wine/wine64 "\$tree/bench/window/quenlo_window_bench.exe" "$lines" "$ram/out-compare" 30000
        echo "\$i \$side \$console \$(cut -d' ' -f1 "$work/stdout.txt") \$(wall_cpu | cut -d' ' -f2)"
    done
done
rm -rf "$ram/out-compare" "$work/time.txt" "$work/stdout.txt"
RUNS
# Wall times, and the processor time (user + system) each process took: the steadier
# figure when other work comes and goes.
echo "== under Wine, 5M lines: $pairs pairs (old, new) after a warm-up pair"
results=$(scripts/windows_session.sh bash "$work/compare_runs.sh" | awk '$1 ~ /^[0-9]+$/ && NF == 6')
rm -f "$work/compare_runs.sh"
echo "$results" | awk '$1 > 0 { printf "   pair %s %s: quenlo-split.exe %s s (cpu %s s), window run %s s (process cpu %s s)\n", $1, $2, $3, $4, $5, $6 }'
for column in "3:quenlo-split.exe wall" "4:quenlo-split.exe cpu" "5:window run wall" "6:window process cpu"; do
    old=$(echo "$results" | awk -v c="${column%%:*}" '$1 > 0 && $2 == "old" { print $c }' | median)
    new=$(echo "$results" | awk -v c="${column%%:*}" '$1 > 0 && $2 == "new" { print $c }' | median)
    echo "   ${column#*:} median: old $old s, new $new s, change $(change "$old" "$new")"
done
echo "   load average: $(cut -d' ' -f1-3 /proc/loadavg)"
