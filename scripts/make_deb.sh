#!/usr/bin/env bash
# Makes the Debian package of quenlo-split from a built native tree:
#   scripts/make_deb.sh TREE OUT_DIR   →   OUT_DIR/quenlo-split_<version>_amd64.deb
# holding /usr/bin/quenlo-split (stripped), its manual page and the copyright file.
# Every file carries the time of the last commit (SOURCE_DATE_EPOCH), so the same
# build gives the same package, byte for byte.
# The maintainer is whoever builds it, from Debian's own DEBFULLNAME and DEBEMAIL (DEBEMAIL
# may also be "Name <address>"); without them the package says it is a local build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$1 out=$2

cached() { sed -n "s/^$1:[A-Z]*=//p" "$tree/CMakeCache.txt"; }
version=$(cached CMAKE_PROJECT_VERSION)
[[ -n $version && -x $tree/cli/quenlo-split && -f $tree/cli/quenlo-split.1 ]] ||
    { echo "make_deb.sh: $tree holds no built quenlo-split" >&2; exit 1; }

maintainer() {
    local name=${DEBFULLNAME:-} mail=${DEBEMAIL:-}
    if [[ -z $mail ]]; then
        # No address to give: lintian rightly calls localhost a bogus mail host.
        echo "Quenlo built locally without DEBFULLNAME and DEBEMAIL <quenlo@localhost>"
        return
    fi
    if [[ $mail =~ ^(.*[^[:space:]])[[:space:]]*\<(.*)\>$ ]]; then
        name=${name:-${BASH_REMATCH[1]}} mail=${BASH_REMATCH[2]}
    fi
    # They go into the control file and the changelog: one line each, in the usual form.
    [[ -n $name && $name != *[\<\>[:cntrl:]]* && $mail =~ ^[^@\<\>[:space:][:cntrl:]]+@[^@\<\>[:space:][:cntrl:]]+$ ]] ||
        { echo "make_deb.sh: DEBFULLNAME and DEBEMAIL must be a name and an address (DEBEMAIL='$mail')" >&2; return 1; }
    echo "$name <$mail>"
}
maintainer=$(maintainer)

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
umask 022
pkg=$stage/pkg
doc=$pkg/usr/share/doc/quenlo-split
mkdir -p "$pkg/DEBIAN" "$pkg/usr/bin" "$pkg/usr/share/man/man1" "$doc"
# As dh_strip does: no symbols, no compiler notes.
strip --remove-section=.comment --remove-section=.note --strip-unneeded -o "$pkg/usr/bin/quenlo-split" "$tree/cli/quenlo-split"
gzip -9n <"$tree/cli/quenlo-split.1" >"$pkg/usr/share/man/man1/quenlo-split.1.gz"
cat >"$doc/copyright" <<COPYRIGHT
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Quenlo
Source: the Quenlo project

Files: *
Copyright: $(date -u -d "@$SOURCE_DATE_EPOCH" +%Y) the Quenlo project
License: unpublished
 The Quenlo project has not yet published a licence for this software. It is
 provided as is, without any warranty; ask the project before redistributing it.
COPYRIGHT
{
    echo "quenlo-split ($version) unstable; urgency=low"
    echo
    echo "  * Release $version."
    echo
    echo " -- $maintainer  $(LC_ALL=C date -u -R -d "@$SOURCE_DATE_EPOCH")"
} | gzip -9n >"$doc/changelog.gz"

# The libraries it needs, at the versions its symbols ask for.
mkdir -p "$stage/debian"
printf 'Source: quenlo\n\nPackage: quenlo-split\nArchitecture: amd64\n' >"$stage/debian/control"
depends=$(cd "$stage" && dpkg-shlibdeps -O pkg/usr/bin/quenlo-split 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
cat >"$pkg/DEBIAN/control" <<CONTROL
Package: quenlo-split
Version: $version
Architecture: amd64
Maintainer: $maintainer
Installed-Size: $(du -sk --exclude=DEBIAN "$pkg" | cut -f1)
Depends: $depends
Section: text
Priority: optional
Description: split a text file into numbered files of a fixed number of lines
 quenlo-split writes the lines of one text file into consecutively numbered
 files (1-yyyy-mm-dd.txt, 2-yyyy-mm-dd.txt, ...) of a fixed number of lines
 each, trimming the spaces at both ends of every line and ending each line
 with CR LF. It is the command-line twin of the Quenlo window for Windows.
CONTROL

(cd "$pkg" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$pkg/DEBIAN/md5sums"
find "$pkg" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
name=quenlo-split_${version}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$pkg" "$stage/$name" >/dev/null
mkdir -p "$out"
mv -f "$stage/$name" "$out/$name"
echo "$out/$name"
