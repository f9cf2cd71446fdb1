#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when something is
# missing, and generates the zh_CN.UTF-8 locale (the GBK code-page test runs in it).
set -euo pipefail

missing=()
need() {  # need COMMAND-OR-PATH PACKAGE
    if [[ "$1" == /* ]]; then [[ -e "$1" ]] || missing+=("$2")
    else command -v "$1" >/dev/null 2>&1 || missing+=("$2"); fi
}
need cmake cmake
need g++ g++
need /usr/include/gtest/gtest.h libgtest-dev
need /usr/src/googletest/CMakeLists.txt googletest
need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
need i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
need wine wine
need /usr/lib/wine/wine64 wine64
need Xvfb xvfb
need xauth xauth
need /usr/share/fonts/truetype/wqy/wqy-microhei.ttc fonts-wqy-microhei
need /usr/share/wine/fonts/marlett.ttf fonts-wine
need locale-gen locales
need /usr/bin/time time
need convert imagemagick
need xwd x11-apps

if ((${#missing[@]})); then
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
