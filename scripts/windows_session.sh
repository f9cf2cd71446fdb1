#!/usr/bin/env bash
# Runs a command inside one virtual X display and one Wine server with the project's
# own Wine prefix (build/wineprefix). Usage: scripts/windows_session.sh COMMAND...
# With QUENLO_USE_DISPLAY=1 and a DISPLAY set, the user's display is used instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

export WINEPREFIX=$root/build/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [[ ${QUENLO_USE_DISPLAY:-0} != 1 || -z ${DISPLAY:-} ]]; then
    # -displayfd picks a free display number and tells us which.
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=:$display
fi

mkdir -p "$WINEPREFIX"
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "== creating the Wine prefix (once)"
    wine64 wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
# One server for the whole session: every test process starts much faster.
wineserver -p
# Start Wine's background services now, with their output going nowhere: started by
# the first test instead, they would inherit its pipes and CTest would wait forever.
wine64 wineboot >/dev/null 2>&1 </dev/null || true

# Wine's stand-ins for the Windows UI fonts have no Chinese glyphs; link them to the
# CJK font as a Chinese Windows does with its own fonts, so captions render (once per
# prefix).
if [[ ! -f $WINEPREFIX/.quenlo-fontlink ]]; then
    link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif"; do
        wine64 reg add "$link" /v "$face" /t REG_MULTI_SZ \
            /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 </dev/null || true
    done
    touch "$WINEPREFIX/.quenlo-fontlink"
fi

"$@"
