#!/usr/bin/env bash
# Runs a Windows executable under Wine for CTest. Wine may start helper processes
# (explorer.exe for the desktop, services) that outlive the program and inherit its
# output pipes, which would make CTest wait for ever; so the program writes to a file
# that is copied out once the program itself has ended.
# A GoogleTest program (CTest passes it --gtest_ options) has passed only if it also
# printed GoogleTest's closing summary: one that ends in the middle of a test, by a
# crash or an exit, has not run the tests after it, whatever its status says.
set -u
log=$(mktemp)
/usr/lib/wine/wine64 "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
if ((status == 0)) && [[ " $* " == *" --gtest_"* ]] &&
    ! grep -q -E '^\[  PASSED  \] [0-9]+ tests?\.' "$log"; then
    echo "wine_run.sh: $1 ended before GoogleTest's summary line: not every test ran" >&2
    status=1
fi
rm -f "$log"
exit $status
