#!/usr/bin/env bash
# Makes one release zip from a built Windows tree:
#   scripts/make_zip.sh ARCH TREE OUT_DIR   →   OUT_DIR/Quenlo-<version>-ARCH.zip
# with the stripped Quenlo.exe and quenlo-split.exe and the usage text. The version is
# the CMake project's. The files, and the stripped programs' PE headers, carry the time
# of the last commit, so the same build gives the same zip, byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$1 tree=$2 out=$3

cached() { sed -n "s/^$1:[A-Z]*=//p" "$tree/CMakeCache.txt"; }
version=$(cached CMAKE_PROJECT_VERSION)
strip=$(cached CMAKE_STRIP)
[[ -n $version && -n $strip ]] || { echo "make_zip.sh: $tree is not a configured Windows tree" >&2; exit 1; }

stamp=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# strip writes the time into the PE header: SOURCE_DATE_EPOCH makes it the commit's.
SOURCE_DATE_EPOCH=$stamp "$strip" -o "$stage/Quenlo.exe" "$tree/main_window/Quenlo.exe"
SOURCE_DATE_EPOCH=$stamp "$strip" -o "$stage/quenlo-split.exe" "$tree/cli/quenlo-split.exe"
# Notepad before Windows 10 wants CR LF, and a byte-order mark to read UTF-8.
{ printf '\xEF\xBB\xBF'; sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/release/README.txt"; } \
    >"$stage/README.txt"

touch -d "@$stamp" "$stage"/*
name=Quenlo-$version-$arch.zip
# Plain ASCII names and no Unix extras: every unzipper, Explorer's included, reads it.
(cd "$stage" && TZ=UTC zip -q -X -9 "$name" Quenlo.exe quenlo-split.exe README.txt)
mkdir -p "$out"
mv -f "$stage/$name" "$out/$name"
echo "$out/$name"
