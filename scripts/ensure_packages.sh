#!/usr/bin/env bash
# Installs the Debian packages a task needs, only when something is missing.
#   scripts/ensure_packages.sh [all]   everything: the three builds and every test
#                                      (also generates the zh_CN.UTF-8 locale the GBK
#                                      code-page test runs in)
#   scripts/ensure_packages.sh window  the 64-bit Quenlo.exe and Wine to run it
#   scripts/ensure_packages.sh demo    window, plus a virtual display
#   scripts/ensure_packages.sh split   the native quenlo-split
#   scripts/ensure_packages.sh package both Windows builds, zip, the .deb's tools, lintian
#                                      to check the .deb, osslsigncode to sign the programs
set -euo pipefail

task=${1:-all}
missing=()
need() {  # need COMMAND-OR-PATH PACKAGE
    if [[ "$1" == /* ]]; then [[ -e "$1" ]] || missing+=("$2")
    else command -v "$1" >/dev/null 2>&1 || missing+=("$2"); fi
}
# Configuring any tree: CMake, the compiler for this machine (it also builds the icon
# tool of the Windows trees), GoogleTest, zlib.
need_base() {
    need cmake cmake
    need g++ g++
    need /usr/include/gtest/gtest.h libgtest-dev
    need /usr/src/googletest/CMakeLists.txt googletest
    need /usr/include/zlib.h zlib1g-dev
}
need_win64() {
    need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
    need /usr/x86_64-w64-mingw32/lib/libz.a libz-mingw-w64-dev
}
need_win32() {
    need i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
    need /usr/i686-w64-mingw32/lib/libz.a libz-mingw-w64-dev
}
need_wine() {
    need wine wine
    need /usr/lib/wine/wine64 wine64
    need /usr/share/fonts/truetype/wqy/wqy-microhei.ttc fonts-wqy-microhei
    need /usr/share/wine/fonts/marlett.ttf fonts-wine
}
# The 32-bit loader: without it the i686 suite cannot run. wine64 then hands every
# 32-bit program to it by itself.
need_wine32() {
    need /usr/lib/wine/wine wine32:i386
}
need_virtual_display() {
    need Xvfb xvfb
    need xauth xauth
}

case $task in
    window) need_base; need_win64; need_wine ;;
    demo) need_base; need_win64; need_wine; need_virtual_display; need python3 python3 ;;
    split) need_base ;;
    package)
        need_base; need_win64; need_win32; need zip zip; need dpkg-shlibdeps dpkg-dev
        need lintian lintian
        need osslsigncode osslsigncode
        need openssl openssl
        ;;
    all)
        need_base; need_win64; need_win32; need_wine; need_wine32; need_virtual_display
        need python3 python3
        need zip zip
        need unzip unzip
        need dpkg-shlibdeps dpkg-dev
        need lintian lintian  # the package test reads what lintian finds
        need osslsigncode osslsigncode  # the release zip test signs with a certificate of its own
        need openssl openssl
        need locale-gen locales
        need /usr/bin/time time
        need convert imagemagick
        need xwd x11-apps
        ;;
    *) echo "ensure_packages.sh: unknown task '$task'" >&2; exit 2 ;;
esac

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

if ((${#missing[@]})); then
    mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
    echo "== installing Debian packages: ${missing[*]}"
    # 32-bit packages come from the i386 architecture; dpkg knows it only once added.
    if [[ " ${missing[*]} " == *:i386\ * ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

if [[ $task == all ]] && ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    $sudo sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
