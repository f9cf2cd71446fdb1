#!/usr/bin/env bash
# Installs what is missing, builds, and runs Quenlo's conversion on a small
# generated sample with quenlo-split, printing where the results are.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure_packages.sh
scripts/build.sh >/dev/null

split_bin=$(find build/native -type f -name quenlo-split -perm -u+x | head -n 1)
if [[ -z $split_bin ]]; then
    echo "quenlo-split was not built" >&2
    exit 1
fi

sample_dir=build/sample
mkdir -p "$sample_dir"
sample=$sample_dir/样例.txt
if [[ ! -f $sample ]]; then
    # 100 CR LF lines, some with spaces at either end, one with a tab kept.
    for i in $(seq 1 100); do
        case $((i % 4)) in
            0) printf '  第 %d 行，两端有空格  \r\n' "$i" ;;
            1) printf 'line %d\r\n' "$i" ;;
            2) printf '\tline %d starts with a tab \r\n' "$i" ;;
            3) printf ' %d\r\n' "$i" ;;
        esac
    done >"$sample"
fi

out=$sample_dir/转换结果
rm -rf "$out"  # same-day result files would otherwise receive the lines again
"$split_bin" --out "$out" "$sample" 30
echo
echo "Input:   $PWD/$sample"
echo "Results: $PWD/$out"
ls -l "$out"
