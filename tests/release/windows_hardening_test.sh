#!/usr/bin/env bash
# The Windows programs of both trees carry the protections Windows offers: ASLR (64-bit:
# high entropy) and DEP in the PE header, a stack protector and fortified calls linked in
# from libssp, statically: a libssp-0.dll imported would be one more DLL to plant.
# Usage: windows_hardening_test.sh WIN64_TREE WIN32_TREE
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

for tree in "$@"; do
    cached() { sed -n "s/^$1:[A-Z]*=//p" "$tree/CMakeCache.txt"; }
    objdump=$(cached CMAKE_OBJDUMP) nm=$(cached CMAKE_NM)
    for exe in "$tree/main_window/Quenlo.exe" "$tree/cli/quenlo-split.exe"; do
        headers=$("$objdump" -p "$exe") || fail "$exe: build the Windows trees first (scripts/build.sh)"
        # IMAGE_DLLCHARACTERISTICS_: HIGH_ENTROPY_VA 0x20, DYNAMIC_BASE 0x40, NX_COMPAT 0x100.
        wanted=$((0x140))
        [[ $headers == *"file format pei-x86-64"* ]] && wanted=$((0x160))
        flags=$(awk '$1 == "DllCharacteristics" { print $2 }' <<<"$headers")
        (((0x$flags & wanted) == wanted)) || fail "$exe: DllCharacteristics 0x$flags"
        [[ ${headers,,} != *"dll name: libssp"* ]] || fail "$exe imports libssp"
        symbols=$("$nm" "$exe")  # 32-bit names carry one more leading underscore
        grep -qE ' T _?__stack_chk_fail$' <<<"$symbols" || fail "$exe: no stack protector"
        grep -qE ' T _?__[a-z]+_chk$' <<<"$symbols" || fail "$exe: no fortified call"
    done
done
echo "windows hardening: ASLR, DEP, stack protector and fortified calls in $# trees"
