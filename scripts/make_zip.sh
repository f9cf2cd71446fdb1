#!/usr/bin/env bash
# Makes one release zip from a built Windows tree:
#   scripts/make_zip.sh ARCH TREE OUT_DIR   →   OUT_DIR/Quenlo-<version>-ARCH.zip
# with the stripped Quenlo.exe and quenlo-split.exe and the usage text. The version is
# the CMake project's. The files, and the stripped programs' PE headers, carry the time
# of the last commit, so the same build gives the same zip, byte for byte.
# With QUENLO_SIGN_PKCS12 naming a PKCS#12 file (its password, if any, in the file that
# QUENLO_SIGN_PASSWORD_FILE names) both programs are signed with Authenticode before
# they are zipped, and the signatures verified.
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
if [[ -n ${QUENLO_SIGN_PKCS12:-} ]]; then
    sign_with=(-pkcs12 "$QUENLO_SIGN_PKCS12" -h sha256 -n Quenlo -time "$stamp")
    passin=(-passin pass:)
    # The password goes from file to program, never on a command line (ps shows those).
    if [[ -n ${QUENLO_SIGN_PASSWORD_FILE:-} ]]; then
        sign_with+=(-readpass "$QUENLO_SIGN_PASSWORD_FILE")
        passin=(-passin "file:$QUENLO_SIGN_PASSWORD_FILE")
    fi
    # Verified against the certificates the PKCS#12 file carries and the system's CAs:
    # the signature must be whole and made by the key given.
    openssl pkcs12 -in "$QUENLO_SIGN_PKCS12" "${passin[@]}" -nokeys -out "$stage/trust.pem" ||
        { echo "make_zip.sh: cannot read the certificates of $QUENLO_SIGN_PKCS12" >&2; exit 1; }
    [[ -r /etc/ssl/certs/ca-certificates.crt ]] && cat /etc/ssl/certs/ca-certificates.crt >>"$stage/trust.pem"
    for exe in Quenlo.exe quenlo-split.exe; do
        # After strip, which would drop the signature.
        osslsigncode sign "${sign_with[@]}" -in "$stage/$exe" -out "$stage/signed.exe" >/dev/null &&
            osslsigncode verify -CAfile "$stage/trust.pem" -in "$stage/signed.exe" >/dev/null ||
            { echo "make_zip.sh: signing $exe with $QUENLO_SIGN_PKCS12 failed" >&2; exit 1; }
        mv -f "$stage/signed.exe" "$stage/$exe"
    done
    rm -f "$stage/trust.pem"
fi
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
