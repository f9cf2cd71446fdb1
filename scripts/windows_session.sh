#!/usr/bin/env bash
# Runs a command inside one virtual X display and one Wine server with the project's
# own Wine prefix (build/wineprefix). Usage: scripts/windows_session.sh COMMAND...
# With QUENLO_USE_DISPLAY=1 and a DISPLAY set, the user's display is used instead, with
# a prefix of its own (build/wineprefix-desktop) in which the desktop's window manager
# frames the windows.
# QUENLO_WINE_PREFIX=DIR uses that prefix instead; only there may QUENLO_DPI=N set the
# scale Wine draws at (its LogPixels value: 96 is 100 %, 144 is 150 %), so the shared
# prefix of the tests always stays at 100 %. QUENLO_SCREEN=WxH sizes the virtual display
# (1280x1024 unless given). QUENLO_DRIVE_D=DIR shows DIR to Windows programs as D:.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

on_desktop=0
[[ ${QUENLO_USE_DISPLAY:-0} == 1 && -n ${DISPLAY:-} ]] && on_desktop=1
if [[ -n ${QUENLO_WINE_PREFIX:-} ]]; then
    export WINEPREFIX=$QUENLO_WINE_PREFIX
elif [[ -n ${QUENLO_DPI:-} ]]; then
    echo "windows_session.sh: QUENLO_DPI needs a prefix of its own (QUENLO_WINE_PREFIX)" >&2
    exit 2
elif ((on_desktop)); then
    export WINEPREFIX=$root/build/wineprefix-desktop
else
    export WINEPREFIX=$root/build/wineprefix
fi
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if ((!on_desktop)); then
    # -displayfd picks a free display number and tells us which.
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${QUENLO_SCREEN:-1280x1024}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=:$display
fi

mkdir -p "$WINEPREFIX"
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "== creating the Wine prefix $WINEPREFIX (once, about a minute)"
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
# A prefix made before 32-bit Wine was installed has no 32-bit system (syswow64 stays
# empty): every 32-bit program there dies with "could not load kernel32.dll". Updating
# the prefix once 32-bit Wine is there fills it in. The update's 32-bit half is itself a
# 32-bit program: only in the bootstrap mode Wine sets when it makes or upgrades a
# prefix does it start without the files it is about to install.
if [[ -x /usr/lib/wine/wine && ! -f $WINEPREFIX/drive_c/windows/syswow64/kernel32.dll ]]; then
    echo "== updating the Wine prefix $WINEPREFIX for 32-bit programs (once, about a minute)"
    WINEBOOTSTRAPMODE=1 /usr/lib/wine/wine64 wineboot -u >/dev/null 2>&1 </dev/null || true
    wineserver -w
fi
# One server for the whole session: every test process starts much faster.
wineserver -p
# Start Wine's background services now, with their output going nowhere: started by
# the first test instead, they would inherit its pipes and CTest would wait forever.
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null || true

# A crash ends the program at once with a failure status: no debugger is started
# (Wine's shows a crash dialog that nobody closes on the virtual display). Set in every
# session, so a prefix made before this holds it too.
# 32-bit programs read the key's 32-bit view, a key of its own.
views=(/reg:64)
[[ -x /usr/lib/wine/wine ]] && views+=(/reg:32)
aedebug() {  # aedebug VALUE DATA
    local view
    for view in "${views[@]}"; do
        /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v "$1" /t REG_SZ /d "$2" /f "$view" >/dev/null 2>&1 </dev/null || return
    done
}
aedebug Debugger '' && aedebug Auto 1 ||
    { echo "windows_session.sh: Wine's crash debugger could not be turned off" >&2; exit 1; }

# Wine's stand-ins for the Windows UI fonts have no Chinese glyphs. Replace them with
# the CJK font, as a Chinese Windows does with its own fonts, so captions render. (The
# FontLink and FontSubstitutes keys would not do: Wine rewrites them whenever a process
# runs in another code page.)
if [[ ! -f $WINEPREFIX/.quenlo-fonts ]]; then
    key='HKCU\Software\Wine\Fonts\Replacements'
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif" "SimSun"; do
        /usr/lib/wine/wine64 reg add "$key" /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei' /f \
            >/dev/null 2>&1 </dev/null || true
    done
    # No window manager runs on the virtual display: let Wine draw the windows' own
    # frames and captions, as Windows would.
    if ((!on_desktop)); then
        /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            >/dev/null 2>&1 </dev/null || true
    fi
    # Wine does not find Debian's copy of the font that draws the caption buttons.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.quenlo-fonts"
fi

# Only once the prefix exists: a dosdevices folder made before it keeps Wine from
# creating drive C: (its set-up then loops for ever).
if [[ -n ${QUENLO_DRIVE_D:-} ]]; then
    ln -sfn "$QUENLO_DRIVE_D" "$WINEPREFIX/dosdevices/d:"
fi

# Wine reads its DPI when a process starts: set it before the programs of the session.
if [[ -n ${QUENLO_DPI:-} ]]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$QUENLO_DPI" /f >/dev/null 2>&1 </dev/null
fi

"$@"
