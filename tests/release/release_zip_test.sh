#!/usr/bin/env bash
# A release zip as a user meets it, the one of the tree's architecture (win64 or win32):
# unpacked into a folder whose name has a space and Chinese characters, Quenlo.exe
# started from there converts a small file through its window (driven from outside, as
# a person would), the results land in "转换结果" beside it, and quenlo-split.exe from the
# zip knows its version and converts the same file, with DLLs planted beside them that
# Wine is told to look for there first, as Windows does: none may be loaded. (Not comctl32
# nor shcore: Wine's own shell32 and comdlg32 would load those from there; Windows takes
# Known DLLs' ones from System32.)
# Runs inside scripts/windows_session.sh (a display and a Wine prefix).
# Usage: release_zip_test.sh SOURCE_DIR WINDOWS_TREE VERSION DEMO_DRIVER_EXE PLANTED_DLL ARCH
set -euo pipefail
source_dir=$1 tree=$2 version=$3 driver=$4 planted=$5 arch=$6
export LC_ALL=C.UTF-8  # Wine reads the Chinese path arguments as UTF-8

fail() { echo "FAIL: $*" >&2; exit 1; }
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
wine_run() { "$source_dir/scripts/wine_run.sh" "$@"; }
marks() { find "$app" -name '*.loaded' -printf '%f '; }  # left by the planted DLLs

work=$(mktemp -d "$tree/release-zip-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Made twice without a certificate, the zip is the same byte for byte. Then signed with a
# throwaway self-signed certificate: osslsigncode verifies both programs' signatures, and
# the programs unpacked and run below are the signed ones.
unsigned=$("$source_dir/scripts/make_zip.sh" "$arch" "$tree" "$work/unsigned")
cmp -s "$unsigned" "$("$source_dir/scripts/make_zip.sh" "$arch" "$tree" "$work/again")" || fail "two zips of one build differ"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
    -subj "/CN=Quenlo release test" -addext extendedKeyUsage=codeSigning 2>/dev/null
echo "not on any command line" >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" \
    -passout "file:$work/password"
zip=$(QUENLO_SIGN_PKCS12=$work/cert.p12 QUENLO_SIGN_PASSWORD_FILE=$work/password \
    "$source_dir/scripts/make_zip.sh" "$arch" "$tree" "$work/dist")
unzip -q "$zip" Quenlo.exe quenlo-split.exe -d "$work/signed"
for exe in Quenlo.exe quenlo-split.exe; do
    osslsigncode verify -CAfile "$work/cert.pem" -in "$work/signed/$exe" >/dev/null || fail "$exe: signature not verified"
done
[[ $(basename "$zip") == "Quenlo-$version-$arch.zip" ]] || fail "zip named $(basename "$zip")"
entries=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[[ $entries == "Quenlo.exe README.txt quenlo-split.exe " ]] || fail "zip holds: $entries"

app="$work/下载 文件/Quenlo 工具"
mkdir -p "$app"
unzip -q "$zip" -d "$app"
cp "$planted" "$app/msimg32.dll" && cp "$planted" "$app/oleacc.dll"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}msimg32,oleacc=n,b"

# 12,345 lines, some with spaces at either end; in files of 5000 lines (the driver's
# setting) they make three files.
input="$work/输入 文件/样例 一.txt"
mkdir -p "$(dirname "$input")"
awk 'BEGIN { for (i = 1; i <= 12345; ++i) printf (i % 3 ? "  行 %d  \r\n" : "line %d\r\n"), i }' >"$input"
awk 'BEGIN { for (i = 1; i <= 12345; ++i) printf (i % 3 ? "行 %d\r\n" : "line %d\r\n"), i }' >"$work/expected.txt"

mkdir -p "$work/shots"
wine_run "$driver" "$(windows_path "$app/Quenlo.exe")" "$(windows_path "$input")" \
    "$(windows_path "$work/shots")" || fail "the driver did not get through the run; $(marks)"

results="$app/转换结果"
[[ -d $results ]] || fail "no 转换结果 beside Quenlo.exe; the folder holds: $(ls "$app" | tr '\n' ' ')"
mapfile -t files < <(cd "$results" && ls)
((${#files[@]} == 3)) || fail "3 result files expected, found: ${files[*]}"
date=${files[0]#1-}
for n in 1 2 3; do
    [[ -f "$results/$n-$date" && $date =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\.txt$ ]] ||
        fail "no $n-$date among: ${files[*]}"
done
for n in 1 2; do
    lines=$(grep -c $'\r$' "$results/$n-$date")
    ((lines == 5000)) || fail "$n-$date holds $lines lines"
done
cat "$results/1-$date" "$results/2-$date" "$results/3-$date" | cmp -s - "$work/expected.txt" ||
    fail "the results are not the input's lines, trimmed"

printed=$(wine_run "$app/quenlo-split.exe" --version | tr -d '\r')
[[ $printed == "quenlo-split $version" ]] || fail "quenlo-split.exe --version printed '$printed'"
# Run from its own folder, so the planted DLLs are in the current folder too.
(cd "$app" && wine_run "$app/quenlo-split.exe" --out "$(windows_path "$work/split")" \
    "$(windows_path "$input")" 5000 >/dev/null) || fail "quenlo-split.exe did not convert"
cat "$work/split"/1-*.txt "$work/split"/2-*.txt "$work/split"/3-*.txt | cmp -s - "$work/expected.txt" ||
    fail "quenlo-split.exe's results are not the input's lines, trimmed: $(ls "$work/split")"
[[ -z $(marks) ]] || fail "DLLs planted beside the programs were loaded: $(marks)"
echo "release zip $arch: $(stat -c %s "$zip") bytes, unpacked, converted 12345 lines in 3 files" \
    "by each program, version $version, no planted DLL loaded"
