#!/usr/bin/env bash
# Builds the release packages:
#   dist/Quenlo-<version>-win64.zip, dist/Quenlo-<version>-win32.zip (Windows 7 and later),
#   dist/quenlo-split_<version>_amd64.deb (Debian and its kin), dist/SHA256SUMS
# Each zip holds Quenlo.exe, quenlo-split.exe (both statically linked: no DLLs to carry
# along) and README.txt, the usage text in Chinese and English; the .deb holds
# /usr/bin/quenlo-split, its manual page and the copyright file.
# QUENLO_SIGN_PKCS12=FILE (and QUENLO_SIGN_PASSWORD_FILE=FILE holding its password) signs
# both Windows programs with Authenticode before they are zipped; DEBFULLNAME and DEBEMAIL
# name the .deb's maintainer (README.md, "Making a release").
set -euo pipefail
cd "$(dirname "$0")"

echo "== checking the packages the builds need"
scripts/ensure_packages.sh package
packages=()
for arch in win64 win32; do
    echo "== building Quenlo.exe and quenlo-split.exe ($arch)"
    scripts/build.sh "$arch" Quenlo quenlo-split
    packages+=("$(scripts/make_zip.sh "$arch" "build/$arch" dist)")
    [[ -z ${QUENLO_SIGN_PKCS12:-} ]] || echo "   Quenlo.exe and quenlo-split.exe signed and verified"
done
echo "== building quenlo-split (native)"
scripts/build.sh native quenlo-split
packages+=("$(scripts/make_deb.sh build/native dist)")
echo "== lintian on the .deb"
lintian_args=(--fail-on error,warning)
if [[ -z ${DEBEMAIL:-} ]]; then
    echo "   DEBFULLNAME and DEBEMAIL are unset: the package names no maintainer (bogus-mail-host)"
    lintian_args+=(--suppress-tags bogus-mail-host,bogus-mail-host-in-debian-changelog)
fi
lintian "${lintian_args[@]}" "${packages[-1]}"
(cd dist && sha256sum "${packages[@]#dist/}" >SHA256SUMS)
echo
ls -l "${packages[@]}" dist/SHA256SUMS
