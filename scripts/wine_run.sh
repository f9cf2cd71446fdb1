#!/usr/bin/env bash
# Runs a Windows executable under Wine for CTest. Wine may start helper processes
# (explorer.exe for the desktop, services) that outlive the program and inherit its
# output pipes, which would make CTest wait for ever; so the program writes to a file
# that is copied out once the program itself has ended.
set -u
log=$(mktemp)
/usr/lib/wine/wine64 "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status
