#!/usr/bin/env bash
# Installs what is missing, builds the trees and runs every test: the native ones
# directly and once more under AddressSanitizer and UndefinedBehaviorSanitizer, each
# Windows tree's (x86_64 and i686) under Wine inside a virtual display, both through the
# same session script and runner.
set -uo pipefail
cd "$(dirname "$0")"

scripts/ensure_packages.sh || exit 1
scripts/build.sh || exit 1

mkdir -p build/logs
ctest --test-dir build/native --output-on-failure -j "$(nproc)" >build/logs/native.log 2>&1
native=$?
# The first report of a sanitizer fails its test; a report names where and how.
UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$(nproc)" >build/logs/sanitize.log 2>&1
sanitize=$?
windows_suite() {  # windows_suite TREE: its log in build/logs/TREE.log
    scripts/windows_session.sh ctest --test-dir "build/$1" --output-on-failure \
        >"build/logs/$1.log" 2>&1
}
windows_suite win64
win64=$?
windows_suite win32
win32=$?

# Failures in full, then the summaries, one a suite, as the last lines.
((native)) && grep -v -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' build/logs/native.log
((sanitize)) && grep -v -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' build/logs/sanitize.log
((win64)) && cat build/logs/win64.log
((win32)) && cat build/logs/win32.log
echo "== native tests (Linux)"
grep -E 'tests passed|tests failed|No tests were found' build/logs/native.log || tail -n 3 build/logs/native.log
echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer (Linux)"
grep -E 'tests passed|tests failed|No tests were found' build/logs/sanitize.log || tail -n 3 build/logs/sanitize.log
echo "== Windows tests (x86_64 under Wine)"
grep -E 'tests passed|tests failed|No tests were found' build/logs/win64.log || tail -n 3 build/logs/win64.log
echo "== Windows tests (i686 under Wine)"
grep -E 'tests passed|tests failed|No tests were found' build/logs/win32.log || tail -n 3 build/logs/win32.log
((native == 0 && sanitize == 0 && win64 == 0 && win32 == 0))
