#!/usr/bin/env bash
# ./run.sh as a person meets it without a display: it says it runs the demo instead
# before it does, and --gallery afterwards keeps the demo's pictures. run.sh runs from
# a scratch copy whose scripts stand in for installing, building and Wine, so only
# run.sh's own decisions are under test.
# Usage: run_script_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1

fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/run.sh" "$work/"
mkdir -p "$work/scripts" "$work/bench" "$work/build/win64/main_window"
touch "$work/build/win64/main_window/Quenlo.exe"
for script in ensure_packages.sh build.sh; do
    printf '#!/usr/bin/env bash\n' >"$work/scripts/$script"
done
printf 'import sys\nopen(sys.argv[1], "w").write("a\\r\\n")\n' >"$work/bench/make_lines.py"
# The Wine session: the drivers' pictures and results appear where they are asked for.
cat >"$work/scripts/windows_session.sh" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$(dirname "$0")/../sessions.log"
unix() { local p=${1#Z:}; echo "${p//\\//}"; }
case $2 in
    *quenlo_demo_driver.exe) mkdir -p "$(unix "$5")/转换结果" ;;
    *gallery_demo_driver.exe)
        folder=$(unix "$4")
        if [[ ${5:-} == --rest-only ]]; then
            echo new >"$folder/1-rest.png"
        else
            for n in 1 2 3 4 5 6 7; do echo old >"$folder/$n-picture.png"; done
        fi ;;
esac
STUB
chmod +x "$work"/scripts/*.sh "$work/run.sh"

output=$(cd "$work" && env -u DISPLAY ./run.sh 2>&1) || fail "./run.sh failed: $output"
first=$(head -n 1 <<<"$output")
[[ $first == *"no display"*demo* ]] || fail "the first line does not say the demo runs instead: $first"
grep -q quenlo_demo_driver "$work/sessions.log" || fail "the demo did not run"

output=$(cd "$work" && env -u DISPLAY ./run.sh --gallery 2>&1) || fail "--gallery failed: $output"
gallery=$work/build/demo/gallery
[[ $(cat "$gallery/1-rest.png") == new ]] || fail "--gallery saved no picture"
for n in 2 3 4 5 6 7; do
    [[ -f $gallery/$n-picture.png ]] || fail "--gallery deleted the demo's picture $n"
done
echo "run.sh: demo announced without a display, the demo's pictures kept by --gallery"
