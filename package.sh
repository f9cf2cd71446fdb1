#!/usr/bin/env bash
# Builds the release packages for Windows 7 and later:
#   dist/Quenlo-<version>-win64.zip, dist/Quenlo-<version>-win32.zip, dist/SHA256SUMS
# Each zip holds Quenlo.exe, quenlo-split.exe (both statically linked: no DLLs to carry
# along) and README.txt, the usage text in Chinese and English.
set -euo pipefail
cd "$(dirname "$0")"

echo "== checking the packages the Windows builds need"
scripts/ensure_packages.sh package
zips=()
for arch in win64 win32; do
    echo "== building Quenlo.exe and quenlo-split.exe ($arch)"
    scripts/build.sh "$arch" Quenlo quenlo-split
    zips+=("$(scripts/make_zip.sh "$arch" "build/$arch" dist)")
done
(cd dist && sha256sum "${zips[@]#dist/}" >SHA256SUMS)
echo
ls -l "${zips[@]}" dist/SHA256SUMS
