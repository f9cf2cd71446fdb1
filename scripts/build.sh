#!/usr/bin/env bash
# Configures and builds the project's trees: native (Linux), win64 and win32 (Windows),
# and sanitize: the native tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer.
#   scripts/build.sh                    every tree, every target (what the tests need)
#   scripts/build.sh TREE [TARGET...]   one tree, only the targets named, with the
#                                       build's own progress lines
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

declare -A toolchain=(
    [native]=""
    [win64]=cmake/toolchain-mingw-x86_64.cmake
    [win32]=cmake/toolchain-mingw-i686.cmake
    [sanitize]=""
)
declare -A options=([sanitize]=-DQUENLO_SANITIZE=ON)

configure() {  # configure TREE: once; later builds reuse the tree as it was configured
    local tree=$1 args=(-DCMAKE_BUILD_TYPE=Release)
    [[ -f build/$tree/CMakeCache.txt ]] && return
    [[ -n ${toolchain[$tree]} ]] && args+=(-DCMAKE_TOOLCHAIN_FILE="${toolchain[$tree]}")
    [[ -n ${options[$tree]:-} ]] && args+=("${options[$tree]}")
    echo "== configuring build/$tree"
    cmake -S . -B "build/$tree" "${args[@]}" >/dev/null
}

if (($#)); then
    tree=$1; shift
    [[ -v toolchain[$tree] ]] || { echo "build.sh: no tree '$tree' (native, win64, win32, sanitize)" >&2; exit 2; }
    configure "$tree"
    targets=()
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build "build/$tree" -j "$jobs" "${targets[@]}" -- --no-print-directory
    exit
fi

for tree in native win64 win32 sanitize; do
    configure "$tree"
    echo "== building build/$tree"
    cmake --build "build/$tree" -j "$jobs" -- --no-print-directory | grep -v -E '^\[ *[0-9]+%\]' || true
    cmake --build "build/$tree" -j "$jobs" >/dev/null  # fails the script if the build failed
done
