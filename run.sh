#!/usr/bin/env bash
# Installs what is missing, builds, and runs Quenlo.
#   ./run.sh           opens the window on your display
#   ./run.sh --demo    (also when there is no display) runs the window on a virtual
#                      display through a whole conversion of a generated sample and
#                      saves screenshots under build/demo
#   ./run.sh --split   the conversion alone, with quenlo-split, on a small sample
#   ./run.sh --gallery every control the skin draws, in one window (with no display:
#                      on a virtual one, saving a screenshot under build/demo/gallery)
set -euo pipefail
cd "$(dirname "$0")"

mode=window
case ${1:-} in
    --demo) mode=demo ;;
    --split) mode=split ;;
    --gallery) mode=gallery ;;
    "") [[ -n ${DISPLAY:-} ]] || mode=demo ;;
    *) echo "usage: ./run.sh [--demo | --split | --gallery]" >&2; exit 2 ;;
esac

scripts/ensure_packages.sh
scripts/build.sh >/dev/null

quenlo=build/win64/main_window/Quenlo.exe
results=build/win64/main_window/转换结果  # beside the program, as the tool does it

# Wine sees the Unix file system as drive Z:.
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

# The gallery driven as a person would, photographed into $1 (--rest-only: one picture).
gallery=build/win64/demos/gallery/QuenloGallery.exe
gallery_shots() {
    mkdir -p "$1"
    rm -f "$1"/[0-9]-*.png
    scripts/windows_session.sh /usr/lib/wine/wine64 build/win64/tests/demos/gallery_demo_driver.exe \
        "$(windows_path "$gallery")" "$(windows_path "$1")" "${@:2}" | sed 's/^saved .*\\/saved /'
}
if [[ $mode == gallery ]]; then
    if [[ -n ${DISPLAY:-} ]]; then
        echo "QuenloGallery: every control the skin draws, in one window; close it to end"
        QUENLO_USE_DISPLAY=1 exec scripts/windows_session.sh /usr/lib/wine/wine64 "$gallery"
    fi
    gallery_shots build/demo/gallery --rest-only
    echo "Screenshot: $PWD/build/demo/gallery/1-rest.png"
    exit 0
fi

if [[ $mode == window ]]; then
    echo "Quenlo writes its results to $PWD/$results"
    QUENLO_USE_DISPLAY=1 exec scripts/windows_session.sh /usr/lib/wine/wine64 "$quenlo"
fi

if [[ $mode == demo ]]; then
    demo=build/demo
    mkdir -p "$demo"
    sample=$demo/sample-5m.txt
    if [[ ! -f $sample ]]; then
        # Big enough for the run to last a few seconds, so it can be seen running.
        echo "== generating $sample (once)"
        python3 bench/make_lines.py "$sample.part" 5000000 && mv "$sample.part" "$sample"
    fi
    rm -rf "$results" "$demo"/*.png  # same-day result files would receive the lines again
    echo "== running Quenlo.exe on a virtual display"
    scripts/windows_session.sh /usr/lib/wine/wine64 build/win64/tests/main_window/quenlo_demo_driver.exe \
        "$(windows_path "$quenlo")" "$(windows_path "$sample")" "$(windows_path "$demo")" \
        | sed 's/^saved .*\\/saved /'
    echo
    echo "Input:       $PWD/$sample"
    echo "Screenshots: $PWD/$demo/1-idle.png, 2-running.png, 3-finished.png"
    echo "Results:     $PWD/$results ($(ls "$results" | wc -l) files)"
    echo
    echo "== the gallery of skinned controls"
    gallery_shots "$demo/gallery"
    echo "Gallery:     $PWD/$demo/gallery/ (at rest, hover mid-fade, header pressed, open list,"
    echo "             clicked marks, message box, open-file dialog)"
    exit 0
fi

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
