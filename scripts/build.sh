#!/usr/bin/env bash
# Configures and builds the three trees: native, 64-bit Windows, 32-bit Windows.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

configure() {  # configure DIR [CMAKE ARGS...]
    local dir=$1; shift
    [[ -f $dir/CMakeCache.txt ]] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}
configure build/native
configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake

for tree in native win64 win32; do
    echo "== building build/$tree"
    cmake --build "build/$tree" -j "$jobs" -- --no-print-directory | grep -v -E '^\[ *[0-9]+%\]' || true
    cmake --build "build/$tree" -j "$jobs" >/dev/null  # fails the script if the build failed
done
