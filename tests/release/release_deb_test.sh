#!/usr/bin/env bash
# The .deb as a Debian user meets it: built twice it is the same file, byte for byte;
# unpacked (dpkg-deb -x) it holds the program, its manual page and the copyright
# file where Debian looks for them, and the program from it knows its version and is
# hardened as Debian's own. Built without DEBFULLNAME and DEBEMAIL it says it is a local
# build; with them, lintian (where installed) finds no error, warning or hardening note.
# Usage: release_deb_test.sh SOURCE_DIR NATIVE_TREE VERSION
set -euo pipefail
source_dir=$1 tree=$2 version=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d "$tree/release-deb-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

deb=$(env -u DEBFULLNAME -u DEBEMAIL "$source_dir/scripts/make_deb.sh" "$tree" "$work/one")
again=$(env -u DEBFULLNAME -u DEBEMAIL "$source_dir/scripts/make_deb.sh" "$tree" "$work/two")
[[ $(basename "$deb") == "quenlo-split_${version}_amd64.deb" ]] || fail "package named $(basename "$deb")"
cmp -s "$deb" "$again" || fail "two builds of the same tree differ"

[[ $(dpkg-deb -f "$deb" Package Version Architecture) == \
   "Package: quenlo-split"$'\n'"Version: $version"$'\n'"Architecture: amd64" ]] ||
    fail "control: $(dpkg-deb -f "$deb")"
[[ $(dpkg-deb -f "$deb" Depends) == *libc6* ]] || fail "no libc6 among the dependencies"
[[ $(dpkg-deb -f "$deb" Maintainer) == *"built locally"* ]] || fail "maintainer: $(dpkg-deb -f "$deb" Maintainer)"
# A line break would give the control file fields of the builder's choosing.
DEBFULLNAME=$'Tester\nHomepage: https://quenlo.example' DEBEMAIL=tester@quenlo.example \
    "$source_dir/scripts/make_deb.sh" "$tree" "$work/bad" 2>/dev/null && fail "a name of two lines was taken"
if command -v lintian >/dev/null; then
    named=$(DEBFULLNAME="Release Tester" DEBEMAIL=tester@quenlo.example "$source_dir/scripts/make_deb.sh" "$tree" "$work/named")
    said=$(lintian -I --fail-on none "$named" 2>/dev/null) || fail "lintian did not run"
    unwanted=$(grep -E '^[EW]:|hardening-no-|no-md5sums-control-file|binary-has-unneeded-section' <<<"$said") &&
        fail "lintian: $unwanted"
fi

root=$work/root
dpkg-deb -x "$deb" "$root"
files=$(cd "$root" && find . -type f | sort | tr '\n' ' ')
expected="./usr/bin/quenlo-split ./usr/share/doc/quenlo-split/changelog.gz ./usr/share/doc/quenlo-split/copyright ./usr/share/man/man1/quenlo-split.1.gz "
[[ $files == "$expected" ]] || fail "the package holds: $files"
elf=$(readelf -dlW --dyn-syms "$root/usr/bin/quenlo-split")
[[ $elf =~ FLAGS_1\).*NOW\ PIE && $elf == *GNU_RELRO* && $elf == *" __stack_chk_fail@"* && $elf =~ \ __[a-z]+_chk@ ]] ||
    fail "the program lacks one of PIE, BIND_NOW, RELRO, stack protector, fortified calls"
printed=$("$root/usr/bin/quenlo-split" --version)
[[ $printed == "quenlo-split $version" ]] || fail "quenlo-split --version printed '$printed'"
gzip -dc "$root/usr/share/man/man1/quenlo-split.1.gz" | grep -q "^\.TH QUENLO-SPLIT 1 \"\" \"Quenlo $version\"" ||
    fail "the manual page does not carry version $version"
echo "release deb: $(stat -c %s "$deb") bytes, reproducible, unpacked, version $version"
