#!/usr/bin/env bash
# Builds what a mode needs, only that, and runs it. ./run.sh --help lists the modes.
set -euo pipefail
cd "$(dirname "$0")"

usage() {
    cat <<'TEXT'
Usage: ./run.sh [MODE]

  (none)    open Quenlo's window on your display: the 64-bit Quenlo.exe under Wine.
            Its results go to build/win64/main_window/转换结果. Without a display,
            the same as --demo.
  --demo    run Quenlo's window on a virtual display through a whole conversion of a
            generated 5,000,000-line sample and save screenshots under build/demo
            (Quenlo runs from its own copy there; results in build/demo/转换结果),
            then photograph the skin's gallery into build/demo/gallery, and both
            again at 150 % and 200 % into build/demo/150 and build/demo/200
  --split   split a small sample with the console program quenlo-split
  --gallery every control the skin draws, in one window (QuenloGallery.exe); with no
            display on a virtual one, saving a screenshot under build/demo/gallery
  --help    show this text

The first run installs the Debian packages the mode needs (with sudo when not root),
builds only what it runs and says what it is doing; later runs start at once.
TEXT
}

step() { echo "== $*"; }

# Wine sees the Unix file system as drive Z:.
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

# Same-day result files would receive a new run's lines after the old ones, so a mode
# that runs the same sample again first removes the numbered files it made before;
# anything else in the folder stays.
remove_earlier_results() {  # remove_earlier_results FOLDER
    [[ -d $1 ]] || return 0
    find "$1" -maxdepth 1 -type f -regextype posix-extended \
        -regex '.*/[0-9]+-[0-9]{4}-[0-9]{2}-[0-9]{2}\.txt' -delete
}

run_window() {
    step "checking the Debian packages"
    scripts/ensure_packages.sh window
    step "building Quenlo.exe (64-bit)"
    scripts/build.sh win64 Quenlo
    step "starting Quenlo under Wine; its results go to $PWD/build/win64/main_window/转换结果"
    QUENLO_USE_DISPLAY=1 exec scripts/windows_session.sh \
        /usr/lib/wine/wine64 build/win64/main_window/Quenlo.exe
}

# The gallery driven as a person would, photographed into $1 (--rest-only: one picture).
gallery=build/win64/demos/gallery/QuenloGallery.exe
gallery_shots() {
    mkdir -p "$1"
    # Its own pictures of an earlier full run; one picture alone leaves the others be.
    [[ ${2:-} == --rest-only ]] || rm -f "$1"/[0-9]-*.png
    "${session[@]}" scripts/windows_session.sh /usr/lib/wine/wine64 build/win64/tests/demos/gallery_demo_driver.exe \
        "$(windows_path "$gallery")" "$(windows_path "$1")" "${@:2}" | sed 's/^saved .*\\/saved /'
}

# Runs the window's demo: Quenlo's copy in build/demo on the sample, screenshots into $1.
# The window shows the path a user would have: the sample on a drive D: of the demo's
# own (a folder under build/demo), linked there rather than copied.
window_shots() {
    mkdir -p "$1"
    remove_earlier_results "$demo/转换结果"
    local drive=$demo/drive-d
    mkdir -p "$drive/工作"
    ln -f "$sample" "$drive/工作/客户名单.txt"
    # Wine reads the Chinese path argument as UTF-8.
    "${session[@]}" LC_ALL=C.UTF-8 QUENLO_DRIVE_D="$PWD/$drive" scripts/windows_session.sh \
        /usr/lib/wine/wine64 build/win64/tests/main_window/quenlo_demo_driver.exe \
        "$(windows_path "$demo/Quenlo.exe")" 'D:\工作\客户名单.txt' "$(windows_path "$1")" \
        | sed 's/^saved .*\\/saved /'
}

# The same pictures on a desktop at another scale: Wine's DPI set in a prefix of the
# demo's own (build/wineprefix-scaled), never in the tests' prefix. 200 % gets a screen
# twice the usual size, as such desktops have.
scaled_shots() {  # scaled_shots PERCENT SCREEN
    local session=(env QUENLO_WINE_PREFIX="$PWD/build/wineprefix-scaled"
                   QUENLO_DPI=$((96 * $1 / 100)) QUENLO_SCREEN="$2")
    step "Quenlo's window at $1 % on a $2 screen"
    window_shots "$demo/$1"
    step "the gallery at $1 %"
    gallery_shots "$demo/$1/gallery"
}

