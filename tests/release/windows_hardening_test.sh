#!/usr/bin/env bash
# The Windows programs of both trees carry ASLR (64-bit: high entropy) and DEP in the PE
# header, and a stack protector and fortified calls from libssp linked in statically: an
# imported libssp-0.dll would be one more DLL to plant.
# Usage: windows_hardening_test.sh WIN64_TREE WIN32_TREE
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
for tree in "$@"; do
    tool() { sed -n "s/^CMAKE_$1:[A-Z]*=//p" "$tree/CMakeCache.txt"; }
    for exe in "$tree/main_window/Quenlo.exe" "$tree/cli/quenlo-split.exe"; do
        headers=$("$(tool OBJDUMP)" -p "$exe") symbols=$("$(tool NM)" "$exe")  # 32-bit: one more _
        # HIGH_ENTROPY_VA 0x20 (64-bit only), DYNAMIC_BASE 0x40, NX_COMPAT 0x100
        wanted=0x140 && [[ $headers == *"format pei-x86-64"* ]] && wanted=0x160
        flags=0x$(awk '$1 == "DllCharacteristics" { print $2 }' <<<"$headers")
        (((flags & wanted) == wanted)) || fail "$exe: DllCharacteristics $flags"
        [[ ${headers,,} != *"dll name: libssp"* ]] || fail "$exe imports libssp"
        grep -qE ' T _?__stack_chk_fail$' <<<"$symbols" || fail "$exe: no stack protector"
        grep -qE ' T _?__[a-z]+_chk$' <<<"$symbols" || fail "$exe: no fortified call"
    done
done
