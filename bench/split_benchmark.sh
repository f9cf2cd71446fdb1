#!/usr/bin/env bash
# quenlo-split against GNU split -l on the same machine in the same run: a 5,000,000-line
# CR LF file (generated once, cached under build/bench), the same lines ended by LF
# alone, and a file of one 1 GiB line;
# median wall times of alternating runs after a warm-up, their ratio, peak memory; and
# quenlo-split.exe under Wine on the 5M-line file.
# Usage: bench/split_benchmark.sh [PAIRS]   (default 5; needs scripts/build.sh first)
# QUENLO_BENCH_NATIVE and QUENLO_BENCH_TREE name other native and Windows build trees
# to measure (defaults build/native, build/win64), e.g. main's, to compare builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
pairs=${1:-5}
work=build/bench
native=${QUENLO_BENCH_NATIVE:-build/native}/cli/quenlo-split
windows=${QUENLO_BENCH_TREE:-build/win64}/cli/quenlo-split.exe
mkdir -p "$work"

lines=$work/lines-5m.txt
if [[ ! -f $lines ]]; then
    echo "== generating $lines (once)"
    python3 bench/make_lines.py "$lines.part" 5000000 && mv "$lines.part" "$lines"
fi
lf=$work/lines-5m-lf.txt
if [[ ! -f $lf ]]; then
    echo "== generating $lf (once)"
    tr -d '\r' <"$lines" >"$lf.part" && mv "$lf.part" "$lf"
fi
long=$work/one-line-1g.txt
if [[ ! -f $long ]]; then
    echo "== generating $long (once)"
    { printf '   '; head -c $((1 << 30)) /dev/zero | tr '\0' 'x'; printf '   \r\n'; } >"$long.part"
    mv "$long.part" "$long"
fi

# run NAME INPUT: one timed run into a fresh folder; prints "wall-seconds peak-KiB
# cpu-seconds" (user + system: on a shared machine the steadier figure).
run() {
    local name=$1 input=$2 out=$work/out-$1
    rm -rf "$out" && mkdir -p "$out"
    local cmd
    case $name in
        quenlo) cmd=("$native" --out "$out/r" "$input" 30000) ;;
        split) cmd=(split -l 30000 "$input" "$out/x") ;;
    esac
    # Wall time to the microsecond from the shell; /usr/bin/time for memory and CPU.
    local start=$EPOCHREALTIME
    /usr/bin/time -f "%M %U %S" -o "$work/time.txt" "${cmd[@]}" >/dev/null
    local end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" '{ printf "%.3f %d %.2f\n", b - a, $1, $2 + $3 }' "$work/time.txt"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() {  # measure LABEL INPUT
    local label=$1 input=$2 q=() s=() qc=() sc=() qmem=0 smem=0 t m c
    echo "== $label: $(du -h "$input" | cut -f1), $(wc -l <"$input") lines; warm-up"
    run quenlo "$input" >/dev/null
    run split "$input" >/dev/null
    for ((i = 1; i <= pairs; i++)); do
        read -r t m c < <(run quenlo "$input"); q+=("$t"); qc+=("$c"); ((m > qmem)) && qmem=$m
        read -r t m c < <(run split "$input"); s+=("$t"); sc+=("$c"); ((m > smem)) && smem=$m
        echo "   pair $i: quenlo-split ${q[-1]} s (cpu ${qc[-1]} s), split -l ${s[-1]} s (cpu ${sc[-1]} s)"
    done
    local qm sm
    qm=$(printf '%s\n' "${q[@]}" | median)
    sm=$(printf '%s\n' "${s[@]}" | median)
    echo "   median: quenlo-split $qm s, split -l $sm s, ratio $(awk -v a="$qm" -v b="$sm" 'BEGIN { printf "%.2f", a / b }')"
    qm=$(printf '%s\n' "${qc[@]}" | median)
    sm=$(printf '%s\n' "${sc[@]}" | median)
    echo "   median cpu: quenlo-split $qm s, split -l $sm s"
    echo "   peak RSS: quenlo-split $((qmem / 1024)).$(((qmem % 1024) * 10 / 1024)) MiB, split -l $((smem / 1024)).$(((smem % 1024) * 10 / 1024)) MiB"
}

measure "5M lines" "$lines"
measure "5M lines ended by LF" "$lf"
measure "one 1 GiB line" "$long"
rm -rf "$work"/out-*

if [[ -f $windows ]]; then
    echo "== quenlo-split.exe under Wine, 5M lines"
    cat >"$work/wine_runs.sh" <<WINE
set -e
for i in 0 1 2 3; do
    rm -rf "$work/out-wine"
    start=\$(date +%s.%N)
    /usr/lib/wine/wine64 "$windows" --out "$work/out-wine" "$lines" 30000 >/dev/null 2>&1 </dev/null
    end=\$(date +%s.%N)
    if ((i == 0)); then echo "   warm-up \$(awk -v a=\$start -v b=\$end 'BEGIN { printf "%.2f", b - a }') s"
    else echo "   run \$i: \$(awk -v a=\$start -v b=\$end 'BEGIN { printf "%.2f", b - a }') s"; fi
done
echo "   files: \$(ls "$work/out-wine" | wc -l)"
rm -rf "$work/out-wine"
WINE
    scripts/windows_session.sh bash "$work/wine_runs.sh" 2>&1 | grep -v '^wine: '
fi