session=(env)
demo=build/demo
sample=$demo/sample-5m.txt

run_demo() {
    step "checking the Debian packages"
    scripts/ensure_packages.sh demo
    step "building Quenlo.exe (64-bit), the gallery and their demo drivers"
    scripts/build.sh win64 Quenlo quenlo_demo_driver QuenloGallery gallery_demo_driver

    mkdir -p "$demo"
    # Quenlo writes beside itself: this copy keeps the demo's results apart from the
    # window mode's.
    cp build/win64/main_window/Quenlo.exe "$demo/Quenlo.exe"
    if [[ ! -f $sample ]]; then
        # Big enough for the run to last a few seconds, so it can be seen running.
        step "generating $sample (once)"
        python3 bench/make_lines.py "$sample.part" 5000000 && mv "$sample.part" "$sample"
    fi
    local results=$demo/转换结果
    step "running Quenlo.exe on a virtual display"
    window_shots "$demo"
    echo
    echo "Input:       $PWD/$sample (D:\\工作\\客户名单.txt in the window)"
    echo "Screenshots: $PWD/$demo/1-idle.png, 2-running.png, 3-finished.png"
    echo "Results:     $PWD/$results ($(ls "$results" | wc -l) files)"
    echo
    step "the gallery of skinned controls"
    gallery_shots "$demo/gallery"
    echo "Gallery:     $PWD/$demo/gallery/ (at rest, hover mid-fade, header pressed, open list,"
    echo "             clicked marks, message box, open-file dialog)"
    echo
    scaled_shots 150 1280x1024
    scaled_shots 200 2560x1600
    echo "At 150 %:    $PWD/$demo/150/ and $PWD/$demo/150/gallery/"
    echo "At 200 %:    $PWD/$demo/200/ and $PWD/$demo/200/gallery/"
}

run_gallery() {
    local display=${DISPLAY:-}
    step "checking the Debian packages"
    scripts/ensure_packages.sh "$([[ -n $display ]] && echo window || echo demo)"
    if [[ -n $display ]]; then
        step "building the gallery (64-bit)"
        scripts/build.sh win64 QuenloGallery
        step "opening QuenloGallery: every control the skin draws, in one window; close it to end"
        QUENLO_USE_DISPLAY=1 exec scripts/windows_session.sh /usr/lib/wine/wine64 "$gallery"
    fi
    step "building the gallery (64-bit) and its demo driver"
    scripts/build.sh win64 QuenloGallery gallery_demo_driver
    step "photographing the gallery on a virtual display"
    gallery_shots build/demo/gallery --rest-only
    echo "Screenshot: $PWD/build/demo/gallery/1-rest.png"
}

run_split() {
    step "checking the Debian packages"
    scripts/ensure_packages.sh split
    step "building quenlo-split"
    scripts/build.sh native quenlo-split

    local sample_dir=build/sample
    mkdir -p "$sample_dir"
    local sample=$sample_dir/样例.txt
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
    local out=$sample_dir/转换结果
    remove_earlier_results "$out"
    step "splitting $sample into files of 30 lines"
    build/native/cli/quenlo-split --out "$out" "$sample" 30
    echo
    echo "Input:   $PWD/$sample"
    echo "Results: $PWD/$out"
    ls -l "$out"
}

case ${1:-} in
    "")
        if [[ -n ${DISPLAY:-} ]]; then
            run_window
        else
            echo "./run.sh: no display (DISPLAY is not set), so this runs the demo on a virtual"
            echo "display instead and saves screenshots (./run.sh --help lists the modes)."
            run_demo
        fi
        ;;
    --demo) run_demo ;;
    --split) run_split ;;
    --gallery) run_gallery ;;
    --help | -h) usage ;;
    *) { echo "./run.sh: unknown mode '$1'"; echo; usage; } >&2; exit 2 ;;
esac
